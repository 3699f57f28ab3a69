// The client over a real TCP connection to a server inside the test.
#include "QuonTOCSock.h"
#include "printers.h"
#include "wait.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray frame(int type, const QByteArray& payload)
{
    QByteArray f("*");
    f += static_cast<char>(type);
    f += QByteArray("\x00\x00", 2);
    f += static_cast<char>(payload.size() >> 8);
    f += static_cast<char>(payload.size() & 0xFF);
    return f + payload;
}

TEST(Loopback, HandshakeFramesAndASplitServerFrame)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));

    QuonTOCSock sock;
    QSignalSpy packets(&sock, &QuonTOCSock::IncomingPacket);
    sock.Login("Tarn Wick", "secret", "127.0.0.1", server.serverPort());

    ASSERT_TRUE(waitFor([&] { return server.hasPendingConnections(); }));
    std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
    QByteArray got;
    auto readUntil = [&](qsizetype n) {
        return waitFor([&] {
            got += peer->readAll();
            return got.size() >= n;
        });
    };
    ASSERT_TRUE(readUntil(10));
    EXPECT_EQ(got.left(10), QByteArray("FLAPON\r\n\r\n"));

    // The server's sign-on frame makes the client answer with frames of its own.
    const QByteArray signOn = frame(1, QByteArray("\x00\x00\x00\x01", 4));
    peer->write(signOn.left(4));
    peer->flush();
    ASSERT_TRUE(waitFor([&] { return peer->bytesToWrite() == 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(packets.size(), 0);
    peer->write(signOn.mid(4));
    ASSERT_TRUE(waitFor([&] { return packets.size() == 1; }));
    EXPECT_EQ(packets[0].at(0).toInt(), 1);
    EXPECT_EQ(packets[0].at(1).toByteArray(), QByteArray("\x00\x00\x00\x01", 4));

    ASSERT_TRUE(readUntil(10 + 6 + 16));
    const QByteArray first = got.mid(10);
    EXPECT_EQ(first.left(6), QByteArray("*\x01\x00\x01\x00\x10", 6));
    EXPECT_EQ(first.mid(6, 16), QByteArray("\x00\x00\x00\x01\x00\x01\x00\x08tarnwick", 16));

    QSignalSpy loggedOff(&sock, &QuonTOCSock::LoggedOff);
    peer->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] { return loggedOff.size() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(loggedOff.size(), 1);
}

} // namespace
