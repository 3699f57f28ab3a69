// tocd as a process, fed bad input over raw TCP connections, and held to its limits.
#include "FakeTocSocket.h"
#include "ModTOC.h"
#include "TocdProcess.h"
#include "printers.h"
#include "wait.h"

#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QByteArray kFlapon("FLAPON\r\n\r\n");
const QByteArray kSignOn = flapFrame(1, QByteArray("\x00\x00\x00\x01\x00\x01\x00\x08tarnwick", 16));

QByteArray command(const QByteArray& line)
{
    return flapFrame(2, line + '\0');
}

QByteArray login(const QByteArray& name, const QByteArray& password)
{
    return command("toc2_login host 29999 " + name + ' ' + ModTOC::RoastPassword(password) +
                   " English  \"x\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 51837264");
}
const QByteArray kLogin = login("tarnwick", "secret");
const QByteArray kBadLogin = login("bad", "pw");

// One raw connection that reads the server's data frames.
struct RawClient {
    QTcpSocket socket;
    QByteArray in;

    bool connectTo(quint16 port)
    {
        socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        return socket.waitForConnected(5000);
    }
    void write(const QByteArray& bytes)
    {
        socket.write(bytes);
        socket.flush();
    }
    /// Waits for n more data-frame payloads and returns them.
    QByteArrayList read(int n)
    {
        QByteArrayList out;
        waitFor([&] {
            in += socket.readAll();
            while (in.size() >= 6 && in.size() >= 6 + ModTOC::DecodeWord(QByteArrayView(in).sliced(4, 2))) {
                const int len = ModTOC::DecodeWord(QByteArrayView(in).sliced(4, 2));
                if (in[1] == 2)
                    out << in.mid(6, len);
                in.remove(0, 6 + len);
            }
            return out.size() >= n;
        });
        return out;
    }
    bool waitClosed() { return waitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }); }
};

class TocdBadInput : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret", "--account", "bad:pw"})); }
    TocdProcess tocd;
};

TEST_F(TocdBadInput, ClosesOnlyTheOffendingConnection)
{
    RawClient good;
    ASSERT_TRUE(good.connectTo(tocd.port()));
    good.write(kFlapon + kSignOn + kLogin + command("toc_init_done"));
    ASSERT_EQ(good.read(3).size(), 3);

    QByteArray oversize = flapFrame(2, {});
    oversize[4] = char(0x23); // 9000 bytes announced; the body never comes
    oversize[5] = char(0x28);
    const struct {
        QByteArray bytes;
        const char* reason;
    } cases[] = {
        {"GET / HTTP/1.0\r\n\r\n", "garbage before FLAPON"},
        {"FLAPOX", "garbage before FLAPON"},
        {kFlapon + "#\x02\x00\x00\x00\x00", "bad frame marker 0x23"},
        {kFlapon + oversize, "frame of 9000 bytes is over the 8192-byte limit"},
        {kFlapon + command("toc_init_done"), "command before sign-on"},
        {kFlapon + kSignOn + command("toc_send_im \"tarnwick\" \"hi\""), "command before sign-on"},
        {kFlapon + flapFrame(1, QByteArray("\x00\x00\x00\x02", 4)), "malformed sign-on frame"},
        {kFlapon + kSignOn + flapFrame(1, {}), "unexpected sign-on frame"},
        {kFlapon + flapFrame(3, "x"), "unexpected frame type 3"},
        {kFlapon + kSignOn + kBadLogin + command(""), "empty command"},
        {kFlapon + kSignOn + kBadLogin + flapFrame(4, {}), "signed off"},
        {kFlapon + kSignOn + login("bad", "wrong"), "wrong password or unknown name \"bad\""},
    };
    for (const auto& c : cases) {
        RawClient bad;
        ASSERT_TRUE(bad.connectTo(tocd.port()));
        bad.write(c.bytes);
        EXPECT_TRUE(bad.waitClosed()) << c.reason;
        EXPECT_TRUE(tocd.waitForLog(QStringLiteral("closing: %1").arg(QLatin1String(c.reason)))) << c.reason;
    }
    good.write(command("toc_bogus"));
    EXPECT_EQ(good.read(1), QByteArrayList{"ERROR:913"});
    EXPECT_EQ(good.socket.state(), QAbstractSocket::ConnectedState);
}

TEST_F(TocdBadInput, SplitFramesAndTheSizeLimit)
{
    RawClient client;
    ASSERT_TRUE(client.connectTo(tocd.port()));
    const QByteArray session = kFlapon + kSignOn + kLogin;
    for (char byte : session) {
        client.write(QByteArray(1, byte));
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(client.read(3), (QByteArrayList{"SIGN_ON:TOC2.0", "NICK:Tarn Wick", "CONFIG2:done:\n"}));

    // Two commands in one write, the second one cut short; then its end.
    const QByteArray two = command("toc_bogus") + command("toc_get_status \"nobody\"");
    client.write(two.left(two.size() - 3));
    EXPECT_EQ(client.read(1), QByteArrayList{"ERROR:913"});
    client.write(two.right(3));
    EXPECT_EQ(client.read(1), QByteArrayList{"ERROR:901:nobody"});

    // 8192 bytes of payload is the most a frame may carry.
    client.write(flapFrame(2, "x" + QByteArray(8190, 'y') + '\0'));
    EXPECT_EQ(client.read(1), QByteArrayList{"ERROR:913"});
    client.write(flapFrame(2, "x" + QByteArray(8191, 'y') + '\0'));
    EXPECT_TRUE(client.waitClosed());
}

TEST(TocdCommandLine, RefusesWhatItCannotUse)
{
    TocdProcess files;
    const QString badFile = files.accountsFile("account a:b\nq:what\n");
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"--listen", "localhost"}, "--listen wants HOST:PORT"},
        {{"--listen", "127.0.0.1:99999"}, "--listen wants HOST:PORT"},
        {{"--listen", "127.0.0.1:0", "--account", "nopassword"}, "has no \":PASSWORD\""},
        {{"--listen", "127.0.0.1:0", "--accounts", badFile}, ":2: expected"},
        {{"--listen", "127.0.0.1:0", "stray"}, "unexpected argument"},
        {{"--login-limit", "-1"}, "--login-limit wants a whole number from 0 up, not \"-1\""},
        {{"--sign-on-timeout", "soon"}, "--sign-on-timeout wants a whole number"},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.start(QStringLiteral(TOCD_PATH), c.args);
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(p.exitCode(), 2) << c.message;
        EXPECT_TRUE(p.readAllStandardError().contains(c.message)) << c.message;
        EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    }
}

// ---- limits, one test each over loopback (their details are TocServer's tests)

TEST(TocdLimits, ClosesAClientThatDoesNotRead)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret", "--account", "bad:pw"}));
    RawClient flooder;
    flooder.socket.setReadBufferSize(4096); // takes no more from the kernel than that
    ASSERT_TRUE(flooder.connectTo(tocd.port()));
    flooder.write(kFlapon + kSignOn + kLogin + command("toc_init_done") +
                  command("toc_set_info \"" + QByteArray(2000, 'p') + '"'));
    ASSERT_EQ(flooder.read(3).size(), 3);
    // 20,000 requests for a 2 KB profile: 40 MB of answers, more than any socket buffers hold.
    QByteArray requests;
    for (int i = 0; i < 20000; ++i)
        requests += command("toc_get_info \"tarnwick\"");
    flooder.write(requests);

    RawClient other;
    ASSERT_TRUE(other.connectTo(tocd.port()));
    other.write(kFlapon + kSignOn + login("bad", "pw"));
    EXPECT_EQ(other.read(3).size(), 3);
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("closing: not reading")));
    flooder.socket.setReadBufferSize(0); // reads again, and so meets the end
    EXPECT_TRUE(flooder.waitClosed());
}

TEST(TocdLimits, ClosesConnectionsThatDoNotSignOnInTime)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret", "--sign-on-timeout", "1"}));
    RawClient idle, slow, quick;
    ASSERT_TRUE(idle.connectTo(tocd.port()));
    ASSERT_TRUE(slow.connectTo(tocd.port()));
    ASSERT_TRUE(quick.connectTo(tocd.port()));
    slow.write(kFlapon + kSignOn);
    quick.write(kFlapon + kSignOn + kLogin);
    EXPECT_TRUE(idle.waitClosed());
    EXPECT_TRUE(slow.waitClosed());
    EXPECT_EQ(tocd.log().count(QStringLiteral("closing: not signed on within 1 s")), 2);
    quick.write(command("toc_bogus"));
    EXPECT_EQ(quick.read(4).value(3), "ERROR:913");
}

TEST(TocdLimits, AnswersTooManySignOnsWith983)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret", "--login-limit", "2"}));
    const struct {
        QByteArray login;
        QByteArray answer;
    } attempts[] = {{login("tarnwick", "wrong"), "ERROR:980"}, {kLogin, "SIGN_ON:TOC2.0"}, {kLogin, "ERROR:983"}};
    for (const auto& a : attempts) {
        RawClient client;
        ASSERT_TRUE(client.connectTo(tocd.port()));
        client.write(kFlapon + kSignOn + a.login);
        EXPECT_EQ(client.read(1).value(0), a.answer);
    }
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("closing: too many sign-ons from 127.0.0.1")));
}

TEST(TocdLimits, ClosesConnectionsOverTheLimitPerAddress)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret", "--max-connections-per-address", "2"}));
    RawClient first, second, third;
    ASSERT_TRUE(first.connectTo(tocd.port()));
    ASSERT_TRUE(second.connectTo(tocd.port()));
    ASSERT_TRUE(third.connectTo(tocd.port()));
    EXPECT_TRUE(third.waitClosed());
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("closing: 2 connections from 127.0.0.1 are open already")));
    second.write(kFlapon + kSignOn + kLogin);
    EXPECT_EQ(second.read(3).size(), 3);
}

} // namespace
