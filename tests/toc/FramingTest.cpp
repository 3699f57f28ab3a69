// Connection life and FLAP framing of the client, through the scripted socket.
#include "FakeTocSocket.h"
#include "QuonTOCSock.h"
#include "TestAccess.h"
#include "printers.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Framing : public ::testing::Test
{
protected:
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};
    QSignalSpy packets{&sock, &QuonTOCSock::IncomingPacket};
    QSignalSpy loggedOff{&sock, &QuonTOCSock::LoggedOff};

    void connectNow()
    {
        sock.Login("Tarn Wick", "secret", "toc.example", 5190);
        fake->open();
        fake->sent.clear();
    }
    // Type and payload of each IncomingPacket so far.
    std::vector<std::pair<int, QByteArray>> received() const
    {
        std::vector<std::pair<int, QByteArray>> out;
        for (const auto& args : packets)
            out.emplace_back(args.at(0).toInt(), args.at(1).toByteArray());
        return out;
    }
};

using Frames = std::vector<std::pair<int, QByteArray>>;

TEST_F(Framing, LoginClosesThenConnectsAndSendsTheHandshake)
{
    sock.Login("Tarn Wick", "secret", "toc.example", 40000);
    EXPECT_EQ(fake->closeCalls, 1);
    EXPECT_EQ(fake->host, "toc.example");
    EXPECT_EQ(fake->port, 40000); // ports above 32767 are reachable
    EXPECT_TRUE(fake->sent.isEmpty());
    fake->open();
    ASSERT_EQ(fake->sent.size(), 1);
    EXPECT_EQ(fake->sent[0], QByteArray("FLAPON\r\n\r\n"));
}

TEST_F(Framing, FramesCarryTypeSequenceLengthAndPayload)
{
    connectNow();
    sock.SendPacket2("toc_init_done");
    sock.SendPacket(5, QByteArray());
    ASSERT_EQ(fake->sent.size(), 2);
    EXPECT_EQ(fake->sent[0], QByteArray("*\x02\x00\x01\x00\x0E" "toc_init_done\0", 20));
    EXPECT_EQ(fake->sent[1], QByteArray("*\x05\x00\x02\x00\x00", 6));
}

TEST_F(Framing, SequenceNumbersSkip65535AndWrapToZero)
{
    connectNow();
    QuonTOCSockTestAccess::seq(sock) = 65533;
    sock.SendPacket(5, {});
    sock.SendPacket(5, {});
    sock.SendPacket(5, {});
    ASSERT_EQ(fake->sent.size(), 3);
    EXPECT_EQ(fake->sent[0].mid(2, 2), QByteArray("\xFF\xFE", 2)); // 65534
    EXPECT_EQ(fake->sent[1].mid(2, 2), QByteArray("\x00\x00", 2));
    EXPECT_EQ(fake->sent[2].mid(2, 2), QByteArray("\x00\x01", 2));
}

TEST_F(Framing, NothingIsSentAndTheCounterStaysWhileNotConnected)
{
    sock.SendPacket2("toc_init_done");
    sock.SendPacket(5, {});
    sock.Login("a", "b", "h", 1); // connecting, not yet connected
    sock.SendPacket2("toc_init_done");
    EXPECT_TRUE(fake->sent.isEmpty());
    EXPECT_EQ(QuonTOCSockTestAccess::seq(sock), 0);
    fake->open();
    sock.SendPacket(5, {});
    EXPECT_EQ(fake->sent.last().mid(2, 2), QByteArray("\x00\x01", 2));
}

TEST_F(Framing, UnencodableFramesThrowAndSendNothing)
{
    connectNow();
    EXPECT_THROW(sock.SendPacket(256, {}), std::invalid_argument);
    EXPECT_THROW(sock.SendPacket(-1, {}), std::invalid_argument);
    EXPECT_THROW(sock.SendPacket(2, QByteArray(65536, 'x')), std::invalid_argument);
    EXPECT_THROW(sock.SendPacket2(QByteArray(65535, 'x')), std::invalid_argument); // with its zero byte
    EXPECT_TRUE(fake->sent.isEmpty());
    EXPECT_EQ(QuonTOCSockTestAccess::seq(sock), 0); // refused frames take no number
    sock.SendPacket(2, QByteArray(65535, 'x')); // the largest payload fits
    ASSERT_EQ(fake->sent.size(), 1);
    EXPECT_EQ(fake->sent[0].mid(2, 2), QByteArray("\x00\x01", 2));
}

TEST_F(Framing, AFrameIsDispatchedOnTheArrivalThatCompletesIt)
{
    connectNow();
    const QByteArray frame = flapFrame(2, "CHAT_LEFT:12");
    fake->deliver(frame.left(3)); // inside the header
    fake->deliver(frame.mid(3, 5));
    EXPECT_EQ(packets.size(), 0);
    fake->deliver(frame.mid(8) + flapFrame(2, "CHAT_LEFT:13").left(4));
    EXPECT_EQ(received(), (Frames{{2, "CHAT_LEFT:12"}}));
    fake->deliver(flapFrame(2, "CHAT_LEFT:13").mid(4));
    EXPECT_EQ(received(), (Frames{{2, "CHAT_LEFT:12"}, {2, "CHAT_LEFT:13"}}));
}

TEST_F(Framing, AHandlerThatLogsOffStopsTheLoopCleanly)
{
    connectNow();
    QObject::connect(&sock, &QuonTOCSock::IncomingPacket, &sock, [this] { sock.LogOff(); });
    fake->deliver(flapFrame(5, {}) + flapFrame(5, {}));
    EXPECT_EQ(packets.size(), 1); // the second frame went with the closed connection
    EXPECT_EQ(loggedOff.size(), 1);
}

TEST_F(Framing, LoggedOffComesOnceWithTheNormalisedName)
{
    sock.LogOff(); // never connected: still raised
    ASSERT_EQ(loggedOff.size(), 1);

    connectNow();
    sock.LogOff();
    ASSERT_EQ(loggedOff.size(), 2);
    EXPECT_EQ(loggedOff.last().at(0).toByteArray(), "tarnwick");

    connectNow();
    fake->peerClose();
    EXPECT_EQ(loggedOff.size(), 3);

    connectNow();
    sock.Login("Tarn Wick", "secret", "toc.example", 5190); // replacing an open connection
    EXPECT_EQ(loggedOff.size(), 3);
}

TEST_F(Framing, LogOffResetsTheSequence)
{
    connectNow();
    sock.SendPacket(5, {});
    sock.SendPacket(5, {});
    sock.LogOff();
    connectNow();
    sock.SendPacket(5, {});
    EXPECT_EQ(fake->sent.last().mid(2, 2), QByteArray("\x00\x01", 2));
}

} // namespace

namespace {

TEST(FramingOwnership, AHandlerMayDestroyTheControl)
{
    // The socket goes with the control; frames still buffered must not be touched afterwards.
    auto* fake = new FakeTocSocket;
    auto* sock = new QuonTOCSock(std::unique_ptr<TocSocket>(fake));
    sock->Login("a", "b", "h", 1);
    fake->open();
    int packets = 0;
    QObject::connect(sock, &QuonTOCSock::IncomingPacket, [&] {
        ++packets;
        delete sock;
    });
    // A sign-on frame would make the dispatcher answer, after the handler has run.
    fake->deliver(flapFrame(1, QByteArray("\x00\x00\x00\x01", 4)) + flapFrame(5, {}));
    EXPECT_EQ(packets, 1);
}

} // namespace
