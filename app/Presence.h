#pragma once
// Presence: keeps a screen name signed on and in its rooms for as long as the user wants it there.
// It drives one TOC client: signs on and off as asked, signs on again after a lost connection or a
// failed connect (waits of 2, 4, 8 ... seconds up to 5 minutes, each spread a little), rejoins the
// rooms after each sign-on, and notices a link that has died without a close. What happens is told
// as log lines and status texts; the room list itself belongs to whoever shows it, kept in step
// through joinedChat, rejoined and rejoinFailed. No widgets: the window and the window-less mode
// both run on it.
//
// Everything runs on one thread. A handler of any signal may call back in (sign off, sign on,
// destroy the object); the code after every emit copes.
#include "PasswordVault.h"
#include "PresenceClock.h"
#include "TarnwickBuildConfig.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

class QuonTOCSock;

class Presence : public QObject
{
    Q_OBJECT
public:
    using Seconds = std::chrono::seconds;
    /// The first wait before signing on again; each further one doubles, up to the longest.
    static constexpr Seconds kFirstRetry{2};
    static constexpr Seconds kLongestRetry{300};
    /// The least wait after the server said we connect too often (its error 983).
    static constexpr Seconds kTooOftenRetry{600};
    /// Each wait lies within this share above or below its nominal length.
    static constexpr double kSpread = 0.2;
    /// Silence from the server after which we ask it something, and how long it then has to answer.
    static constexpr Seconds kQuietLimit{60};
    static constexpr Seconds kAnswerLimit{30};
    /// How long a room has to confirm a rejoin.
    static constexpr Seconds kRejoinLimit{30};

    static constexpr quint16 kDefaultPort = TarnwickBuild::kTocPort;
    /// The TOC server host chosen when the program was built.
    static QString defaultHost();
    static constexpr std::int16_t kDefaultExchange = 5;
    /// The profile text set once signed on.
    static constexpr char kProfile[] = "<BODY BGCOLOR=#A1BF9B><FONT FACE=TAHOMA>Tarnwick<SUP>1.0</SUP>";

    struct Room {
        QString name;
        std::int16_t exchange = 4;
        /// Rooms that are the same to the server (name without blanks, any case; same exchange) share it.
        QString key() const;
        /// "name:exchange", as the log names a room.
        QString label() const { return name + QLatin1Char(':') + QString::number(exchange); }
    };
    /// What is kept between runs. The password is not: it lives in the keychain, if anywhere.
    struct Remembered {
        QString screenName;
        std::int16_t exchange = kDefaultExchange; // the exchange of the last join
        QList<Room> rooms;                        // the rooms to be in
        bool staySignedOn = true;
        bool rememberPassword = false;
    };
    enum class State {
        SignedOff,  // nothing going on, nothing planned
        Connecting, // signing on
        SignedOn,
        Lost,       // the connection just ended; what follows is decided next
        Waiting,    // to sign on again when the wait is over
    };

    /// Drives sock (which must outlive this object). A null vault means no keychain.
    Presence(QuonTOCSock& sock, std::unique_ptr<PresenceClock> clock, std::unique_ptr<PasswordVault> vault,
             QObject* parent = nullptr);
    ~Presence() override;

    /// The TOC server to sign on to (by default the build's host and port 5190).
    void setServer(const QString& host, quint16 port);
    QString serverHost() const { return m_host; }
    quint16 serverPort() const { return m_port; }

    void restore(const Remembered& remembered);
    Remembered remembered() const;
    const QString& screenName() const { return m_screenName; }
    std::int16_t exchange() const { return m_exchange; }
    /// Adds a room to be in for this run only (not remembered unless the user joins it too).
    void addRoom(const Room& room);
    /// The rooms to be in, each once.
    QList<Room> rooms() const;
    bool staySignedOn() const { return m_staySignedOn; }
    void setStaySignedOn(bool on);
    bool rememberPassword() const { return m_rememberPassword; }
    void setRememberPassword(bool on);
    /// The password for this run, as from a file; remembered only as the keychain allows.
    void setPassword(const QString& password) { m_password = password; }
    /// How the "Joined chatroom" line names a room the user joined (by default as the join named it).
    void setJoinLabel(std::function<QString()> label) { m_joinLabel = std::move(label); }

    /// Once the front end is up: looks up the remembered password (when it is remembered), then,
    /// with connect, signs on with the remembered name and password or logs what is missing.
    void start(bool connect);

    /// Signs on with name and password (the Connect button). False, with a log line, when they
    /// cannot be sent as typed.
    bool signOn(const QString& name, const QString& password);
    /// Signs off and plans nothing more (the Disconnect button).
    void signOff();
    /// The end of the run: whatever was planned is cancelled; the connection ends with the client.
    void stop();
    /// Joins a room (the Join button): "Not signed on." when not signed on.
    void join(const QString& room, std::int16_t exchange);
    /// Leaves the room with id (the Leave button); key names the room the entry stood for, if known.
    void leave(std::int32_t id, const QString& key);

    State state() const { return m_state; }
    bool signedOn() const { return m_state == State::SignedOn; }

signals:
    /// A line for the log, moving its selection to the new line.
    void logLine(const QString& line);
    /// A line for the log that leaves its selection where it is.
    void directLogLine(const QString& line);
    /// The connection state as the status bar shows it: "Connected", "Disconnected", "Reconnecting".
    void statusChanged(const QString& text);
    /// The server confirmed a room the user asked for (key set) or one nobody asked for (key empty).
    void joinedChat(const QByteArray& roomName, std::int32_t roomId, const QString& key);
    /// A room was rejoined after a sign-on: every entry for key now carries this name and id.
    void rejoined(const QString& key, const QByteArray& roomName, std::int32_t roomId);
    /// A room did not confirm its rejoin in time: it is no longer one to be in.
    void rejoinFailed(const QString& key);
    /// The connection of a signed-on session ended unasked; connectionBack follows a later sign-on.
    void connectionLost();
    void connectionBack();
    /// The keychain gave the remembered password.
    void passwordRecalled(const QString& password);
    /// Something that is remembered between runs changed.
    void rememberedChanged();
    /// The session is over and nothing more is planned: the server refused the sign-on for good,
    /// staying signed on is off, or there was nothing to sign on with. Not raised by signOff or stop.
    void ended();

private:
    struct Pending {
        Room room;
        bool rejoin = false;
    };
    struct KeptRoom {
        Room room;
        bool remember = true;
    };

    [[nodiscard]] bool log(const QString& line);
    [[nodiscard]] bool status(const QString& text);
    bool login(const QString& name, const QString& password, bool byUser);
    void signOnRemembered();
    void cancelPlans();
    void endSession();
    void connectionEnded();
    void decide();
    std::chrono::milliseconds nextWait();
    void rejoinAll();
    [[nodiscard]] bool forgetRoom(const QString& key);
    void giveUp(const QList<Room>& rooms);
    [[nodiscard]] bool keepPassword();
    void noKeychain();

    void onLoggedIn();
    void onLoggedOff();
    void onIncomingPacket(std::int16_t type, const QByteArray& payload);
    void onError(std::int16_t code);
    void onSocketError(std::int16_t code, const QString& description);
    void onJoinedChat(const QByteArray& roomName, std::int32_t roomId);
    void onLeftChat(std::int32_t roomId);
    void onQuiet();
    void onNoAnswer();
    void onRejoinLimit();
    void onVaultRead(const QString& account, const QString& password);

    QuonTOCSock& m_sock;
    std::unique_ptr<PresenceClock> m_clock;
    std::unique_ptr<PasswordVault> m_vault;
    std::unique_ptr<PresenceTimer> m_retry;    // the wait before signing on again
    std::unique_ptr<PresenceTimer> m_decision; // runs once the events of a lost connection are through
    std::unique_ptr<PresenceTimer> m_quiet;    // silence from the server
    std::unique_ptr<PresenceTimer> m_answer;   // the server's time to answer our question
    std::unique_ptr<PresenceTimer> m_rejoinLimit;

    QString m_host;
    quint16 m_port = kDefaultPort;
    State m_state = State::SignedOff;
    bool m_stopped = false;
    QString m_screenName;
    QString m_password;
    QByteArray m_ownName; // normalised, for asking the server about ourselves
    std::int16_t m_exchange = kDefaultExchange;
    QList<KeptRoom> m_rooms;
    bool m_staySignedOn = true;
    bool m_rememberPassword = false;
    std::function<QString()> m_joinLabel;

    int m_attempt = 0;        // waits since the last sign-on
    int m_refusal = 0;        // the sign-on error the server gave for this attempt, if any
    bool m_lostOnline = false; // a signed-on session was lost and has not come back yet
    QString m_errorArgument;  // of the ERROR line being raised
    QList<Pending> m_pending; // joins sent and not yet confirmed, oldest first
    QHash<std::int32_t, QString> m_roomKeys; // ids of this connection's rooms, and the rooms they are

    bool m_connectWhenRead = false; // start(true) waits for the keychain
    bool m_readingVault = false;
    bool m_saidNoKeychain = false;
    QString m_vaultAccount, m_vaultPassword; // what the keychain is known to hold
};
