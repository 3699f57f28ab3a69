#pragma once
// PresenceCore: the rules that keep a screen name signed on and in its rooms, free of sockets,
// timers, signals and widgets. What happens comes in as typed inputs (the user's Connect,
// Disconnect, Join and Leave, the client's events, a timer that fired, the keychain's answers);
// what to do goes out as effects (commands for the client, timers to start or stop, log lines,
// status texts, changes to the room list, settings to save), in the order they are to be done.
//
// The rules:
// - A lost connection, or a failed connect, is followed by another sign-on after a wait of 2, 4, 8
//   ... seconds (at most 5 minutes, each spread by up to a fifth). The count starts again only after
//   a sign-on that lasted 2 minutes. After the server's 980 or 982 it does not try again; after its
//   983 it waits at least 10 minutes. Only errors that answer a sign-on decide this.
// - Three sign-ons in a row that the server closed within a minute, with nothing said, mean that
//   the screen name signed on elsewhere: it stops trying, and the user's Connect starts afresh.
// - After each sign-on every room to be in is joined again; a room that does not confirm within
//   30 s is tried again at the next sign-on. Only the user's Leave makes a room one not to be in.
// - Silence from the server for 60 s is answered by a question about ourselves; with no answer 30 s
//   later the link is taken for dead and closed.
// - The room list shows what the server confirmed: a row per confirmation, "NAME:ID". Rows of a
//   room the server left (the user's Leave, an ejection, a sign-on that did not bring it back) go.
// - The record of the session says when it signed on, when it ended and why (the user's
//   Disconnect, a lost connection, a dead link, the name signed on elsewhere, the end of the run, a
//   refused sign-on), and when each room was entered and left and why (the user's Leave, an
//   ejection); leaving a session leaves its rooms with the session's reason.
#include "PresenceTypes.h"
#include "Texts.h"
#include "Transcript.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

namespace PresenceIn {
/// The front end is up: look up the remembered password, then (with connect) sign on with it.
struct Start {
    bool connect = false;
};
/// The user's Connect, with the name and password as typed.
struct Connect {
    QString name, password;
};
struct Disconnect {};
/// The end of the run: whatever is planned is cancelled.
struct Stop {};
struct Join {
    QString room;
    std::int16_t exchange = 4;
};
/// The user's Leave of a row of the room list.
struct Leave {
    int row = -1;
};
struct SetStaySignedOn {
    bool on = true;
};
struct SetRememberPassword {
    bool on = false;
};
// The client's events.
struct LoggedIn {};
struct LoggedOff {};
/// Anything at all from the server.
struct Traffic {};
struct ServerError {
    std::int16_t code = 0;
    QString argument;
};
struct SocketError {
    QString description;
};
struct JoinedChat {
    QByteArray roomName;
    std::int32_t roomId = 0;
};
struct LeftChat {
    std::int32_t roomId = 0;
};
struct TimerFired {
    PresenceTimerId timer;
};
// The keychain's answers.
struct VaultRead {
    QString account, password;
};
struct VaultUnavailable {};
/// The keychain is there but locked: it waits for the user to unlock it.
struct VaultWaiting {};
/// The user chose the server to sign on to from now on.
struct SetServer {
    ServerAddress server;
};
} // namespace PresenceIn

using PresenceInput =
    std::variant<PresenceIn::Start, PresenceIn::Connect, PresenceIn::Disconnect, PresenceIn::Stop, PresenceIn::Join,
                 PresenceIn::Leave, PresenceIn::SetStaySignedOn, PresenceIn::SetRememberPassword,
                 PresenceIn::LoggedIn, PresenceIn::LoggedOff, PresenceIn::Traffic, PresenceIn::ServerError,
                 PresenceIn::SocketError, PresenceIn::JoinedChat, PresenceIn::LeftChat, PresenceIn::TimerFired,
                 PresenceIn::VaultRead, PresenceIn::VaultUnavailable, PresenceIn::VaultWaiting,
                 PresenceIn::SetServer>;

namespace PresenceOut {
// For the client.
struct Login {
    QString name, password;
    bool operator==(const Login&) const = default;
};
struct LogOff {
    bool operator==(const LogOff&) const = default;
};
struct SetProfile {
    bool operator==(const SetProfile&) const = default;
};
struct JoinChat {
    QString room;
    std::int16_t exchange = 4;
    bool operator==(const JoinChat&) const = default;
};
struct LeaveChat {
    std::int32_t roomId = 0;
    bool operator==(const LeaveChat&) const = default;
};
/// Asks the server about the screen name signed on (normalised), which it answers at once.
struct AskStatus {
    QByteArray name;
    bool operator==(const AskStatus&) const = default;
};
// Timers: each fires once, unless stopped or started again first.
struct StartTimer {
    PresenceTimerId timer;
    std::chrono::milliseconds after{0};
    bool operator==(const StartTimer&) const = default;
};
struct StopTimer {
    PresenceTimerId timer;
    bool operator==(const StopTimer&) const = default;
};
// What the user is told.
struct Log {
    Text text;
    QStringList args;
    /// Added to the log without moving its selection.
    bool direct = false;
    /// The join the user typed: a window names the room as its boxes show it now.
    bool asTyped = false;
    bool operator==(const Log&) const = default;
};
struct Status {
    Text text;
    bool operator==(const Status&) const = default;
};
/// Worth a notification while the window is hidden.
struct Notify {
    Text text;
    bool operator==(const Notify&) const = default;
};
// The room list.
struct RowAdded {
    RoomRow row;
    bool operator==(const RowAdded&) const = default;
};
struct RowChanged {
    int index = 0;
    RoomRow row;
    bool operator==(const RowChanged&) const = default;
};
struct RowRemoved {
    int index = 0;
    bool operator==(const RowRemoved&) const = default;
};
/// What is kept between runs changed: save it.
struct SaveSettings {
    bool operator==(const SaveSettings&) const = default;
};
// The keychain.
struct ReadVault {
    QString account;
    bool operator==(const ReadVault&) const = default;
};
struct WriteVault {
    QString account, password;
    bool operator==(const WriteVault&) const = default;
};
struct EraseVault {
    QString account;
    bool operator==(const EraseVault&) const = default;
};
/// The keychain gave the remembered password.
struct PasswordRecalled {
    QString password;
    bool operator==(const PasswordRecalled&) const = default;
};
/// Nothing more will happen unless the user acts: the server refused the sign-on for good, the name
/// signed on elsewhere, staying signed on is off, or there is nothing to sign on with.
struct Ended {
    bool operator==(const Ended&) const = default;
};
// The record.
/// Signed on as screenName: what follows is this session's.
struct SessionStarted {
    QString screenName;
    bool operator==(const SessionStarted&) const = default;
};
/// The session signed on ended, and why; its rooms end with it. Refused: a sign-on the server
/// refused, which never began.
struct SessionEnded {
    Transcript::Reason why;
    bool operator==(const SessionEnded&) const = default;
};
/// In the room of a row the server confirmed (a second confirmation of a room changes nothing).
struct RoomEntered {
    RoomRow row;
    bool operator==(const RoomEntered&) const = default;
};
/// Out of the room of that id while signed on: the user's Leave or the server's ejection.
struct RoomLeft {
    std::int32_t roomId = 0;
    Transcript::Reason why;
    bool operator==(const RoomLeft&) const = default;
};
} // namespace PresenceOut

using PresenceEffect =
    std::variant<PresenceOut::Login, PresenceOut::LogOff, PresenceOut::SetProfile, PresenceOut::JoinChat,
                 PresenceOut::LeaveChat, PresenceOut::AskStatus, PresenceOut::StartTimer, PresenceOut::StopTimer,
                 PresenceOut::Log, PresenceOut::Status, PresenceOut::Notify, PresenceOut::RowAdded,
                 PresenceOut::RowChanged, PresenceOut::RowRemoved, PresenceOut::SaveSettings, PresenceOut::ReadVault,
                 PresenceOut::WriteVault, PresenceOut::EraseVault, PresenceOut::PasswordRecalled,
                 PresenceOut::Ended, PresenceOut::SessionStarted, PresenceOut::SessionEnded,
                 PresenceOut::RoomEntered, PresenceOut::RoomLeft>;
using PresenceEffects = std::vector<PresenceEffect>;

class PresenceCore
{
public:
    using Seconds = std::chrono::seconds;
    /// The first wait before signing on again; each further one doubles, up to the longest.
    static constexpr Seconds kFirstRetry{2};
    static constexpr Seconds kLongestRetry{300};
    /// The least wait after the server said we connect too often (its error 983).
    static constexpr Seconds kTooOftenRetry{600};
    /// Each wait lies within this share above or below its nominal length.
    static constexpr double kSpread = 0.2;
    /// A sign-on that lasts this long starts the count of waits again.
    static constexpr Seconds kSettledAfter{120};
    /// Sessions the server closes, with nothing said, within this time of their sign-on ...
    static constexpr Seconds kShortSession{60};
    /// ... this many times in a row mean the screen name signed on elsewhere.
    static constexpr int kShortSessionsElsewhere = 3;
    /// Silence from the server after which we ask it something, and how long it then has to answer.
    static constexpr Seconds kQuietLimit{60};
    static constexpr Seconds kAnswerLimit{30};
    /// How long a room has to confirm a rejoin.
    static constexpr Seconds kRejoinLimit{30};

    enum class State {
        SignedOff,  // nothing going on, nothing planned
        Connecting, // signing on
        SignedOn,
        Lost,       // the connection just ended; what follows is decided next
        Waiting,    // to sign on again when the wait is over
    };

    /// random gives numbers from 0 up to (not including) 1, to spread the waits.
    explicit PresenceCore(std::function<double()> random);

    /// What the last run remembered (before start). Replaces the rooms to be in.
    void restore(const RememberedSettings& remembered);
    RememberedSettings remembered() const;
    /// Adds a room to be in for this run only (not remembered unless the user joins it too).
    void addRoom(const Room& room);
    /// The password for this run, as from a file.
    void setPassword(const QString& password) { m_password = password; }
    /// How long a locked keychain is waited for before the run ends (none: for as long as it takes).
    void setUnlockLimit(std::optional<Seconds> limit) { m_unlockLimit = limit; }

    /// Handles one input; returns what to do, in order.
    [[nodiscard]] PresenceEffects handle(const PresenceInput& input);

    State state() const { return m_state; }
    const QString& screenName() const { return m_screenName; }
    std::int16_t exchange() const { return m_exchange; }
    bool staySignedOn() const { return m_staySignedOn; }
    bool rememberPassword() const { return m_rememberPassword; }
    /// The rooms to be in, each once.
    QList<Room> rooms() const;
    /// The room list as the user sees it.
    const QList<RoomRow>& rows() const { return m_rows; }

private:
    struct Wanted {
        Room room;
        bool remember = true;
        bool joinedBefore = false; // in this run: later joins are rejoins
    };
    struct Pending {
        Room room;
        bool rejoin = false;
        bool late = false; // a rejoin reported as failed, still answered if the server gets to it
    };

    void on(const PresenceIn::Start&);
    void on(const PresenceIn::Connect&);
    void on(const PresenceIn::Disconnect&);
    void on(const PresenceIn::Stop&);
    void on(const PresenceIn::Join&);
    void on(const PresenceIn::Leave&);
    void on(const PresenceIn::SetStaySignedOn&);
    void on(const PresenceIn::SetRememberPassword&);
    void on(const PresenceIn::LoggedIn&);
    void on(const PresenceIn::LoggedOff&);
    void on(const PresenceIn::Traffic&);
    void on(const PresenceIn::ServerError&);
    void on(const PresenceIn::SocketError&);
    void on(const PresenceIn::JoinedChat&);
    void on(const PresenceIn::LeftChat&);
    void on(const PresenceIn::TimerFired&);
    void on(const PresenceIn::VaultRead&);
    void on(const PresenceIn::VaultUnavailable&);
    void on(const PresenceIn::VaultWaiting&);
    void on(const PresenceIn::SetServer&);

    void out(PresenceEffect effect) { m_effects.push_back(std::move(effect)); }
    void log(Text text, QStringList args = {}) { out(PresenceOut::Log{text, std::move(args)}); }
    void status(Text text) { out(PresenceOut::Status{text}); }
    void startTimer(PresenceTimerId timer, std::chrono::milliseconds after)
    {
        out(PresenceOut::StartTimer{timer, after});
    }
    void stopTimer(PresenceTimerId timer) { out(PresenceOut::StopTimer{timer}); }

    bool login(const QString& name, const QString& password, bool byUser);
    void signOnRemembered();
    void cancelPlans();
    void endSession();
    void connectionEnded(bool closedQuietly);
    void decide();
    std::chrono::milliseconds nextWait();
    void rejoinAll();
    void rejoinLimit();
    void addRow(const RoomRow& row);
    void removeRows(const std::function<bool(const RoomRow&)>& which);
    Wanted* wanted(const QString& key);
    void forgetRoom(const QString& key);
    void keepPassword();
    void noKeychain();
    void endRecord(Transcript::Reason why);

    std::function<double()> m_random;
    PresenceEffects m_effects; // of the input being handled

    State m_state = State::SignedOff;
    bool m_stopped = false;
    std::optional<ServerAddress> m_server;
    QString m_screenName;
    QString m_password;
    QByteArray m_ownName; // normalised, for asking the server about ourselves
    std::int16_t m_exchange = kDefaultExchange;
    QList<Wanted> m_wanted;
    bool m_staySignedOn = true;
    bool m_rememberPassword = false;

    int m_attempt = 0;          // waits since the count last started
    std::int16_t m_refusal = 0; // the sign-on error the server gave for this attempt, if any
    int m_shortSessions = 0;    // sessions in a row the server closed soon after their sign-on
    bool m_young = false;       // signed on less than kShortSession ago
    bool m_closingDeadLink = false; // the link was closed here for want of an answer
    bool m_brokenOnline = false;    // a signed-on session broke; its LoggedOff is still to come
    bool m_lostOnline = false;  // a signed-on session was lost and has not come back yet
    bool m_recording = false;   // the record has a session open
    QList<Pending> m_pending;   // joins sent and not yet confirmed, oldest first
    QSet<std::int32_t> m_leaving;             // ids the user left, whose CHAT_LEFT says nothing new
    QList<RoomRow> m_rows;

    bool m_connectWhenRead = false; // Start{true} waits for the keychain
    bool m_readingVault = false;
    bool m_saidNoKeychain = false;
    std::optional<Seconds> m_unlockLimit;
    QString m_vaultAccount, m_vaultPassword; // what the keychain is known to hold
};
