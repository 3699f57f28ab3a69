// Servers that misbehave, over real loopback TCP: each fault ends in its one documented event
// (LoggedOff once, SocketError with a reason, or nothing at all), and afterwards the same client
// signs on to a healthy server as if nothing had happened.
#include "EventLog.h"
#include "FakeTocSocket.h"
#include "QuonTOCSock.h"
#include "TestAccess.h"
#include "printers.h"
#include "wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <functional>

#include <sys/socket.h>

namespace {

using Lines = std::vector<std::string>;

const QByteArray kFlapon("FLAPON\r\n\r\n");
const QByteArray kServerSignOn = flapFrame(1, QByteArray("\x00\x00\x00\x01", 4));

QByteArray dataFrame(const QByteArray& line, int seq = 0)
{
    return flapFrame(2, line, seq);
}

const QByteArray kSignedOn = kServerSignOn + dataFrame("SIGN_ON:TOC2.0", 1) + dataFrame("NICK:Tarn Wick", 2) +
                             dataFrame("CONFIG2:done:\n", 3);

// A one-connection server: once the client's handshake is in, it hands the connection to the
// scenario, which writes what it likes and may keep, close or reset the connection.
class ScriptedServer : public QObject
{
public:
    using Scenario = std::function<void(QTcpSocket&)>;

    explicit ScriptedServer(Scenario scenario)
        : m_scenario(std::move(scenario))
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_peer = m_server.nextPendingConnection();
            connect(m_peer, &QTcpSocket::readyRead, this, &ScriptedServer::onRead);
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    quint16 port() const { return m_server.serverPort(); }
    const QByteArray& received() const { return m_in; }

private:
    void onRead()
    {
        m_in += m_peer->readAll();
        if (!m_started && m_in.startsWith(kFlapon)) {
            m_started = true;
            m_scenario(*m_peer);
        }
    }

    QTcpServer m_server;
    QPointer<QTcpSocket> m_peer;
    Scenario m_scenario;
    QByteArray m_in;
    bool m_started = false;
};

// Sends a reset instead of an orderly close: zero linger, then close.
void reset(QTcpSocket& peer)
{
    peer.flush();
    peer.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const qintptr fd = peer.socketDescriptor();
    struct {
        int onoff;
        int linger;
    } zeroLinger{1, 0};
    ::setsockopt(static_cast<int>(fd), SOL_SOCKET, SO_LINGER, &zeroLinger, sizeof zeroLinger);
    peer.abort();
}

// Spins the event loop a little longer, so that a second, unwanted event would have time to come.
void settle()
{
    waitFor([] { return false; }, 200);
}

class Faults : public ::testing::Test
{
protected:
    // After any fault, a healthy server must still get a full sign-on out of the same client.
    void expectRecovers()
    {
        ScriptedServer healthy([](QTcpSocket& peer) { peer.write(kSignedOn); });
        log.take();
        sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), healthy.port());
        ASSERT_TRUE(waitFor([&] { return !log.lines.empty(); }));
        EXPECT_EQ(log.take(), Lines{"LoggedIn(Tarn Wick, , )"});
        sock.LogOff(); // before the server goes, so its close is not a lost connection
        log.take();
    }

    QuonTOCSock sock;
    EventLog log{sock};
};

struct ServerFault {
    const char* name;
    ScriptedServer::Scenario scenario;
    Lines events; // after the handshake, until the connection settles
};

TEST_F(Faults, MisbehavingServersEndInTheirDocumentedEvent)
{
    const QByteArray bigText(65535 - 25, 'x');
    const ServerFault faults[] = {
        {"closes mid-frame",
         [](QTcpSocket& peer) {
             peer.write(kServerSignOn + dataFrame("CHAT_IN_ENC:1:bob:F:A:en:never whole").left(20));
             peer.flush();
             peer.disconnectFromHost();
         },
         {"LoggedOff(tarnwick)"}},
        {"resets the connection",
         [](QTcpSocket& peer) {
             peer.write(kSignedOn);
             reset(peer);
         },
         {"LoggedIn(Tarn Wick, , )", "LoggedOff(tarnwick)"}},
        {"stops answering after sign-on", [](QTcpSocket& peer) { peer.write(kSignedOn); },
         {"LoggedIn(Tarn Wick, , )"}},
        // Not FLAP at all: whatever the bytes happen to say is taken as frames, and nothing is
        // raised but IncomingPacket until the server gives up.
        {"answers the handshake with garbage",
         [](QTcpSocket& peer) {
             peer.write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
             peer.flush();
             peer.disconnectFromHost();
         },
         {"LoggedOff(tarnwick)"}},
        {"sends a 65,535-byte frame",
         [bigText](QTcpSocket& peer) {
             peer.write(kSignedOn + dataFrame("CHAT_IN_ENC:1:bob:F:A:en:" + bigText) + dataFrame("CHAT_LEFT:1"));
         },
         {"LoggedIn(Tarn Wick, , )", "IncomingChatMessage(1, bob, false, " + bigText.toStdString() + ")",
          "LeftChat(1)"}},
        {"sends frame types 0 and 255",
         [](QTcpSocket& peer) {
             peer.write(kSignedOn + flapFrame(0, "CHAT_LEFT:1") + flapFrame(255, "CHAT_LEFT:2") +
                        dataFrame("CHAT_LEFT:3"));
         },
         {"LoggedIn(Tarn Wick, , )", "LeftChat(3)"}},
    };
    for (const ServerFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        ScriptedServer server(fault.scenario);
        sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), server.port());
        const std::size_t expected = fault.events.size();
        EXPECT_TRUE(waitFor([&] { return log.lines.size() >= expected; }));
        settle();
        EXPECT_EQ(log.take(), fault.events);
        expectRecovers();
    }
}

TEST_F(Faults, FrameTypesOutsideSignOnAndDataStillRaiseIncomingPacket)
{
    EventLog packets{sock, true};
    ScriptedServer server([](QTcpSocket& peer) {
        peer.write(kServerSignOn + flapFrame(0, "zero") + flapFrame(255, QByteArray(3, '\xff')));
    });
    sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), server.port());
    ASSERT_TRUE(waitFor([&] { return packets.lines.size() >= 3; }));
    const std::string version("\x00\x00\x00\x01", 4);
    EXPECT_EQ(packets.take(),
              (Lines{"IncomingPacket(1, " + version + ")", "IncomingPacket(0, zero)", "IncomingPacket(255, \xff\xff\xff)"}));
}

TEST_F(Faults, UnreachableServersGiveSocketErrorAndNothingElse)
{
    // A port nobody listens on.
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), closedPort);
    ASSERT_TRUE(waitFor([&] { return !log.lines.empty(); }));
    settle();
    EXPECT_EQ(log.take(), Lines{"SocketError(10061, Connection refused)"});

    // A server that never answers: its accept queue is full and it accepts nothing, so the
    // kernel drops our connection request and the connect hangs until the (shortened) limit.
    QTcpServer silent;
    silent.setListenBacklogSize(0);
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    silent.pauseAccepting();
    QTcpSocket filler;
    filler.connectToHost(QHostAddress::LocalHost, silent.serverPort());
    ASSERT_TRUE(filler.waitForConnected(5000));
    QTcpSocket probe; // proves the queue is full: this one must not get through
    probe.connectToHost(QHostAddress::LocalHost, silent.serverPort());
    if (probe.waitForConnected(300))
        GTEST_SKIP() << "this kernel completes connections beyond the listen backlog";
    probe.abort();

    QuonTOCSockTestAccess::connectTimer(sock).setInterval(300);
    sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), silent.serverPort());
    ASSERT_TRUE(waitFor([&] { return !log.lines.empty(); }, 5000));
    settle();
    EXPECT_EQ(log.take(), Lines{"SocketError(10060, Connection timed out)"});
    filler.abort();
    expectRecovers();
}

// A handler running a nested event loop (a dialog, say) while more frames arrive: they are
// raised once it returns, each once and in order, with nothing more from the server.
TEST_F(Faults, FramesArrivingDuringANestedEventLoopAreRaisedAfterIt)
{
    QPointer<QTcpSocket> peer;
    ScriptedServer server([&](QTcpSocket& p) {
        peer = &p;
        p.write(kSignedOn);
    });
    std::vector<std::int32_t> left;
    QObject::connect(&sock, &QuonTOCSock::LoggedIn, &sock, [&] {
        peer->write(dataFrame("CHAT_LEFT:1") + dataFrame("CHAT_LEFT:2"));
        waitFor([&] { return peer->bytesToWrite() == 0; });
        settle(); // the dialog stays open a little longer
    });
    QObject::connect(&sock, &QuonTOCSock::LeftChat, &sock, [&](std::int32_t id) { left.push_back(id); });
    sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), server.port());
    EXPECT_TRUE(waitFor([&] { return left.size() == 2; }, 3000));
    settle();
    EXPECT_EQ(left, (std::vector<std::int32_t>{1, 2}));
}

// A flood of lines is raised over several turns of the event loop, in order, and all of it before
// the end of the connection that brought it.
TEST(Flood, ATurnOfTheEventLoopRaisesEventsForABoundedTime)
{
    auto* net = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(net)};
    std::vector<std::int32_t> left;
    QObject::connect(&sock, &QuonTOCSock::LeftChat, &sock, [&](std::int32_t id) {
        left.push_back(id);
        QThread::usleep(200); // a handler with work to do
    });
    sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), 5190);
    net->open();
    QByteArray flood;
    for (int id = 1; id <= 2000; ++id)
        flood += flapFrame(2, "CHAT_LEFT:" + QByteArray::number(id));
    net->deliver(flood);
    EXPECT_LT(left.size(), 1000u);
    EXPECT_GT(left.size(), 0u);
    bool ended = false;
    QObject::connect(&sock, &QuonTOCSock::LoggedOff, &sock, [&] { ended = left.size() == 2000; });
    net->peerClose();
    EXPECT_TRUE(ended);
    for (std::size_t i = 0; i < left.size(); ++i)
        ASSERT_EQ(left[i], std::int32_t(i + 1));
}

// Destroying the control from a handler, whatever the event, over a real connection: nothing may
// touch it or its socket afterwards. (Also run under valgrind.)
template <typename... Args>
std::function<void(QuonTOCSock*)> deleteOn(void (QuonTOCSock::*signal)(Args...))
{
    return [signal](QuonTOCSock* sock) { QObject::connect(sock, signal, sock, [sock](Args...) { delete sock; }); };
}

TEST(DeletingHandler, AHandlerMayDestroyTheControlOnAnyEvent)
{
    const QByteArray everything =
        kSignedOn + dataFrame("IM_IN_ENC2:bob:F:F:T: U :F:L:en:hi") + dataFrame("UPDATE_BUDDY2:bob:T:0:0:0:") +
        dataFrame("UPDATE_BUDDY2:bob:F:0:0:0:") + dataFrame("BUDDY_CAPS2:bob:uuid") + dataFrame("BART2:bob:data") +
        dataFrame("ERROR:901:bob") + dataFrame("EVILED:5:bob") + dataFrame("CHAT_JOIN:7:Lounge") +
        dataFrame("CHAT_IN_ENC:7:bob:F:A:en:hi") + dataFrame("CHAT_UPDATE_BUDDY:7:T:bob") +
        dataFrame("CHAT_INVITE:Lounge:7:bob:come") + dataFrame("CHAT_LEFT:7") + dataFrame("GOTO_URL:w:url") +
        dataFrame("ADMIN_NICK_STATUS:0") + dataFrame("ADMIN_PASSWD_STATUS:0") + dataFrame("RVOUS_PROPOSE:bob:u:c:1:ip");
    const std::pair<const char*, std::function<void(QuonTOCSock*)>> cases[] = {
        {"IncomingPacket", deleteOn(&QuonTOCSock::IncomingPacket)},
        {"LoggedIn", deleteOn(&QuonTOCSock::LoggedIn)},
        {"IncomingMessage", deleteOn(&QuonTOCSock::IncomingMessage)},
        {"BuddyOnline", deleteOn(&QuonTOCSock::BuddyOnline)},
        {"BuddyOffline", deleteOn(&QuonTOCSock::BuddyOffline)},
        {"IncomingBuddyCapabilities", deleteOn(&QuonTOCSock::IncomingBuddyCapabilities)},
        {"IncomingBartData", deleteOn(&QuonTOCSock::IncomingBartData)},
        {"Error", deleteOn(&QuonTOCSock::Error)},
        {"Warned", deleteOn(&QuonTOCSock::Warned)},
        {"JoinedChat", deleteOn(&QuonTOCSock::JoinedChat)},
        {"IncomingChatMessage", deleteOn(&QuonTOCSock::IncomingChatMessage)},
        {"ChatUserUpdate", deleteOn(&QuonTOCSock::ChatUserUpdate)},
        {"IncomingChatInvite", deleteOn(&QuonTOCSock::IncomingChatInvite)},
        {"LeftChat", deleteOn(&QuonTOCSock::LeftChat)},
        {"IncomingProfile", deleteOn(&QuonTOCSock::IncomingProfile)},
        {"ScreenNameFormatUpdate", deleteOn(&QuonTOCSock::ScreenNameFormatUpdate)},
        {"PassWordUpdate", deleteOn(&QuonTOCSock::PassWordUpdate)},
        {"RendevousRequest", deleteOn(&QuonTOCSock::RendevousRequest)},
        {"LoggedOff", deleteOn(&QuonTOCSock::LoggedOff)},
        {"SocketError", deleteOn(&QuonTOCSock::SocketError)},
    };
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    for (const auto& [event, hook] : cases) {
        ScriptedServer server([&](QTcpSocket& peer) {
            peer.write(everything);
            peer.disconnectFromHost();
        });
        auto* sock = new QuonTOCSock;
        const QPointer<QuonTOCSock> alive(sock);
        hook(sock);
        const bool refused = std::string_view(event) == "SocketError";
        sock->Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), refused ? closedPort : server.port());
        EXPECT_TRUE(waitFor([&] { return !alive; })) << event;
        delete alive.data();
        settle();
    }
}

} // namespace
