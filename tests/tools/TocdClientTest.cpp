// The client over real TCP against tocd: two QuonTOCSock instances sign on, chat and leave.
#include "QuonTOCSock.h"
#include "TestAccess.h"
#include "TocdProcess.h"
#include "printers.h"
#include "wait.h"

#include <QSignalSpy>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {

const QByteArray kAccounts = "account Tarn Wick:secret\n"
                             "g:Buddies\nb:alice\nb:bob:Bob Smith\ng:Family\nb:mom\nd:spammer\nm:4\n"
                             "account Other One:pw\n";

// Spins the event loop a little longer, so that a second, unwanted event would have time to come.
void settle()
{
    waitFor([] { return false; }, 300);
}

class TocdClient : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(tocd.start({"--accounts", tocd.accountsFile(kAccounts)})); }

    TocdProcess tocd;
};

TEST_F(TocdClient, TwoClientsSignOnChatAndLeave)
{
    QuonTOCSock a, b;
    QSignalSpy aIn(&a, &QuonTOCSock::LoggedIn), bIn(&b, &QuonTOCSock::LoggedIn);
    a.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    b.Login("Other One", "pw", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return aIn.size() == 1 && bIn.size() == 1; }));
    EXPECT_EQ(aIn[0].at(0).toByteArray(), "Tarn Wick");
    EXPECT_EQ(aIn[0].at(1).toByteArray(), "GROUP [Buddies]\r\nalice\r\nbob:Bob Smith\r\nGROUP [Family]\r\nmom\r\n");
    EXPECT_EQ(aIn[0].at(2).toByteArray(), "spammer\r\n");
    EXPECT_EQ(bIn[0], (QVariantList{QByteArray("Other One"), QByteArray(), QByteArray()}));

    QSignalSpy aJoined(&a, &QuonTOCSock::JoinedChat), bJoined(&b, &QuonTOCSock::JoinedChat);
    QSignalSpy aUsers(&a, &QuonTOCSock::ChatUserUpdate), bUsers(&b, &QuonTOCSock::ChatUserUpdate);
    a.JoinChat("Tarn Lounge", 5);
    ASSERT_TRUE(waitFor([&] { return aJoined.size() == 1 && aUsers.size() == 1; }));
    b.JoinChat("tarnlounge", 5);
    ASSERT_TRUE(waitFor([&] { return bJoined.size() == 1 && bUsers.size() == 1 && aUsers.size() == 2; }));
    const std::int32_t id = aJoined[0].at(1).toInt();
    EXPECT_NE(id, 0);
    EXPECT_EQ(aJoined[0], (QVariantList{QByteArray("Tarn Lounge"), id}));
    EXPECT_EQ(bJoined[0], (QVariantList{QByteArray("Tarn Lounge"), id}));
    EXPECT_EQ(a.GetChatID("TARN LOUNGE"), id);
    EXPECT_EQ(aUsers[1], (QVariantList{id, true, QByteArray("Other One"), QByteArray()}));
    EXPECT_EQ(bUsers[0], (QVariantList{id, true, QByteArray("Tarn Wick"), QByteArray("Other One")}));

    QSignalSpy aChat(&a, &QuonTOCSock::IncomingChatMessage), bChat(&b, &QuonTOCSock::IncomingChatMessage);
    a.SendChat(id, "see: \"here\" (and) \\ there");
    b.ChatWhisper(id, "Tarn Wick", "just: you");
    ASSERT_TRUE(waitFor([&] { return aChat.size() == 2 && bChat.size() == 1; }));
    const QVariantList said{id, QByteArray("Tarn Wick"), false, QByteArray("see: \"here\" (and) \\ there")};
    EXPECT_EQ(aChat[0], said); // the sender hears its own message
    EXPECT_EQ(bChat[0], said);
    EXPECT_EQ(aChat[1], (QVariantList{id, QByteArray("Other One"), true, QByteArray("just: you")}));

    QSignalSpy bIm(&b, &QuonTOCSock::IncomingMessage);
    a.SendIm("otherone", "hi: there", false);
    ASSERT_TRUE(waitFor([&] { return bIm.size() == 1; }));
    EXPECT_EQ(bIm[0], (QVariantList{QByteArray("Tarn Wick"), QByteArray("hi: there")}));

    QSignalSpy bLeft(&b, &QuonTOCSock::LeftChat);
    b.ChatLeave(id);
    ASSERT_TRUE(waitFor([&] { return bLeft.size() == 1 && aUsers.size() == 3; }));
    EXPECT_EQ(bLeft[0].at(0).toInt(), id);
    EXPECT_EQ(aUsers[2], (QVariantList{id, false, QByteArray("Other One"), QByteArray()}));

    QSignalSpy aOff(&a, &QuonTOCSock::LoggedOff), bOff(&b, &QuonTOCSock::LoggedOff);
    a.LogOff();
    b.LogOff();
    EXPECT_EQ(aOff.size(), 1);
    EXPECT_EQ(bOff.size(), 1);
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("disconnected"), 2));
    EXPECT_EQ(tocd.process().state(), QProcess::Running);
}

// A permanent buddy is in the next sign-on's list, under the group the list files it in.
TEST_F(TocdClient, APermanentBuddyComesBackAtTheNextSignOn)
{
    QuonTOCSock sock;
    QSignalSpy in(&sock, &QuonTOCSock::LoggedIn), packets(&sock, &QuonTOCSock::IncomingPacket);
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 1; }));
    sock.AddBuddy("Toc Test", true);
    ASSERT_TRUE(waitFor([&] { return packets.last().at(1).toByteArray() == "NEW_BUDDY_REPLY2:Toc Test:added"; }));
    sock.LogOff();
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 2; }));
    EXPECT_EQ(in[1].at(1).toByteArray(),
              "GROUP [Buddies]\r\nalice\r\nbob:Bob Smith\r\nGROUP [Family]\r\nmom\r\nToc Test\r\n");
}

TEST_F(TocdClient, WrongPasswordGivesError980)
{
    QuonTOCSock sock;
    QSignalSpy errors(&sock, &QuonTOCSock::Error), in(&sock, &QuonTOCSock::LoggedIn);
    sock.Login("Tarn Wick", "not it", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return errors.size() == 1; }));
    EXPECT_EQ(errors[0].at(0).value<std::int16_t>(), 980);
    EXPECT_EQ(in.size(), 0);
}

TEST_F(TocdClient, ServerKilledMidSessionGivesLoggedOffOnce)
{
    QuonTOCSock sock;
    QSignalSpy in(&sock, &QuonTOCSock::LoggedIn), off(&sock, &QuonTOCSock::LoggedOff);
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 1; }));
    tocd.kill();
    ASSERT_TRUE(waitFor([&] { return off.size() == 1; }));
    settle();
    EXPECT_EQ(off.size(), 1);
    EXPECT_EQ(off[0].at(0).toByteArray(), "tarnwick");
}

TEST_F(TocdClient, AntiIdleKeepAlivesReachTheServer)
{
    QuonTOCSock sock;
    QSignalSpy in(&sock, &QuonTOCSock::LoggedIn);
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 1; }));
    QuonTOCSockTestAccess::antiIdleTimer(sock).setInterval(50);
    sock.AntiIdle(true);
    EXPECT_TRUE(tocd.waitForLog(QStringLiteral("keep-alive"), 3));
    sock.AntiIdle(false);
    EXPECT_FALSE(tocd.log().contains(QStringLiteral("closing"))); // keep-alives never end the session
}

TEST(TocdClientNoServer, ConnectToAClosedPortGivesSocketError)
{
    quint16 port = 0;
    {
        QTcpServer probe; // a port that was free a moment ago and has nobody listening now
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    QuonTOCSock sock;
    QSignalSpy errors(&sock, &QuonTOCSock::SocketError), off(&sock, &QuonTOCSock::LoggedOff);
    sock.Login("Tarn Wick", "secret", QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(waitFor([&] { return errors.size() == 1; }, 5000));
    EXPECT_FALSE(errors[0].at(1).toString().isEmpty());
    settle();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(off.size(), 0); // nothing was open, so nothing was logged off
}

} // namespace
