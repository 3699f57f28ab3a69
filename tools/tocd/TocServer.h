#pragma once
// The TOC2 server's protocol logic, free of sockets: connections are numbers, received bytes come
// in through receive(), and everything going out leaves through the Output callbacks. One
// TocServer holds the accounts, the signed-on users and the chat rooms.
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
    struct Output {
        std::function<void(int id, const QByteArray& bytes)> write;
        /// End the connection after what was written so far; the server has forgotten it already.
        std::function<void(int id)> close;
        std::function<void(const QString& line)> log;
    };

    TocServer(Accounts accounts, Output output);

    /// A new connection from peer (for the log); returns its id.
    int open(const QString& peer);
    /// Bytes received on a connection. Unknown ids are ignored.
    void receive(int id, const QByteArray& bytes);
    /// The peer went away. Unknown ids are ignored.
    void closed(int id);

private:
    enum class Stage { Handshake, SignOnFrame, Login, SignedOn, Online };

    struct Session {
        int id = 0;
        QString peer;
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

    void handleFrame(Session& s, int type, const QByteArray& payload);
    void handleSignOnFrame(Session& s, const QByteArray& payload);
    void handleLogin(Session& s, const QByteArrayList& words);
    void handleCommand(Session& s, QByteArrayView line);
    void signOff(Session& s);
    void drop(Session& s, const QString& reason);
    void log(const Session& s, const QString& what) const;

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
    std::map<int, Session> m_sessions;   // std::map: references stay valid while others come and go
    QHash<QByteArray, int> m_signedOn;    // normalised name -> session id
    std::map<int, Room> m_rooms;
    QHash<QByteArray, int> m_roomByKey;   // exchange + normalised name -> room id
    int m_nextSession = 1;
    int m_nextRoom = 1;                   // 0 means "no room" to clients, so ids start at 1
};
