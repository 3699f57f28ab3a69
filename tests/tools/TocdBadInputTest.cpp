// tocd as a process, fed bad input over raw TCP connections.
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

} // namespace
