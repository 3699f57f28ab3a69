// A long session compressed into seconds: one client against tocd joins more rooms than its room
// table holds, floods a room with chat, and sends keep-alives on a short interval meanwhile.
// Every event must arrive exactly once and in order.
#include "QuonTOCSock.h"
#include "TestAccess.h"
#include "TocdProcess.h"
#include "printers.h"
#include "wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

constexpr int kRooms = 1200;
constexpr int kMessages = 20000;
constexpr int kInFlight = 400; // messages sent before waiting for their echoes

struct Counts {
    int loggedOff = 0, errors = 0, socketErrors = 0, others = 0;
};

TEST(TocSoak, RoomsWrapChatFloodAndKeepAlivesLoseNothing)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret"}));
    QuonTOCSock sock;
    Counts counts;
    QObject::connect(&sock, &QuonTOCSock::LoggedOff, [&] { ++counts.loggedOff; });
    QObject::connect(&sock, &QuonTOCSock::Error, [&] { ++counts.errors; });
    QObject::connect(&sock, &QuonTOCSock::SocketError, [&] { ++counts.socketErrors; });
    QObject::connect(&sock, &QuonTOCSock::IncomingMessage, [&] { ++counts.others; });
    QObject::connect(&sock, &QuonTOCSock::LeftChat, [&] { ++counts.others; });

    QSignalSpy in(&sock, &QuonTOCSock::LoggedIn);
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 1; }));

    // Keep-alives run through the whole session; each tick while connected is one frame.
    QTimer& antiIdle = QuonTOCSockTestAccess::antiIdleTimer(sock);
    antiIdle.setInterval(5);
    QSignalSpy ticks(&antiIdle, &QTimer::timeout);
    sock.AntiIdle(true);

    // Rooms: one join at a time, so each JoinedChat can be matched to its request.
    std::vector<std::pair<QByteArray, std::int32_t>> joined;
    QObject::connect(&sock, &QuonTOCSock::JoinedChat,
                     [&](const QByteArray& name, std::int32_t id) { joined.emplace_back(name, id); });
    QSignalSpy users(&sock, &QuonTOCSock::ChatUserUpdate);
    for (int i = 1; i <= kRooms; ++i) {
        sock.JoinChat("Soak Room " + QByteArray::number(i), 4);
        ASSERT_TRUE(waitFor([&] { return int(joined.size()) == i; })) << "join " << i;
    }
    for (int i = 0; i < kRooms; ++i) {
        EXPECT_EQ(joined[i].first, "Soak Room " + QByteArray::number(i + 1));
        EXPECT_EQ(joined[i].second, i + 1); // tocd numbers new rooms from 1
    }
    ASSERT_TRUE(waitFor([&] { return users.size() == kRooms; }));
    EXPECT_EQ(sock.LastChatID(), kRooms);
    // Slots 1..999, then 0, 1, ...: the last of 1200 joins sits in slot 200, and the first 200
    // rooms' slots now hold later ones.
    EXPECT_EQ(QuonTOCSockTestAccess::roomSlot(sock), 200);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 200).ID, kRooms);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 0).ID, 1000);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 201).ID, 201);
    EXPECT_EQ(sock.GetChatID("soakroom1200"), kRooms);
    EXPECT_EQ(sock.GetChatID("Soak Room 1"), 0); // overwritten by the wrap

    // Chat: every message comes back to its sender, numbered, so a loss, a repeat or a swap shows.
    // The client's sequence counter wraps during the flood.
    QuonTOCSockTestAccess::seq(sock) = 65535 - kMessages / 2;
    std::vector<QByteArray> heard;
    heard.reserve(kMessages);
    QObject::connect(&sock, &QuonTOCSock::IncomingChatMessage,
                     [&](std::int32_t room, const QByteArray& who, bool whisper, const QByteArray& text) {
                         if (room == 7 && who == "Tarn Wick" && !whisper)
                             heard.push_back(text);
                         else
                             ++counts.others;
                     });
    for (int sent = 0; sent < kMessages;) {
        for (int n = 0; n < kInFlight && sent < kMessages; ++n, ++sent)
            sock.SendChat(7, "soak: message " + QByteArray::number(sent));
        ASSERT_TRUE(waitFor([&] { return int(heard.size()) == sent; })) << "after " << sent;
    }
    for (int i = 0; i < kMessages; ++i)
        ASSERT_EQ(heard[i], "soak: message " + QByteArray::number(i)) << i;

    // Every tick sent while connected reached the server once.
    sock.AntiIdle(false);
    const int sentTicks = int(ticks.size());
    EXPECT_GT(sentTicks, 3);
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("keep-alive"), sentTicks));
    EXPECT_EQ(tocd.log().count(QStringLiteral("keep-alive")), sentTicks);

    EXPECT_EQ(counts.loggedOff, 0);
    EXPECT_EQ(counts.errors, 0);
    EXPECT_EQ(counts.socketErrors, 0);
    EXPECT_EQ(counts.others, 0);
    EXPECT_EQ(int(joined.size()), kRooms);
    EXPECT_EQ(int(users.size()), kRooms);
    EXPECT_EQ(in.size(), 1);

    sock.LogOff();
    EXPECT_EQ(counts.loggedOff, 1);
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("disconnected")));
    EXPECT_EQ(tocd.process().state(), QProcess::Running);
}

} // namespace
