// Connection failures and the keep-alive timer, through the scripted socket.
#include "EventLog.h"
#include "FakeTocSocket.h"
#include "QuonTOCSock.h"
#include "ModTOC.h"
#include "TestAccess.h"
#include "printers.h"
#include "wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class Connection : public ::testing::Test
{
protected:
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};
    EventLog log{sock};
};

TEST_F(Connection, FailuresRaiseSocketErrorAndABreakAlsoLoggedOffOnce)
{
    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    fake->fail(10061, "Connection refused", false);
    EXPECT_EQ(log.take(), Lines{"SocketError(10061, Connection refused)"});

    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    fake->open();
    fake->fail(10054, "Connection reset by peer", true);
    EXPECT_EQ(log.take(), (Lines{"SocketError(10054, Connection reset by peer)", "LoggedOff(tarnwick)"}));
}

TEST_F(Connection, NoAnswerInTimeClosesTheSocket)
{
    QuonTOCSockTestAccess::connectTimer(sock).setInterval(5);
    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    const int closes = fake->closeCalls;
    ASSERT_TRUE(waitFor([&] { return !log.lines.empty(); }));
    EXPECT_EQ(log.take(), Lines{"SocketError(10060, Connection timed out)"});
    EXPECT_EQ(fake->closeCalls, closes + 1);
    EXPECT_EQ(fake->state(), TocSocket::Closed);

    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    fake->open(); // in time: the sign-on's own limit starts
    EXPECT_TRUE(QuonTOCSockTestAccess::connectTimer(sock).isActive());
}

// A server that opens the connection and then never finishes the sign-on does not keep the user
// waiting: the connection is closed as a broken one would be.
TEST_F(Connection, ASignOnThatDoesNotFinishInTimeEndsTheConnection)
{
    QuonTOCSockTestAccess::connectTimer(sock).setInterval(20);
    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    fake->open();
    fake->deliver(flapFrame(1, QByteArray("\x00\x00\x00\x01", 4)) + flapFrame(2, "SIGN_ON:TOC2.0"));
    const int closes = fake->closeCalls;
    ASSERT_TRUE(waitFor([&] { return !log.lines.empty(); }));
    EXPECT_EQ(log.take(), (Lines{"SocketError(10060, The server did not answer the sign-on)", "LoggedOff(tarnwick)"}));
    EXPECT_EQ(fake->closeCalls, closes + 1);

    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    fake->open();
    fake->deliver(flapFrame(2, "CONFIG2:done:\n")); // in time: the limit is off
    EXPECT_FALSE(QuonTOCSockTestAccess::connectTimer(sock).isActive());
}

TEST_F(Connection, AntiIdleSendsKeepAlivesOnlyWhileEnabledAndConnected)
{
    QTimer& timer = QuonTOCSockTestAccess::antiIdleTimer(sock);
    EXPECT_FALSE(timer.isActive()); // off at start
    EXPECT_EQ(timer.interval(), 60000);
    timer.setInterval(2);
    QSignalSpy ticks(&timer, &QTimer::timeout);

    sock.AntiIdle(true); // not connected: ticks send nothing
    ASSERT_TRUE(waitFor([&] { return ticks.size() >= 3; }));
    EXPECT_TRUE(fake->sent.isEmpty());

    sock.Login("Tarn Wick", "secret", "toc.example", 5190);
    fake->open();
    fake->sent.clear();
    ASSERT_TRUE(waitFor([&] { return fake->sent.size() >= 3; }));
    for (qsizetype i = 0; i < 3; ++i)
        EXPECT_EQ(fake->sent[i], "*\x05" + ModTOC::EncodeWord(i + 1) + QByteArray("\x00\x00", 2));

    sock.AntiIdle(false);
    EXPECT_FALSE(timer.isActive());
}

} // namespace
