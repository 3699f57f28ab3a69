#pragma once
// frmMain: the program's one window. It forwards the user's input to its session keeper (Presence,
// which drives the TOC client Sock) and shows what happens in its log, its room list and its status
// bar. Its menu (on the tray icon, the logo and the status bar) holds what the layout has no room for.
//
// Texts cross to the client as UTF-8. Controls carry their design names as object names (txtSN,
// lstChats, Log, Status, ...), so tests and tools find them with findChild().
#include "PasswordVault.h"
#include "Presence.h"
#include "PresenceClock.h"
#include "QuonTOCSock.h"
#include "RecordWindows.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>

class Button;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class ListBox;
class LogModel;
class QAbstractItemModel;
class QMenu;
class QStatusBar;

class frmMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = Presence::kDefaultPort;
    /// How often a window hidden to the tray checks that the tray is still there.
    static constexpr int kTrayCheckMs = 500;

    /// Builds the window from its design and registers the tray icon. With sock given (tests), the
    /// window talks through it instead of a TCP client of its own; clock times the session keeper
    /// (Qt's timers by default); vault keeps a remembered password (none: no keychain).
    explicit frmMain(std::unique_ptr<QuonTOCSock> sock = nullptr, std::unique_ptr<PresenceClock> clock = nullptr,
                     std::unique_ptr<PasswordVault> vault = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    /// The TOC server Connect signs on to (by default the build's host and port 5190).
    void setServer(const QString& host, quint16 port) { m_presence->setServer(host, port); }
    QString serverHost() const { return m_presence->serverHost(); }
    quint16 serverPort() const { return m_presence->serverPort(); }
    /// Takes what the last run remembered, filling the screen name and exchange boxes.
    void restore(const Presence::Remembered& remembered);

    /// Appends a line to the log and moves the log's selection one line down.
    void addLog(const QString& text);
    /// Whether an entry of list carries roomId after its ":" (entries without one never match).
    bool removeRoom(const QAbstractItemModel& list, const QString& roomId) const;

    QuonTOCSock& sock() { return *Sock; }
    Presence& presence() { return *m_presence; }
    /// The menu of the tray icon, the logo and the status bar.
    QMenu* menu() const { return m_menu; }
    /// The record's windows (a room's, Messages, Presence).
    RecordWindows& record() { return *m_record; }
    /// The pieces of the room entry the last Leave click took (name, id).
    const QStringList& selectedEntryPieces() const { return m_selectedPieces; }

    /// Handles a click on the tray icon: a left click hides a shown window or brings a hidden one back.
    void trayActivated(QSystemTrayIcon::ActivationReason reason);
    /// Hides a shown window to the tray (minimises it where there is none), or brings it back.
    void toggleShown();
    /// Starts hidden to the tray when there is one, else minimised.
    void showInTray();
    /// Shows the window, from the tray or minimised, in front.
    void bringBack();
    /// Closes the window and ends the program (the menu's Quit).
    void quit();

signals:
    /// A line was added to the log (by addLog or directly).
    void logLineAdded(const QString& line);
    /// The status panel's text was set.
    void statusChanged(const QString& text);
    /// The room list changed (presence().roomList() holds it).
    void roomsChanged();
    /// Quit was chosen from the menu; the window has closed.
    void quitRequested();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void refreshMenu();
    void chooseServer();
    void setStartAtLogin(bool on);
    void hideToTray();
    void checkTray();
    void notify(const QString& text);
    Button* makeButton(const QString& name, QWidget* container);
    void setStatusText(const QString& text);
    void appendLogLine(const QString& text);

    // Click handlers.
    void onConnectClick();
    void onDisconnectClick();
    void onJoinClick();
    void onLeaveClick();

    std::unique_ptr<QuonTOCSock> Sock;
    std::unique_ptr<Presence> m_presence;
    std::unique_ptr<RecordWindows> m_record; // gone before the session keeper
    LogModel* m_log = nullptr;
    QIcon m_icon;
    QStringList m_selectedPieces;
    QTimer* m_trayCheck = nullptr; // while hidden: is the tray still there to bring the window back?
    QMenu* m_menu = nullptr;
    QAction* m_showHide = nullptr;
    QAction* m_staySignedOn = nullptr;
    QAction* m_rememberPassword = nullptr;
    QAction* m_server = nullptr;
    QAction* m_startAtLogin = nullptr; // where the system starts programs at login

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
    ListBox* lstChats = nullptr;
    Button* Leave = nullptr;
    ListBox* Log = nullptr;
    QStatusBar* Status = nullptr;
    QLabel* statusPicture = nullptr;
    QLabel* statusText = nullptr;
    QLabel* imgICO = nullptr;
};
