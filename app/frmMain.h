#pragma once
// frmMain: the program's one window. It forwards the user's input to its TOC client Sock and shows
// what happens in its log, its room list and its status bar; the session itself lives in Sock.
//
// Texts cross to the client as UTF-8. Controls carry their design names as object names (txtSN,
// lstChats, Log, Status, ...), so tests and tools find them with findChild().
#include "QuonTOCSock.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>

class Button;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStatusBar;

class frmMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 5190;
    static constexpr char kTitle[] = "Tarnwick";
    /// The profile text set once signed on.
    static constexpr char kProfile[] = "<BODY BGCOLOR=#A1BF9B><FONT FACE=TAHOMA>Tarnwick<SUP>1.0</SUP>";

    /// Builds the window from its design and registers the tray icon. With sock given (tests), the
    /// window talks through it instead of a TCP client of its own.
    explicit frmMain(std::unique_ptr<QuonTOCSock> sock = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    /// The TOC server Connect signs on to (by default the build's host and port 5190).
    void setServer(const QString& host, quint16 port);
    QString serverHost() const { return m_host; }
    quint16 serverPort() const { return m_port; }

    /// Appends a line to the log and moves the log's selection one line down.
    void addLog(const QString& text);
    /// Whether an entry of list carries roomId after its ":" (entries without one never match).
    bool removeRoom(const QListWidget& list, const QString& roomId) const;

    QuonTOCSock& sock() { return *Sock; }
    /// The pieces of the room entry the last Leave click split (name, id).
    const QStringList& selectedEntryPieces() const { return m_selectedPieces; }

    /// Handles a click on the tray icon: a left click hides a shown window or brings a hidden one back.
    void trayActivated(QSystemTrayIcon::ActivationReason reason);

signals:
    /// A line was added to the log (by addLog or directly).
    void logLineAdded(const QString& line);
    /// The status panel's text was set.
    void statusChanged(const QString& text);
    /// An entry was added to or removed from the room list; entries holds the whole list.
    void roomsChanged(const QStringList& entries);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    Button* makeButton(const QString& name, QWidget* container);
    void setStatusText(const QString& text);
    void appendLogLine(const QString& text);
    void reportRooms();

    // Click handlers.
    void onConnectClick();
    void onDisconnectClick();
    void onJoinClick();
    void onLeaveClick();
    // Events of Sock.
    void onLoggedIn();
    void onLoggedOff();
    void onJoinedChat(const QByteArray& strRoomName, std::int32_t lngRoomID);
    void onLeftChat();
    void onError(std::int16_t intErrorCode);
    void onSocketError(std::int16_t intErrorCode, const QString& strDescription);

    std::unique_ptr<QuonTOCSock> Sock;
    QString m_host;
    quint16 m_port = kDefaultPort;
    QIcon m_icon;
    QStringList m_selectedPieces;
    bool m_disconnecting = false; // inside the Disconnect click, whose LogOff is not a lost connection

    QLabel* Logo = nullptr;
    QGroupBox* frameLogin = nullptr;
    QLabel* lblSN = nullptr;
    QLineEdit* txtSN = nullptr;
    QLabel* lblPw = nullptr;
    QLineEdit* txtPW = nullptr;
    Button* Connect = nullptr;
    Button* Disconnect = nullptr;
    QGroupBox* frameRooms = nullptr;
    QLabel* lblChatRoom = nullptr;
    QLineEdit* txtRoom = nullptr;
    QLineEdit* txtExchange = nullptr;
    Button* Join = nullptr;
    QListWidget* lstChats = nullptr;
    Button* Leave = nullptr;
    QListWidget* Log = nullptr;
    QStatusBar* Status = nullptr;
    QLabel* statusPicture = nullptr;
    QLabel* statusText = nullptr;
    QLabel* imgICO = nullptr;
};
