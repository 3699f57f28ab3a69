#pragma once
// Presence: keeps a screen name signed on and in its rooms for as long as the user wants it there.
// It puts the presence core (the rules, in PresenceCore) to work on one TOC client: the client's
// events and the timers go in, and what the core decides is done: commands sent, timers started,
// the room list changed, and log lines, status texts and notifications told through signals. No
// widgets: the window and the window-less mode both run on it.
//
// With a record (keepRecord), it keeps the session in it: sign-ons and their ends, stays in rooms,
// what is said in the rooms and who comes and goes, instant messages. The reasons are the core's;
// what was said is handed on as it comes. The store only queues: nothing here waits for the disk.
//
// Everything runs on one thread. Inputs are handled one at a time, in the order they come; one that
// arrives while the effects of another are being done (the client reports what a command caused)
// waits for them. A handler of any signal may call back in or destroy the object.
#include "PasswordVault.h"
#include "PresenceClock.h"
#include "PresenceCore.h"
#include "RoomModel.h"
#include "TarnwickBuildConfig.h"
#include "Transcript.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

class QuonTOCSock;
class TranscriptStore;

class Presence : public QObject
{
    Q_OBJECT
public:
    using State = PresenceCore::State;
    using Room = ::Room;
    using Remembered = RememberedSettings;

    static constexpr quint16 kDefaultPort = TarnwickBuild::kTocPort;
    /// The TOC server host chosen when the program was built.
    static QString defaultHost();
    static constexpr std::int16_t kDefaultExchange = ::kDefaultExchange;
    /// The profile text set once signed on.
    static constexpr char kProfile[] = "<BODY BGCOLOR=#A1BF9B><FONT FACE=TAHOMA>Tarnwick<SUP>1.0</SUP>";

    /// Drives sock (which must outlive this object). A null vault means no keychain.
    Presence(QuonTOCSock& sock, std::unique_ptr<PresenceClock> clock, std::unique_ptr<PasswordVault> vault,
             QObject* parent = nullptr);
    ~Presence() override;

    /// The TOC server to sign on to in this run (by default the build's host and port 5190).
    void setServer(const QString& host, quint16 port);
    /// The server the user chose: signed on to from now on, in this run and the next.
    void chooseServer(const ServerAddress& server)
    {
        setServer(server.host, server.port);
        feed(PresenceIn::SetServer{server});
    }
    QString serverHost() const { return m_host; }
    quint16 serverPort() const { return m_port; }

    void restore(const Remembered& remembered) { m_core.restore(remembered); }
    Remembered remembered() const { return m_core.remembered(); }
    const QString& screenName() const { return m_core.screenName(); }
    std::int16_t exchange() const { return m_core.exchange(); }
    /// Adds a room to be in for this run only (not remembered unless the user joins it too).
    void addRoom(const Room& room) { m_core.addRoom(room); }
    /// The rooms to be in, each once.
    QList<Room> rooms() const { return m_core.rooms(); }
    bool staySignedOn() const { return m_core.staySignedOn(); }
    void setStaySignedOn(bool on) { feed(PresenceIn::SetStaySignedOn{on}); }
    bool rememberPassword() const { return m_core.rememberPassword(); }
    void setRememberPassword(bool on) { feed(PresenceIn::SetRememberPassword{on}); }
    /// The password for this run, as from a file; remembered only as the keychain allows.
    void setPassword(const QString& password) { m_core.setPassword(password); }
    /// How long a locked keychain is waited for before the session ends (none: for as long as it takes).
    void setUnlockLimit(std::optional<std::chrono::seconds> limit) { m_core.setUnlockLimit(limit); }
    /// How the "Joined chatroom" line names a room the user joined (by default as the join named it).
    void setJoinLabel(std::function<QString()> label) { m_joinLabel = std::move(label); }

    /// Once the front end is up: looks up the remembered password (when it is remembered), then,
    /// with connect, signs on with the remembered name and password or logs what is missing.
    void start(bool connect) { feed(PresenceIn::Start{connect}); }
    /// Signs on with name and password (the Connect button); a log line says when they cannot be sent.
    void signOn(const QString& name, const QString& password) { feed(PresenceIn::Connect{name, password}); }
    /// Signs off and plans nothing more (the Disconnect button).
    void signOff() { feed(PresenceIn::Disconnect{}); }
    /// The end of the run: whatever was planned is cancelled; the connection ends with the client.
    void stop() { feed(PresenceIn::Stop{}); }
    /// Joins a room (the Join button): "Not signed on." when not signed on.
    void join(const QString& room, std::int16_t exchange) { feed(PresenceIn::Join{room, exchange}); }
    /// Leaves the room of a row of the room list (the Leave button).
    void leave(int row) { feed(PresenceIn::Leave{row}); }

    State state() const { return m_core.state(); }
    bool signedOn() const { return state() == State::SignedOn; }
    /// The room list, one row per room the server confirmed.
    RoomModel& roomList() { return m_rooms; }

    /// Keeps the record of the session in store; its failure comes as a log line. The store is
    /// opened when there is first something to keep (or to show): never in the way of the window's
    /// first paint or of a sign-on.
    void keepRecord(std::unique_ptr<TranscriptStore> store);
    /// The record kept, or null.
    TranscriptStore* record() const { return m_store.get(); }
    /// Opens the record now if it is not open; false without one that can be kept.
    bool openRecord();
    /// The room of a row of the room list, as the record names it.
    Transcript::RoomRef roomOf(const RoomRow& row) const;
    /// Who is in room, as the server last said (nobody when not in it).
    QStringList members(const Transcript::RoomRef& room) const;
    /// Says text in room; false when not signed on, not in the room, or the text cannot be sent.
    bool say(const Transcript::RoomRef& room, const QByteArray& text);

signals:
    /// A line for the log, moving its selection to the new line.
    void logLine(const QString& line);
    /// A line for the log that leaves its selection where it is.
    void directLogLine(const QString& line);
    /// The connection state as the status bar shows it.
    void statusChanged(const QString& text);
    /// Worth telling the user through the tray while the window is hidden.
    void notify(const QString& text);
    /// The room list changed (once for the rows one input changed).
    void roomsChanged();
    /// The keychain gave the remembered password.
    void passwordRecalled(const QString& password);
    /// Something that is remembered between runs changed.
    void rememberedChanged();
    /// The session is over and nothing more is planned: the server refused the sign-on for good,
    /// the name signed on elsewhere, staying signed on is off, or there was nothing to sign on with.
    void ended();
    /// Who is in a room changed, or a room was entered or left (members() has them).
    void membersChanged();
    /// An instant message came (the record has it, when one is kept).
    void instantMessageReceived(const QByteArray& sender);

private:
    void feed(PresenceInput input);
    /// Does one effect; false when a handler destroyed this object meanwhile.
    [[nodiscard]] bool apply(const PresenceEffect& effect);
    void onIncomingPacket(std::int16_t type, const QByteArray& payload);
    void onChatMessage(std::int32_t roomId, const QByteArray& sender, bool whisper, const QByteArray& text);
    void onChatUsers(std::int32_t roomId, bool inside, const QByteArray& user, const QByteArray& user2);
    void onInstantMessage(const QByteArray& sender, const QByteArray& text);
    void leaveRooms();

    // A room the server has us in, by its id.
    struct InRoom {
        Transcript::RoomRef ref;
        bool listed = false; // the members present at the join have been told
        QByteArrayList members;
    };

    QuonTOCSock& m_sock;
    std::unique_ptr<PresenceClock> m_clock;
    std::unique_ptr<PasswordVault> m_vault;
    PresenceCore m_core;
    std::array<std::unique_ptr<PresenceTimer>, kPresenceTimerCount> m_timers;
    RoomModel m_rooms;
    QString m_host;
    quint16 m_port = kDefaultPort;
    std::function<QString()> m_joinLabel;
    QString m_errorArgument; // of the ERROR line being raised
    QByteArrayList m_chatUsers; // all the users of the CHAT_UPDATE_BUDDY line being raised
    bool m_autoResponse = false; // of the IM_IN_ENC2 line being raised
    std::unique_ptr<TranscriptStore> m_store;
    QByteArray m_account; // signed on as, normalised
    QHash<std::int32_t, InRoom> m_inRooms;
    bool m_membersChanged = false;

    std::deque<PresenceInput> m_inputs; // waiting for the effects of the one before
    bool m_feeding = false;
    bool m_roomsChanged = false;
};
