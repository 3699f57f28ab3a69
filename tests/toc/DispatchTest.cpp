// Sign-on and the server messages, through the scripted socket.
#include "EventLog.h"
#include "FakeTocSocket.h"
#include "ModTOC.h"
#include "QuonTOCSock.h"
#include "TarnwickBuildConfig.h"
#include "TestAccess.h"
#include "printers.h"

#include <QLoggingCategory>
#include <QSet>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
const QByteArray kVersion("\x00\x00\x00\x01", 4);

// A data frame's payload as the client sent it: header and trailing zero byte taken off.
QByteArray line(const QByteArray& frame)
{
    return frame.mid(6).chopped(1);
}

class Dispatch : public ::testing::Test
{
protected:
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};
    EventLog log{sock};

    void connectAs(const QByteArray& name)
    {
        sock.Login(name, "secret", "toc.example", 5190);
        fake->open();
        fake->sent.clear();
    }
    void server(const QByteArray& payload) { fake->deliver(flapFrame(2, payload)); }
    // The command lines sent since the last call.
    QByteArrayList sentLines()
    {
        QByteArrayList out;
        for (const QByteArray& frame : std::exchange(fake->sent, {}))
            out << line(frame);
        return out;
    }
};

TEST_F(Dispatch, ServerSignOnFrameGetsOurSignOnFrameAndTheLoginLine)
{
    connectAs("Tarn Wick");
    fake->deliver(flapFrame(1, kVersion, 0));
    ASSERT_EQ(fake->sent.size(), 2);
    EXPECT_EQ(fake->sent[0], QByteArray("*\x01\x00\x01\x00\x10"
                                        "\x00\x00\x00\x01\x00\x01\x00\x08tarnwick",
                                        22));
    const QByteArray login = "toc2_login " + QByteArray(TarnwickBuild::kAuthHost) + " 29999 tarnwick 0x270c005d311b English  "
                             "\"QuonSockTOC2.0\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 51837264";
    EXPECT_EQ(fake->sent[1], "*\x02" + QByteArray("\x00\x02", 2) + ModTOC::EncodeWord(login.size() + 1) + login +
                                 '\0');
}

TEST_F(Dispatch, OtherSignOnFramesGetNoAnswer)
{
    connectAs("Tarn Wick");
    fake->deliver(flapFrame(1, QByteArray("\x00\x00\x00\x02", 4)));
    fake->deliver(flapFrame(1, QByteArray()));
    fake->deliver(flapFrame(1, kVersion + 'x'));
    EXPECT_TRUE(fake->sent.isEmpty());
}

TEST_F(Dispatch, Config2FillsTheTextsAndEndsTheSignOn)
{
    struct Case {
        const char* what;
        QByteArray payload;
        const char* buddyList;
        const char* blocked;
        QByteArrayList combo1;
    };
    const Case cases[] = {
        {"as servers send it", "CONFIG2:g:Buddies\nb:alice\nb:bob:Bob Smith\ng:Family\nb:mom\nd:spammer\np:friend\nm:3\ndone:\n",
         "GROUP [Buddies]\r\nalice\r\nbob:Bob Smith\r\nGROUP [Family]\r\nmom\r\n", "spammer\r\n",
         {"p:friend", "m:3", "done:", ""}},
        {"empty list", "CONFIG2:done:", "", "", {"done:"}},
        {"one buddy on the first line", "CONFIG2:b:x", "x\r\n", "", {}},
        {"a blocked name on the first line", "CONFIG2:d:someone\n", "", "someone\r\n", {""}},
        {"kinds are case-sensitive", "config2:G:big\nB:bob\ng:small", "GROUP [small]\r\n", "", {"G:big", "B:bob"}},
        {"a kind letter alone is dropped", "CONFIG2:g\nb:\nd", "\r\n", "", {}},
        {"no entries at all", "CONFIG2", "", "", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        connectAs("Tarn Wick");
        server("NICK:Tarn Wick");
        server(c.payload);
        EXPECT_EQ(log.take(), Lines{"LoggedIn(Tarn Wick, " + std::string(c.buddyList) + ", " + c.blocked + ")"});
        const QByteArrayList sent = sentLines();
        ASSERT_EQ(sent.size(), 2);
        EXPECT_TRUE(sent[0].startsWith("toc_add_buddy quon PIMP"));
        EXPECT_EQ(sent[1], "toc_init_done");
        EXPECT_EQ(QuonTOCSockTestAccess::combo1(sock), c.combo1);
    }
}

TEST_F(Dispatch, ThePimpDigitIsTheSameOnEveryRun)
{
    auto digits = [](QuonTOCSock& s, FakeTocSocket* f) {
        QByteArray out;
        s.Login("a", "b", "h", 1);
        f->open();
        for (int i = 0; i < 50; ++i)
            f->deliver(flapFrame(2, "CONFIG2:done:"));
        for (qsizetype i = 1; i < f->sent.size(); i += 2)
            out += f->sent[i].mid(6).chopped(1).mid(QByteArray("toc_add_buddy quon PIMP").size());
        return out;
    };
    auto* otherFake = new FakeTocSocket;
    QuonTOCSock other{std::unique_ptr<TocSocket>(otherFake)};
    const QByteArray ours = digits(sock, fake);
    ASSERT_EQ(ours.size(), 50);
    for (char d : ours)
        EXPECT_TRUE(d >= '0' && d <= '6') << d;
    EXPECT_GT(QSet<char>(ours.begin(), ours.end()).size(), 3); // it does vary within a run
    EXPECT_EQ(digits(other, otherFake), ours);
}

TEST_F(Dispatch, Config2IsParsedWithoutRunningTheEventLoop)
{
    connectAs("Tarn Wick");
    bool timerRan = false;
    QTimer::singleShot(0, &sock, [&] { timerRan = true; });
    bool ranDuringParse = true;
    QObject::connect(&sock, &QuonTOCSock::LoggedIn, &sock, [&] { ranDuringParse = timerRan; });
    server("CONFIG2:g:Buddies\nb:alice\nb:bob\nb:carol\nd:dave\ndone:\n");
    EXPECT_FALSE(ranDuringParse);
}

TEST_F(Dispatch, SecondConfig2RepeatsTheSignOnEnd)
{
    connectAs("Tarn Wick");
    server("CONFIG2:b:x");
    server("CONFIG2:b:y");
    EXPECT_EQ(log.take(), (Lines{"LoggedIn(, x\r\n, )", "LoggedIn(, y\r\n, )"}));
    EXPECT_EQ(sentLines().size(), 4);
}

// Each server message and the event it raises (what each line gives, malformed ones included, is
// the parser's table).
TEST_F(Dispatch, ServerMessagesRaiseTheirEvents)
{
    const std::pair<QByteArray, Lines> cases[] = {
        {"SIGN_ON:TOC2.0", {}},
        {"NICK:Tarn Wick", {}},
        {"IM_IN_ENC2:TocTestOne:F:F:T: U :F:L:en:a:b:c", {"IncomingMessage(TocTestOne, a:b:c)"}},
        {"UPDATE_BUDDY2:alice:T:0:1700000000:0: O :", {"BuddyOnline(alice)"}},
        {"UPDATE_BUDDY2:alice:F:0:0:0:", {"BuddyOffline(alice)"}},
        {"BUDDY_CAPS2:alice:0946134D-4C7F-11D1-8222-444553540000,", {"IncomingBuddyCapabilities(alice, 0946134D-4C7F-11D1-8222-444553540000,)"}},
        {"BART2:alice:0 2 aGk=", {"IncomingBartData(alice, 0 2 aGk=)"}},
        {"ERROR:901:bob:not here", {"Error(901)"}},
        {"ERROR:oops", {"Error(0)"}},
        {"EVILED:25:bob", {"Warned(bob, 25)"}},
        {"CHAT_IN_ENC:1234:bob:T:A:en:psst", {"IncomingChatMessage(1234, bob, true, psst)"}},
        {"CHAT_UPDATE_BUDDY:1234:T:alice:bob:carol", {"ChatUserUpdate(1234, true, alice, bob)"}},
        {"CHAT_INVITE:Lobby:77:bob:Join us: now", {"IncomingChatInvite(Lobby, 77, bob, Join us: now)"}},
        {"CHAT_LEFT:1234", {"LeftChat(1234)"}},
        {"GOTO_URL:TIC:http://host/info?x=1", {"IncomingProfile(http://host/info?x=1)"}},
        {"ADMIN_NICK_STATUS:0", {"ScreenNameFormatUpdate(true)"}},
        {"ADMIN_PASSWD_STATUS:2", {"PassWordUpdate(false)"}},
        {"RVOUS_PROPOSE:bob:uuid:cookie:1:10.0.0.1:10.0.0.2:10.0.0.3:5190", {"RendevousRequest(bob, uuid, cookie, 10.0.0.1)"}},
        {"SOMETHING_NEW:1:2", {}},
        {"", {}},
    };
    connectAs("Tarn Wick");
    for (const auto& [payload, events] : cases) {
        server(payload);
        EXPECT_EQ(log.take(), events) << payload.toStdString();
    }
    EXPECT_TRUE(sentLines().isEmpty());
}

// A handler that lets more frames be handled (here by the socket announcing them while it runs)
// still has its own event's values: the later frames wait until it returns, and come in order.
TEST_F(Dispatch, EventValuesBelongToTheirEventAndLaterFramesWait)
{
    connectAs("Tarn Wick");
    std::vector<std::string> seen;
    QObject::connect(&sock, &QuonTOCSock::IncomingMessage, &sock, [&](const QByteArray& user, const QByteArray& text) {
        if (user == "first")
            server("IM_IN_ENC2:second:F:F:T: U :F:L:en:overwritten?");
        seen.push_back(user.toStdString() + ": " + text.toStdString());
    });
    server("IM_IN_ENC2:first:F:F:T: U :F:L:en:mine");
    EXPECT_EQ(seen, (std::vector<std::string>{"first: mine", "second: overwritten?"}));
}

// A new sign-on is a new account: nothing of the previous one's name or stored lists carries over.
TEST_F(Dispatch, LoginStartsTheAccountAfresh)
{
    connectAs("Tarn Wick");
    server("NICK:Tarn Wick");
    server("CONFIG2:g:Old Friends\nb:alice\np:someone\ndone:\n");
    log.take();
    connectAs("Other One");
    server("CONFIG2:done:\n");
    EXPECT_EQ(log.take(), Lines{"LoggedIn(, , )"});
    EXPECT_EQ(QuonTOCSockTestAccess::combo1(sock), (QByteArrayList{"done:", ""}));
    sentLines();
    sock.AddBuddy("bob", true);
    EXPECT_EQ(sentLines(), (QByteArrayList{"toc_add_buddy \"bob\"", "toc2_new_buddies \"\\{g:Buddies\nb:bob\n\\}\""}));
}

TEST_F(Dispatch, EveryFrameRaisesIncomingPacketFirst)
{
    EventLog all(sock, true);
    connectAs("Tarn Wick");
    fake->deliver(flapFrame(5, {}) + flapFrame(2, "CHAT_LEFT:7") + flapFrame(9, "x"));
    EXPECT_EQ(all.take(), (Lines{"IncomingPacket(5, )", "IncomingPacket(2, CHAT_LEFT:7)", "LeftChat(7)",
                                 "IncomingPacket(9, x)"}));
}

TEST_F(Dispatch, ChatJoinFillsTheRoomTableAndWrapsAfter999Rooms)
{
    connectAs("Tarn Wick");
    server("CHAT_JOIN:1234:Tarnwick Lounge");
    EXPECT_EQ(log.take(), Lines{"JoinedChat(Tarnwick Lounge, 1234)"});
    EXPECT_EQ(sock.LastChatID(), 1234);
    EXPECT_EQ(QuonTOCSockTestAccess::roomSlot(sock), 1);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1).ID, 1234);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1).RoomName, "Tarnwick Lounge");

    for (int id = 2; id <= 1000; ++id)
        server("chat_join:" + QByteArray::number(id) + ":room " + QByteArray::number(id));
    EXPECT_EQ(QuonTOCSockTestAccess::roomSlot(sock), 0); // the thousandth join
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 0).ID, 1000);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 999).ID, 999);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1000).ID, 0); // never written
    server("CHAT_JOIN:1001:again");
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1).RoomName, "again");

    sock.LogOff();
    EXPECT_EQ(sock.LastChatID(), 0);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1).RoomName, "");
}

TEST_F(Dispatch, AMalformedChatJoinKeepsWhatItCannotSet)
{
    connectAs("Tarn Wick");
    server("CHAT_JOIN:55:First");
    log.take();
    for (int i = 0; i < 998; ++i)
        server("CHAT_JOIN:1:x"); // back round to slot 0, then slot 1 again
    server("CHAT_JOIN:1:x");
    server("CHAT_JOIN:abc");
    EXPECT_EQ(log.take().back(), "JoinedChat(, 1)");
    EXPECT_EQ(sock.LastChatID(), 1);
    EXPECT_EQ(QuonTOCSockTestAccess::roomSlot(sock), 1);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1).ID, 55);
    EXPECT_EQ(QuonTOCSockTestAccess::room(sock, 1).RoomName, "First");
}

// The debug output says what was passed over and refused, but never the password in any form.
TEST_F(Dispatch, DebugOutputNamesWhatWasSkippedAndNeverThePassword)
{
    static QStringList messages;
    messages.clear();
    QLoggingCategory::setFilterRules(QStringLiteral("tarnwick.toc.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { messages << text; });
    connectAs("Tarn Wick");
    fake->deliver(flapFrame(1, kVersion));
    server("SOMETHING_NEW:1");
    EXPECT_THROW(sock.SetProfile(QByteArray(3000, 'x')), std::invalid_argument);
    EXPECT_THROW(sock.Login("Tarn Wick", "secret\n", "toc.example", 5190), std::invalid_argument);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    const QString all = messages.join('\n');
    EXPECT_TRUE(all.contains("SOMETHING_NEW")) << all.toStdString();
    EXPECT_TRUE(all.contains("toc_set_info")) << all.toStdString();
    for (const char* secret : {"secret", "0x270c005d311b", "29999 tarnwick"}) // password, roasted, login line
        EXPECT_FALSE(all.contains(QLatin1String(secret))) << secret;
}

} // namespace
