#pragma once
// The TOC2 server's protocol logic, free of sockets and clocks: connections are numbers, received
// bytes come in through receive(), the time through tick(), and everything going out leaves through
// the Output callbacks. One TocServer holds the accounts, the signed-on users, the chat rooms and
// the limits that keep one client, or one address, from taking the server over.
#include "Accounts.h"
#include "TocFramer.h"
#include "TocParser.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <map>

class TocServer
{
public:
    /// How a connection ends: after what was written so far, or at once, the unsent output thrown
    /// away (its reader is not reading it).
    enum class CloseMode { Flush, Abort };

    struct Output {
        /// Queues bytes on a connection; returns how many of its bytes are now waiting to be sent.
        std::function<qint64(int id, const QByteArray& bytes)> write;
        /// Ends the connection; the server has forgotten it already.
        std::function<void(int id, CloseMode how)> close;
        std::function<void(const QString& line)> log;
    };

    struct Limits {
        /// Output a connection may leave waiting; beyond it the connection is closed ("not reading").
        qint64 maxUnsentBytes = 1024 * 1024;
        /// Output the commands of one receive() may write, to anyone, before it stops for others.
        /// 0: no limit.
        qint64 outputPerTurn = 64 * 1024;
        /// Time from opening to a successful sign-on; a connection slower than that is closed.
        qint64 signOnTimeoutMs = 10'000;
        /// Sign-on attempts (wrong passwords too) one address may make in a burst; one more is
        /// allowed every loginRefillMs. The next is answered ERROR:983 and closed. 0: no limit.
        int loginBurst = 10;
        qint64 loginRefillMs = 60'000;
        /// Connections open at once from one address; a further one is closed at once. 0: no limit.
        int maxConnectionsPerAddress = 100;
    };

    TocServer(Accounts accounts, Output output, Limits limits);

    /// A new connection from address and port; returns its id, or 0 when it is refused (too many
    /// open from that address; logged), which the caller then closes.
    int open(const QString& address, quint16 port);
    /// Bytes received on a connection, or none to go on with those held back. Handles its
    /// commands until they have written Limits::outputPerTurn; returns false when it stopped there
    /// with input left, which the caller hands back (with no bytes) once the others have had their
    /// turn, before it reads more from that connection. Unknown ids are ignored.
    bool receive(int id, const QByteArray& bytes = {});
    /// The peer went away. Unknown ids are ignored.
    void closed(int id);
    /// The time is now nowMs (milliseconds on a steady clock, starting where the caller likes):
    /// closes the connections that did not sign on in time. Called at least every second; the
    /// time it gives also dates what happens until the next call.
    void tick(qint64 nowMs);

private:
    enum class Stage { Handshake, SignOnFrame, Login, SignedOn, Online };

    struct Session {
        int id = 0;
        QString address;             // the peer's, without the port
        qint64 openedAt = 0;
        bool backlogged = false;     // too much output waiting: to be closed, and written no more
        TocFramer reader{TocFramer::Mode::Server};
        Stage stage = Stage::Handshake;
        quint16 seq = 0;
        QByteArray key;              // normalised screen name, once signed on
        QSet<QByteArray> buddies;    // normalised names this user watches
        QSet<int> rooms;             // ids of the rooms this user is in
        QSet<int> invitations;       // ids of rooms this user was invited to
        QByteArray profile;
        qint64 onlineSince = 0;
        int warning = 0;
    };

    struct Room {
        int id = 0;
        QByteArray name;    // as its creator wrote it
        QByteArray key;     // exchange and normalised name
        QList<int> members; // session ids in order of arrival
    };

    using Handler = void (TocServer::*)(Session&, const QByteArrayList& args, QByteArrayView line);
    struct Command {
        Handler handler;
        int minArgs;
    };
    static const QHash<QByteArray, Command>& commands();

    bool readFrames(int id);
    void dropBacklogged();
    bool takeLogin(const QString& address);
    void handleFrame(Session& s, int type, const QByteArray& payload);
    void handleSignOnFrame(Session& s, const QByteArray& payload);
    void handleLogin(Session& s, const QByteArrayList& words);
    void handleCommand(Session& s, QByteArrayView line);
    void signOff(Session& s);
    void drop(Session& s, const QString& reason, CloseMode how = CloseMode::Flush);
    void forget(Session& s);
    void log(int id, const QString& what) const;
    void log(const Session& s, const QString& what) const { log(s.id, what); }

    void sendFrame(Session& s, FrameType type, QByteArrayView payload);
    void send(Session& s, QByteArrayView line) { sendFrame(s, FrameType::Data, line); }
    void sendError(Session& s, TocError code, QByteArrayView arg = {});
    void sendToMembers(const Room& room, QByteArrayView line, int except = 0);

    Session* onlineUser(QByteArrayView name);
    QByteArray nameOf(const Session& s) { return m_accounts.find(s.key)->formattedName; }
    QByteArray buddyLine(const Session& s, bool online);
    void tellWatchers(const Session& s, bool online);
    bool denies(const Session& who, const Session& whom);
    void enterRoom(Session& s, Room& room);
    void leaveRoom(Session& s, int roomId, bool tellLeaver);
    Room* memberRoom(const Session& s, QByteArrayView id);

    // One per client command.
    void cmdInitDone(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdSendIm(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdAddBuddy(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdRemoveBuddy(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdGetStatus(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdSetInfo(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdGetInfo(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdSetConfig(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdNewBuddies(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdEvil(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdFormatNickname(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChangePasswd(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChatJoin(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChatSend(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChatWhisper(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChatLeave(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChatInvite(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdChatAccept(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdAddDeny(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdRemoveDeny(Session& s, const QByteArrayList& args, QByteArrayView line);
    void cmdAccept(Session& s, const QByteArrayList& args, QByteArrayView line);

    Accounts m_accounts;
    Output m_out;
    Limits m_limits;
    qint64 m_now = 0;
    qint64 m_turnOutput = 0;              // bytes written since this receive() began
    std::map<int, Session> m_sessions;   // std::map: references stay valid while others come and go
    QHash<QByteArray, int> m_signedOn;    // normalised name -> session id
    std::map<int, Room> m_rooms;
    QHash<QByteArray, int> m_roomByKey;   // exchange + normalised name -> room id
    QHash<QString, int> m_connections;    // address -> connections open from it
    QHash<QString, qint64> m_loginsFullAt; // address -> when its sign-on allowance is whole again
    QList<int> m_backlogged;              // sessions to close for not reading, oldest first
    int m_nextSession = 1;
    int m_nextRoom = 1;                   // 0 means "no room" to clients, so ids start at 1
};
