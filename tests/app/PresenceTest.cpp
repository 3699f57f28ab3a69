// Staying present, on a scripted socket and a clock moved by hand: signing on again, rejoining,
// a dead link, the keychain.
#include "FakeClock.h"
#include "FakeServer.h"
#include "Presence.h"
#include "QuonTOCSock.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"
#include "printers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

class PresenceTest : public ::testing::Test
{
protected:
    FakeTocSocket* net = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(net)};
    FakeClock* clock = new FakeClock;
    FakeVault* vault = new FakeVault;
    Presence presence{sock, std::unique_ptr<PresenceClock>(clock), std::unique_ptr<PasswordVault>(vault)};
    QStringList lines; // log lines, and status texts in brackets
    int ended = 0;

    void SetUp() override
    {
        QObject::connect(&presence, &Presence::logLine, [this](const QString& l) { lines << l; });
        QObject::connect(&presence, &Presence::directLogLine, [this](const QString& l) { lines << l; });
        QObject::connect(&presence, &Presence::statusChanged, [this](const QString& s) { lines << "[" + s + "]"; });
        QObject::connect(&presence, &Presence::ended, [this] { ++ended; });
    }
    void signOn()
    {
        presence.signOn("Tarn Wick", "secret");
        acceptSignOn(*net);
    }
    QStringList takeLines() { return std::exchange(lines, {}); }
    /// The next sign-on starts after exactly this wait, not a millisecond sooner.
    void expectRetryAfter(std::chrono::milliseconds wait)
    {
        const int calls = net->connectCalls;
        clock->advance(wait - 1ms);
        EXPECT_EQ(net->connectCalls, calls) << wait.count();
        clock->advance(1ms);
        EXPECT_EQ(net->connectCalls, calls + 1) << wait.count();
    }
};

TEST_F(PresenceTest, SignsOnAgainAfterWaitsThatDoubleUpToFiveMinutes)
{
    presence.signOn("Tarn Wick", "secret");
    const int expected[] = {2, 4, 8, 16, 32, 64, 128, 256, 300, 300};
    for (int seconds : expected) {
        net->fail(10061, "Connection refused", false);
        clock->settle();
        ASSERT_EQ(lines.mid(lines.size() - 4),
                  (QStringList{"[Disconnected]", "Connection failed: Connection refused",
                               QString("Reconnecting in %1 s.").arg(seconds), "[Reconnecting]"}));
        expectRetryAfter(std::chrono::seconds(seconds));
        EXPECT_EQ(lines.last(), "Signing on again.");
    }

    // A sign-on that lasts two minutes starts the count again; the spread moves each wait by up to a
    // fifth either way.
    acceptSignOn(*net);
    for (int i = 0; i < 3; ++i) {
        clock->advance(40s);
        serverSays(*net, "UPDATE_BUDDY2:Tarn Wick:T:0:0:0: O :");
    }
    takeLines();
    clock->spread = 0;
    net->peerClose();
    clock->settle();
    EXPECT_EQ(takeLines(), (QStringList{"[Disconnected]", "Connection to server lost.",
                                               "Reconnecting in 2 s.", "[Reconnecting]"}));
    expectRetryAfter(1600ms);
}

TEST_F(PresenceTest, RefusedSignOnsAreNotRetriedAndConnectingTooOftenWaitsTenMinutes)
{
    for (const QByteArray error : {"ERROR:980", "ERROR:982"}) {
        takeLines();
        presence.signOn("Tarn Wick", "wrong");
        net->open();
        serverSays(*net, error);
        net->peerClose();
        clock->settle();
        EXPECT_FALSE(lines.filter("Reconnecting").size()) << error.constData();
        EXPECT_EQ(presence.state(), Presence::State::SignedOff);
        const int calls = net->connectCalls;
        clock->advance(1h);
        EXPECT_EQ(net->connectCalls, calls) << error.constData();
    }
    EXPECT_EQ(ended, 2);

    clock->spread = 0;
    presence.signOn("Tarn Wick", "secret");
    net->open();
    serverSays(*net, "ERROR:983");
    net->peerClose();
    clock->settle();
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"Reconnecting in 600 s.", "[Reconnecting]"}));
    expectRetryAfter(600s);
}

TEST_F(PresenceTest, DisconnectStaySignedOnOffAndStopCancelARetry)
{
    const std::function<void(Presence&)> cancels[] = {
        [](Presence& p) { p.signOff(); },
        [](Presence& p) { p.setStaySignedOn(false); },
        [](Presence& p) { p.stop(); }, // the end of the run: nothing is planned after it
    };
    for (const auto& cancel : cancels) {
        presence.setStaySignedOn(true);
        signOn();
        net->peerClose();
        clock->settle();
        ASSERT_EQ(presence.state(), Presence::State::Waiting);
        cancel(presence);
        const int calls = net->connectCalls;
        clock->advance(1h);
        EXPECT_EQ(net->connectCalls, calls);
        EXPECT_EQ(presence.state(), Presence::State::SignedOff);
    }
    EXPECT_EQ(ended, 0);
}

TEST_F(PresenceTest, WithoutStaySignedOnALostConnectionStaysLost)
{
    presence.setStaySignedOn(false);
    signOn();
    net->peerClose();
    clock->settle();
    clock->advance(1h);
    EXPECT_EQ(presence.state(), Presence::State::SignedOff);
    EXPECT_EQ(net->connectCalls, 1);
    EXPECT_EQ(ended, 1);
}

TEST_F(PresenceTest, RejoinsEachRoomOnceAndNotTheOnesLeftOrRefused)
{
    signOn();
    const std::pair<const char*, QByteArray> joins[] = {
        {"lobby", "CHAT_JOIN:7:Lobby"}, {"den", "CHAT_JOIN:12:den"},   {"lobby", "CHAT_JOIN:7:Lobby"},
        {"out", "CHAT_JOIN:13:out"},    {"kicked", "CHAT_JOIN:14:kicked"}, {"cellar", "CHAT_JOIN:15:cellar"},
    };
    for (const auto& [room, answer] : joins) {
        presence.join(room, 5);
        serverSays(*net, answer);
    }
    presence.leave(3);                // the user left "out"
    serverSays(*net, "CHAT_LEFT:14"); // the server put us out of "kicked": tried again at the next sign-on
    takeCommandLines(*net);
    EXPECT_EQ(presence.roomList().entries(), (QStringList{"Lobby:7", "den:12", "Lobby:7", "cellar:15"}));

    net->peerClose();
    clock->settle();
    clock->advance(2s);
    net->open();
    serverSays(*net, "SIGN_ON:TOC2.0");
    serverSays(*net, "CONFIG2:done:");
    QByteArrayList joined;
    for (const QByteArray& line : takeCommandLines(*net))
        if (line.startsWith("toc_chat_join"))
            joined << line;
    EXPECT_EQ(joined, (QByteArrayList{R"(toc_chat_join "5" "lobby")", R"(toc_chat_join "5" "den")",
                                      R"(toc_chat_join "5" "kicked")", R"(toc_chat_join "5" "cellar")"}));

    takeLines();
    serverSays(*net, "CHAT_JOIN:1:lobby");
    serverSays(*net, "ERROR:913"); // no room named: only time tells which rejoin it was
    serverSays(*net, "CHAT_JOIN:2:Den");
    clock->advance(30s);
    EXPECT_EQ(presence.roomList().entries(), (QStringList{"lobby:1", "Den:2", "lobby:1"}));
    EXPECT_EQ(takeLines(), (QStringList{"Rejoined chatroom lobby:5.",
                                        "Error 913: Error encountered while processing request.",
                                        "Rejoined chatroom den:5.", "Could not rejoin chatroom kicked:5.",
                                        "Could not rejoin chatroom cellar:5."}));
    // What the user chose stays chosen: only the Leave forgot a room.
    QStringList kept;
    for (const Presence::Room& room : presence.remembered().rooms)
        kept << room.label();
    EXPECT_EQ(kept, (QStringList{"lobby:5", "den:5", "kicked:5", "cellar:5"}));
}

TEST_F(PresenceTest, ADeadLinkIsNoticedAfterNinetySilentSeconds)
{
    signOn();
    clock->advance(59s);
    serverSays(*net, "IM_IN_ENC2:bob:F:F:T: U :F:L:en:hi"); // anything from the server counts
    clock->advance(59s);
    EXPECT_TRUE(takeCommandLines(*net).isEmpty());
    clock->advance(1s);
    EXPECT_EQ(takeCommandLines(*net), QByteArrayList{R"(toc_get_status "tarnwick")"});
    serverSays(*net, "UPDATE_BUDDY2:Tarn Wick:T:0:0:0: O :");
    clock->advance(59s);
    EXPECT_TRUE(takeCommandLines(*net).isEmpty());
    takeLines();
    clock->advance(1s + 30s);
    EXPECT_EQ(takeCommandLines(*net), QByteArrayList{R"(toc_get_status "tarnwick")"});
    clock->settle();
    EXPECT_EQ(takeLines(), (QStringList{"No answer from the server for 90 s.", "[Disconnected]",
                                        "Connection to server lost.", "Reconnecting in 2 s.", "[Reconnecting]"}));
    EXPECT_EQ(net->state(), TocSocket::Closed);
}

TEST_F(PresenceTest, JoinWhileNotSignedOnSaysSo)
{
    presence.join("lobby", 5);
    signOn();
    net->peerClose();
    clock->settle();
    takeLines();
    presence.join("lobby", 5); // while reconnecting
    EXPECT_EQ(takeLines(), QStringList{"Not signed on."});
    EXPECT_TRUE(takeCommandLines(*net).isEmpty());
}

TEST_F(PresenceTest, TheKeychainKeepsThePasswordOnlyWhenAskedTo)
{
    signOn();
    EXPECT_TRUE(vault->calls.isEmpty());
    presence.setRememberPassword(true);
    EXPECT_EQ(vault->kept.value("tarnwick"), "secret");
    net->peerClose();
    clock->settle();
    clock->advance(2s);
    acceptSignOn(*net);
    EXPECT_EQ(vault->calls, QStringList{"write tarnwick"}); // once, not at every sign-on
    presence.setRememberPassword(false);
    EXPECT_TRUE(vault->kept.isEmpty());

    // The next run: the password comes from the keychain, and --connect signs on with it.
    vault->kept.insert("tarnwick", "secret");
    Presence::Remembered r;
    r.screenName = "Tarn Wick";
    r.rememberPassword = true;
    QString recalled;
    QObject::connect(&presence, &Presence::passwordRecalled, [&](const QString& p) { recalled = p; });
    presence.setPassword(QString());
    presence.restore(r);
    const int calls = net->connectCalls;
    presence.start(true);
    EXPECT_EQ(recalled, "secret");
    EXPECT_EQ(net->connectCalls, calls + 1);
}

TEST_F(PresenceTest, WithoutAKeychainThePasswordIsKeptForThisRunOnly)
{
    vault->available = false;
    Presence::Remembered r;
    r.screenName = "Tarn Wick";
    r.rememberPassword = true;
    presence.restore(r);
    presence.start(true);
    EXPECT_EQ(takeLines(), (QStringList{"No keychain available: the password is kept for this run only.",
                                        "Cannot sign on: no password remembered."}));
    signOn(); // typed: good for this run, said once
    net->peerClose();
    clock->settle();
    clock->advance(2s);
    EXPECT_EQ(net->connectCalls, 2);
    EXPECT_EQ(lines.filter("keychain").size(), 0);

    presence.restore({});
    presence.start(true);
    EXPECT_EQ(lines.last(), "Cannot sign on: no screen name remembered.");
}

TEST_F(PresenceTest, KeepsTheSessionInTheRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("transcript.sqlite");
    presence.keepRecord(std::make_unique<TranscriptStore>(path));
    QStringList notes;
    QObject::connect(&presence, &Presence::notify, [&](const QString& n) { notes << n; });
    presence.start(false);
    signOn();
    presence.join("Lobby", 5);
    serverSays(*net, "CHAT_JOIN:7:Lobby");
    serverSays(*net, "CHAT_UPDATE_BUDDY:7:T:Tarn Wick:Some Body:Third"); // who was there: nobody came
    serverSays(*net, "CHAT_UPDATE_BUDDY:7:T:New One");
    serverSays(*net, "CHAT_IN_ENC:7:Some Body:F:A:en:hello");
    serverSays(*net, "CHAT_IN_ENC:7:Some Body:T:A:en:psst");
    serverSays(*net, "CHAT_IN_ENC:99:Stranger:F:A:en:not our room");
    serverSays(*net, "CHAT_UPDATE_BUDDY:7:F:Third");
    serverSays(*net, "IM_IN_ENC2:Pal:T:F:T: U :F:L:en:away now");
    const Transcript::RoomRef lobby = presence.roomOf(presence.roomList().rows().first());
    EXPECT_EQ(presence.members(lobby), (QStringList{"Tarn Wick", "Some Body", "New One"}));
    EXPECT_EQ(notes, QStringList{"Instant message from Pal."});
    takeCommandLines(*net);
    EXPECT_TRUE(presence.say(lobby, "hi all"));
    EXPECT_EQ(takeCommandLines(*net), QByteArrayList{R"(toc_chat_send "7" "hi all")"});
    net->peerClose();
    clock->settle();
    EXPECT_FALSE(presence.say(lobby, "anyone?"));
    EXPECT_TRUE(presence.members(lobby).isEmpty());
    presence.record()->flush();

    const TranscriptReader reader(path);
    const auto rooms = reader.rooms();
    ASSERT_EQ(rooms.size(), 1);
    EXPECT_EQ(rooms[0].ref.exchange, 5);
    using Transcript::LineKind;
    QStringList lines;
    for (const Transcript::Line& line : reader.lines(rooms[0].id, 0, 10))
        lines << QString("%1 %2 %3").arg(int(line.kind)).arg(QString(line.sender), QString(line.text));
    EXPECT_EQ(lines, (QStringList{"2 New One ", "0 Some Body hello", "1 Some Body psst", "3 Third "}));
    const auto stays = reader.stays(rooms[0].id, Transcript::now());
    ASSERT_EQ(stays.size(), 1);
    EXPECT_EQ(stays[0].why, Transcript::Reason::Lost);
    const auto ims = reader.instantMessages(0, 10);
    ASSERT_EQ(ims.size(), 1);
    EXPECT_EQ(ims[0].peer, "Pal");
    EXPECT_TRUE(ims[0].autoResponse);
}

} // namespace
