// Connection life of the client: the socket and the timers around the session.
#include "QuonTOCSock.h"

#include "TocLog.h"
#include "TocSession.h"
#include "TocSocket.h"

#include <QElapsedTimer>
#include <QPointer>

#include <exception>
#include <stdexcept>

namespace {
// Lets a std::visit pick a lambda by the alternative's type.
template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;
} // namespace

QuonTOCSock::QuonTOCSock(QObject* parent)
    : QuonTOCSock(std::make_unique<TcpTocSocket>(), parent)
{
}

QuonTOCSock::QuonTOCSock(std::unique_ptr<TocSocket> socket, QObject* parent)
    : QObject(parent)
    , Sock(std::move(socket))
    , m_session(std::make_unique<TocSession>(
          TocSession::Output{[this] { return Sock->state() == TocSocket::Connected; },
                             [this](const QByteArray& frame) { Sock->send(frame); }}))
{
    connect(Sock.get(), &TocSocket::connected, this, &QuonTOCSock::onConnected);
    connect(Sock.get(), &TocSocket::dataArrival, this, &QuonTOCSock::onDataArrival);
    connect(Sock.get(), &TocSocket::closed, this, &QuonTOCSock::onClosed);
    connect(Sock.get(), &TocSocket::errorOccurred, this, &QuonTOCSock::onSocketError);

    tmrAntiIdle.setInterval(kAntiIdleIntervalMs);
    connect(&tmrAntiIdle, &QTimer::timeout, this, [this] { SendPacket(5, QByteArray()); });

    tmrConnect.setInterval(kConnectTimeoutMs);
    tmrConnect.setSingleShot(true);
    connect(&tmrConnect, &QTimer::timeout, this, &QuonTOCSock::onTimeLimit);

    m_more.setSingleShot(true);
    connect(&m_more, &QTimer::timeout, this, &QuonTOCSock::onDataArrival);
}

// The connection simply ends with the control; no event is raised for it. The control may be
// destroyed by a handler of one of the socket's own signals, so the socket goes later, once that
// signal has returned.
QuonTOCSock::~QuonTOCSock()
{
    Sock->disconnect(this);
    Sock->close();
    Sock.release()->deleteLater();
}

void QuonTOCSock::Login(const QByteArray& strUserName, const QByteArray& strPassword, const QString& strServer,
                        quint16 intPort)
{
    try {
        m_session->startLogin(strUserName, strPassword);
    } catch (const std::invalid_argument& e) {
        qCDebug(lcToc) << "sign-on refused:" << e.what();
        throw;
    }
    mstrServer = strServer;
    mintPort = intPort;
    Sock->close();
    tmrConnect.start();
    Sock->connectToHost(mstrServer, mintPort);
}

void QuonTOCSock::LogOff()
{
    tmrConnect.stop();
    Sock->close();
    mstrServer.clear();
    mintPort = 0;
    m_session->logOff();
    emit LoggedOff(m_session->userName());
}

void QuonTOCSock::SendPacket(std::int16_t intIndex, const QByteArray& strData)
{
    m_session->sendFrame(intIndex, strData);
}

void QuonTOCSock::SendPacket2(const QByteArray& strDatas)
{
    m_session->sendLine(strDatas);
}

void QuonTOCSock::AntiIdle(bool blnEnabled)
{
    if (blnEnabled)
        tmrAntiIdle.start();
    else
        tmrAntiIdle.stop();
}

void QuonTOCSock::onConnected()
{
    tmrConnect.start(); // now for the sign-on
    Sock->send(TocFramer::kHandshake.toByteArray());
}

// Raises an event for everything that has arrived, one at a time and in order. A handler may run
// a nested event loop; bytes arriving meanwhile are not announced again, so the loop reads until
// nothing is left, and an arrival announced while it runs is left to it. A handler may also log
// off, sign on again or destroy the control.
void QuonTOCSock::onDataArrival()
{
    if (!m_reading)
        dispatch(kDispatchBudgetMs);
}

// Raises events until nothing is left, or until budgetMs have gone by (-1: no limit); the rest then
// follow at the next turn of the event loop, still in order.
void QuonTOCSock::dispatch(int budgetMs)
{
    const QPointer<QuonTOCSock> self(this);
    m_reading = true;
    QElapsedTimer spent;
    spent.start();
    for (;;) {
        if (budgetMs >= 0 && spent.elapsed() >= budgetMs) {
            m_more.start(0);
            break;
        }
        std::optional<SessionEvent> event = m_session->next();
        if (!event) {
            const QByteArray bytes = Sock->read();
            if (bytes.isEmpty())
                break;
            m_session->receive(bytes);
            continue;
        }
        raise(*event);
        if (!self)
            return;
    }
    m_reading = false;
}

// What arrived before the connection ended is raised before its end.
void QuonTOCSock::onClosed()
{
    tmrConnect.stop();
    const QPointer<QuonTOCSock> self(this);
    if (!m_reading)
        dispatch(-1);
    if (self)
        emit LoggedOff(m_session->userName());
}

void QuonTOCSock::onSocketError(int code, const QString& description)
{
    tmrConnect.stop();
    const QPointer<QuonTOCSock> self(this);
    if (!m_reading)
        dispatch(-1);
    if (self)
        emit SocketError(static_cast<std::int16_t>(code), description);
}

// A connect that does not finish, or a server that opens the connection and then never finishes
// the sign-on: either way the user would wait for ever.
void QuonTOCSock::onTimeLimit()
{
    const bool open = Sock->state() == TocSocket::Connected;
    Sock->close();
    if (!open) {
        emit SocketError(10060, QStringLiteral("Connection timed out"));
        return;
    }
    const QPointer<QuonTOCSock> self(this);
    emit SocketError(10060, QStringLiteral("The server did not answer the sign-on"));
    if (self)
        emit LoggedOff(m_session->userName());
}

// One signal per event. A handler's failure goes no further than here: the event is done with.
template <typename Event>
void QuonTOCSock::raise(Event& event)
{
    namespace M = TocMessage; // unqualified, Error and ChatInvite would name our signals
    try {
        std::visit(
            Overloaded{
                [&](TocEvent::Packet& e) { emit IncomingPacket(static_cast<std::int16_t>(e.type), e.payload); },
                [&](TocEvent::LoggedIn& e) {
                    tmrConnect.stop();
                    emit LoggedIn(e.userName, e.buddyList, e.blocked);
                },
                [&](TocEvent::JoinedChat& e) { emit JoinedChat(e.roomName, e.roomId); },
                [&](M::ImIn& e) { emit IncomingMessage(e.user, e.message); },
                [&](M::UpdateBuddy& e) {
                    if (e.online)
                        emit BuddyOnline(e.user);
                    else
                        emit BuddyOffline(e.user);
                },
                [&](M::BuddyCaps& e) { emit IncomingBuddyCapabilities(e.user, e.capabilities); },
                [&](M::Bart& e) { emit IncomingBartData(e.user, e.data); },
                [&](M::Error& e) { emit Error(e.code); },
                [&](M::Eviled& e) { emit Warned(e.warner, e.level); },
                [&](M::ChatIn& e) { emit IncomingChatMessage(e.roomId, e.user, e.whisper, e.message); },
                [&](M::ChatUpdateBuddy& e) { emit ChatUserUpdate(e.roomId, e.inside, e.user, e.user2); },
                [&](M::ChatInvite& e) { emit IncomingChatInvite(e.roomName, e.roomId, e.user, e.message); },
                [&](M::ChatLeft& e) { emit LeftChat(e.roomId); },
                [&](M::GotoUrl& e) { emit IncomingProfile(e.url); },
                [&](M::AdminNickStatus& e) { emit ScreenNameFormatUpdate(e.success); },
                [&](M::AdminPasswdStatus& e) { emit PassWordUpdate(e.success); },
                [&](M::RvousPropose& e) { emit RendevousRequest(e.user, e.uuid, e.cookie, e.rendezvousIp); },
            },
            event);
    } catch (const std::exception& e) {
        qCDebug(lcToc) << "an event handler failed:" << e.what();
    } catch (...) {
        qCDebug(lcToc) << "an event handler failed";
    }
}
