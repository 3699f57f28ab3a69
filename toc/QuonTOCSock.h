#pragma once
// QuonTOCSock: a TOC2 client. It owns one connection, signs a screen name on, turns what the
// server sends into signals and offers one method per client command. It is a non-visual
// component: nothing of it is seen at run time.
//
// Everything runs on the thread of the event loop; signals are emitted synchronously and their
// handlers may call back into the control. Byte strings are QByteArray (one byte per character).
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>

class TocSession;
class TocSocket;

class QuonTOCSock : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAntiIdleIntervalMs = 60000;
    /// How long a connect may take, and then how long the server may take to finish the sign-on.
    static constexpr int kConnectTimeoutMs = 30000;
    /// How long one turn of the event loop raises events; what is left waits for the next turn, so a
    /// flood of server lines never freezes the program.
    static constexpr int kDispatchBudgetMs = 20;

    explicit QuonTOCSock(QObject* parent = nullptr);
    /// Talks through the given socket (a scripted one in tests) instead of a TCP one. Takes
    /// ownership.
    explicit QuonTOCSock(std::unique_ptr<TocSocket> socket, QObject* parent = nullptr);
    ~QuonTOCSock() override;

    // Connection and framing.
    /// Connects and signs on. Throws std::invalid_argument, and leaves any connection as it is,
    /// when the name or password cannot go on the wire as typed: an empty or all-blank name, a
    /// control character in either, a name starting with a double quote, or too long a login line.
    void Login(const QByteArray& strUserName, const QByteArray& strPassword, const QString& strServer,
               quint16 intPort);
    void LogOff();
    /// One FLAP frame; dropped silently unless connected. Throws std::invalid_argument, sending
    /// nothing and keeping the sequence counter, when the frame type is outside 0..255 or the
    /// payload is longer than 65535 bytes.
    void SendPacket(std::int16_t intIndex, const QByteArray& strData);
    /// A TOC command line as it is: a data frame whose payload ends in one zero byte.
    void SendPacket2(const QByteArray& strDatas);

    // Client commands. Each sends at most one frame, and nothing while not connected.
    // An argument that cannot be sent (a zero byte in it, a line longer than the 2,048 bytes
    // servers take) throws std::invalid_argument and sends nothing.
    void SendIm(const QByteArray& strUserName, const QByteArray& strMessage, bool blnAutoResponse);
    void AddBuddy(const QByteArray& strBuddy, bool blnPermanent);
    void RemoveBuddy(const QByteArray& strBuddy);
    void WarnUser(const QByteArray& strUserName, bool blnAnonymous);
    void JoinChat(const QByteArray& strRoomName, std::int16_t intExchange);
    void SendChat(std::int32_t lngID, const QByteArray& strMessage);
    void ChatWhisper(std::int32_t lngID, const QByteArray& strUserName, const QByteArray& strMessage);
    void ChatInvite(std::int32_t lngID, const QByteArray& strInviteMessage, const QByteArray& strUserName);
    void ChatLeave(std::int32_t lngID);
    void AcceptChatInvite(std::int32_t lngID);
    void GetProfile(const QByteArray& strUserName);
    void GetStatus(const QByteArray& strUserName);
    void SetProfile(const QByteArray& strProfile);
    void SetAway(const QByteArray& strMessage);
    void SetIdle(std::int32_t lngMinutes);
    void SetCapabilities(const QByteArray& strCapUUID);
    void FormatUserName(const QByteArray& strNewFormattedUserName);
    void ChangePassword(const QByteArray& strOldPassword, const QByteArray& strNewPassword);
    void BlockUser(const QByteArray& strUserName);
    void UnBlockUser(const QByteArray& strUserName);

    // Queries and switches.
    /// The id of the first room-table slot whose name matches (blanks and case ignored), or 0.
    std::int32_t GetChatID(const QByteArray& strRoomName) const;
    std::int32_t LastChatID() const;
    void AntiIdle(bool blnEnabled);

signals:
    // The control's events, in their fixed order.
    void LoggedIn(const QByteArray& strUserName, const QByteArray& strBuddyList, const QByteArray& strBlocked);
    void LoggedOff(const QByteArray& strUserName);
    void Error(std::int16_t intErrorCode);
    void IncomingBuddyCapabilities(const QByteArray& strUserName, const QByteArray& strCapUUID);
    void IncomingPacket(std::int16_t intIndex, const QByteArray& strData);
    void IncomingMessage(const QByteArray& strUserName, const QByteArray& strMessage);
    void BuddyOnline(const QByteArray& strUserName);
    void BuddyOffline(const QByteArray& strUserName);
    void Warned(const QByteArray& strWarner, std::int16_t intNewWarningLevel);
    void JoinedChat(const QByteArray& strRoomName, std::int32_t lngRoomID);
    void IncomingChatMessage(std::int32_t lngRoomID, const QByteArray& strUserName, bool blnWhisper,
                             const QByteArray& strMessage);
    void ChatUserUpdate(std::int32_t lngRoomID, bool blnInside, const QByteArray& strUser, const QByteArray& StrUser2);
    void IncomingChatInvite(const QByteArray& strRoomName, std::int32_t lngRoomID, const QByteArray& strUserName,
                            const QByteArray& strMessage);
    void LeftChat(std::int32_t lngRoomID);
    void PassWordUpdate(bool blnSuccess);
    void ScreenNameFormatUpdate(bool blnSuccess);
    void IncomingProfile(const QByteArray& strProfile);
    void RendevousRequest(const QByteArray& strUser, const QByteArray& strUUID, const QByteArray& strCookie,
                          const QByteArray& strRendevousIP);
    void IncomingBartData(const QByteArray& strUserName, const QByteArray& strBartData);
    /// A connect failed (refused, host not found, no answer in time), the server did not finish
    /// the sign-on in time, or an open connection broke.
    void SocketError(std::int16_t intErrorCode, const QString& strDescription);

private:
    friend struct QuonTOCSockTestAccess; // tests shorten the timers and read the room table

    void onConnected();
    void onDataArrival();
    void dispatch(int budgetMs);
    void onClosed();
    void onSocketError(int code, const QString& description);
    void onTimeLimit();
    template <typename Event>
    void raise(Event& event);
    template <typename Build>
    void command(Build&& build);

    std::unique_ptr<TocSocket> Sock;
    std::unique_ptr<TocSession> m_session;
    QTimer tmrAntiIdle;
    QTimer tmrConnect; // the connect, then the sign-on, must end in time
    QTimer m_more;     // raises what one turn of the event loop left
    QString mstrServer;
    quint16 mintPort = 0;
    bool m_reading = false; // a dispatch loop is running further up the stack
};
