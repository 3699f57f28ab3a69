// tocd's protocol logic, driven without sockets or clocks: connections are ids, output is captured
// (and counts as unsent until the test reads it), the time is whatever the test says.
#include "FakeTocSocket.h"
#include "ModTOC.h"
#include "TocServer.h"
#include "printers.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kFlapon("FLAPON\r\n\r\n");

class TocdServer : public ::testing::Test
{
protected:
    QHash<int, QByteArray> wire; // bytes written to each connection, not yet read by the test
    QList<int> closedIds;
    QList<int> abortedIds;       // those of closedIds whose unsent output was thrown away
    QStringList logged;
    TocServer server{makeAccounts(),
                     {[this](int id, const QByteArray& b) { return (wire[id] += b).size(); },
                      [this](int id, TocServer::CloseMode how) {
                          closedIds << id;
                          if (how == TocServer::CloseMode::Abort)
                              abortedIds << id;
                      },
                      [this](const QString& line) { logged << line; }},
                     {}};
    quint16 nextPort = 1024;

    static Accounts makeAccounts()
    {
        Accounts a;
        a.addFromOption("Tarn Wick:secret");
        a.addFromOption("Other:pw");
        a.addFromOption("Third:pw");
        return a;
    }

    static QByteArray signOnFrame(const QByteArray& name)
    {
        return flapFrame(1, QByteArray("\x00\x00\x00\x01\x00\x01", 6) + ModTOC::EncodeWord(name.size()) + name);
    }
    static QByteArray loginLine(const QByteArray& name, const QByteArray& password)
    {
        return "toc2_login login.oscar.aol.com 29999 " + name + ' ' + ModTOC::RoastPassword(password) +
               " English  \"QuonSockTOC2.0\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 51837264";
    }

    /// The data-frame payloads sent to a connection since the last call.
    QByteArrayList lines(int id)
    {
        QByteArrayList out;
        QByteArray& w = wire[id];
        while (w.size() >= 6) {
            const int n = ModTOC::DecodeWord(QByteArrayView(w).sliced(4, 2));
            if (w[1] == 2)
                out << w.mid(6, n);
            w.remove(0, 6 + n);
        }
        return out;
    }
    void say(int id, const QByteArray& command) { server.receive(id, flapFrame(2, command + '\0')); }
    int connect(const QString& address = QStringLiteral("10.0.0.1")) { return server.open(address, nextPort++); }
    bool logSays(int id, const QString& what) const
    {
        return logged.contains(QStringLiteral("conn %1: %2").arg(id).arg(what));
    }

    /// A new connection that tries to sign on; its output is left unread.
    int attempt(const QByteArray& name, const QByteArray& password, const QString& address = QStringLiteral("10.0.0.1"))
    {
        const int id = connect(address);
        const QByteArray key = ModTOC::NormalizeName(name);
        server.receive(id, kFlapon + signOnFrame(key) + flapFrame(2, loginLine(key, password) + '\0'));
        return id;
    }

    /// A connection signed on (and, unless told otherwise, past toc_init_done) with its output read.
    int signOn(const QByteArray& name, const QByteArray& password = "pw", bool initDone = true)
    {
        const int id = attempt(name, password);
        if (initDone)
            say(id, "toc_init_done");
        lines(id);
        return id;
    }
};

TEST_F(TocdServer, SignOnAnswersAndRefusals)
{
    const int id = connect();
    server.receive(id, kFlapon);
    EXPECT_EQ(wire[id], flapFrame(1, QByteArray("\x00\x00\x00\x01", 4), 0)); // the server's sign-on frame
    wire[id].clear();
    server.receive(id, signOnFrame("tarnwick") + flapFrame(2, loginLine("TarnWick", "secret") + '\0'));
    EXPECT_EQ(lines(id), (QByteArrayList{"SIGN_ON:TOC2.0", "NICK:Tarn Wick", "CONFIG2:done:\n"}));
    EXPECT_TRUE(closedIds.isEmpty());

    for (const auto& [name, password] : {std::pair<QByteArray, QByteArray>{"tarnwick", "wrong"}, {"nobody", "pw"}}) {
        const int bad = attempt(name, password);
        EXPECT_EQ(lines(bad), QByteArrayList{"ERROR:980"}) << name.constData();
        EXPECT_EQ(closedIds.last(), bad);
    }
    EXPECT_FALSE(closedIds.contains(id)); // a failed sign-on of the same name leaves the first alone
}

TEST_F(TocdServer, AccountChangesLastForTheNextSignOn)
{
    const int a = signOn("Tarn Wick", "secret");
    say(a, "toc_set_config \"g:Buddies\nb:bob\n\""); // accepted, but not what a TOC2 sign-on gets
    say(a, "toc_set_config g:Family\nb:mom");       // the bare form, as some clients send it
    say(a, R"(toc2_add_deny "spammer")");
    say(a, R"(toc_format_nickname "TARN wick")");
    say(a, R"(toc_format_nickname "Tarn Wicks")");
    say(a, R"(toc_change_passwd "wrong" "new")");
    say(a, R"(toc_change_passwd "secret" "n\"ew")");
    EXPECT_EQ(lines(a), (QByteArrayList{"ADMIN_NICK_STATUS:0", "NICK:TARN wick", "ERROR:911", "ERROR:911",
                                        "ADMIN_PASSWD_STATUS:0"}));

    const int b = attempt("tarnwick", "n\"ew");
    EXPECT_EQ(lines(b), (QByteArrayList{"SIGN_ON:TOC2.0", "NICK:TARN wick", "CONFIG2:d:spammer\ndone:\n"}));
    EXPECT_TRUE(closedIds.contains(a)); // the second sign-on replaced the first
}

TEST_F(TocdServer, NewBuddiesJoinTheStoredListUnderTheirGroup)
{
    const int a = signOn("Tarn Wick", "secret");
    say(a, R"(toc2_add_deny "spammer")");
    say(a, "toc2_new_buddies \"\\{g:Buddies\nb:bob\ng:Family\nb:mom\n\\}\"");
    lines(a);
    say(a, "toc2_new_buddies \"\\{g:Buddies\nb:Toc Test\n\\}\"");
    say(a, "toc2_new_buddies \"\\{g:Work\nb:boss\nb:boss\n\\}\""); // a new group; a buddy twice
    say(a, R"(toc2_new_buddies "g:Buddies")");
    EXPECT_EQ(lines(a), (QByteArrayList{"NEW_BUDDY_REPLY2:Toc Test:added", "NEW_BUDDY_REPLY2:boss:added",
                                        "NEW_BUDDY_REPLY2:boss:added", "ERROR:913"}));
    const int b = attempt("tarnwick", "secret");
    EXPECT_EQ(lines(b).value(2), "CONFIG2:g:Buddies\nb:bob\nb:Toc Test\ng:Family\nb:mom\ng:Work\nb:boss\nd:spammer\ndone:\n");
}

TEST_F(TocdServer, RoomsAreKeyedByExchangeAndNormalisedName)
{
    const int a = signOn("Tarn Wick", "secret");
    const int b = signOn("Other");
    say(a, R"(toc_chat_join "5" "Lobby Room")");
    say(b, R"(toc_chat_join "5" "lobbyroom")");
    EXPECT_EQ(lines(a), (QByteArrayList{"CHAT_JOIN:1:Lobby Room", "CHAT_UPDATE_BUDDY:1:T:Tarn Wick",
                                        "CHAT_UPDATE_BUDDY:1:T:Other"}));
    EXPECT_EQ(lines(b), (QByteArrayList{"CHAT_JOIN:1:Lobby Room", "CHAT_UPDATE_BUDDY:1:T:Tarn Wick:Other"}));

    say(a, R"(toc_chat_join "4" "Lobby Room")");
    say(a, R"(toc_chat_join "6" "Lobby Room")");
    say(a, R"(toc_chat_join "x" "Lobby")");
    say(a, R"(toc_chat_join "4" "a:b")");
    say(a, R"(toc_chat_join "4" "  ")");
    EXPECT_EQ(lines(a), (QByteArrayList{"CHAT_JOIN:2:Lobby Room", "CHAT_UPDATE_BUDDY:2:T:Tarn Wick",
                                        "ERROR:950:Lobby Room", "ERROR:950:Lobby", "ERROR:950:a:b", "ERROR:950:  "}));

    // An empty room is forgotten: the next join makes a new one.
    say(a, R"(toc_chat_leave "2")");
    say(a, R"(toc_chat_join "4" "Lobby Room")");
    EXPECT_EQ(lines(a).value(1), "CHAT_JOIN:3:Lobby Room");
}

TEST_F(TocdServer, ChatMessagesWhispersInvitationsAndDepartures)
{
    const int a = signOn("Tarn Wick", "secret");
    const int b = signOn("Other");
    const int c = signOn("Third");
    say(a, R"(toc_chat_join "4" "den")");
    say(b, R"(toc_chat_join "4" "den")");
    say(c, R"(toc_chat_accept "1")"); // not invited
    say(a, R"(toc_chat_invite "1" "come: in" "third" "nobody")");
    say(c, R"(toc_chat_accept "1")");
    lines(b);
    EXPECT_EQ(lines(a), (QByteArrayList{"CHAT_JOIN:1:den", "CHAT_UPDATE_BUDDY:1:T:Tarn Wick", "CHAT_UPDATE_BUDDY:1:T:Other",
                                        "ERROR:901:nobody", "CHAT_UPDATE_BUDDY:1:T:Third"}));
    EXPECT_EQ(lines(c), (QByteArrayList{"ERROR:913", "CHAT_INVITE:den:1:Tarn Wick:come: in", "CHAT_JOIN:1:den",
                                        "CHAT_UPDATE_BUDDY:1:T:Tarn Wick:Other:Third"}));

    say(a, R"(toc_chat_send "1" "a \"quoted\": text")");
    say(a, R"(toc_chat_whisper "1" "OTHER" "psst")");
    say(a, R"(toc_chat_whisper "1" "nobody" "psst")");
    EXPECT_EQ(lines(a), (QByteArrayList{"CHAT_IN_ENC:1:Tarn Wick:F:A:en:a \"quoted\": text", "ERROR:901:nobody"}));
    EXPECT_EQ(lines(b), (QByteArrayList{"CHAT_IN_ENC:1:Tarn Wick:F:A:en:a \"quoted\": text",
                                        "CHAT_IN_ENC:1:Tarn Wick:T:A:en:psst"}));
    EXPECT_EQ(lines(c), QByteArrayList{"CHAT_IN_ENC:1:Tarn Wick:F:A:en:a \"quoted\": text"});

    say(b, R"(toc_chat_leave "1")");
    say(b, R"(toc_chat_leave "1")");
    say(b, R"(toc_chat_send "1" "gone")");
    EXPECT_EQ(lines(b), (QByteArrayList{"CHAT_LEFT:1", "ERROR:913", "ERROR:913"}));
    server.closed(c); // a dropped connection leaves its rooms too
    EXPECT_EQ(lines(a), (QByteArrayList{"CHAT_UPDATE_BUDDY:1:F:Other", "CHAT_UPDATE_BUDDY:1:F:Third"}));
}

TEST_F(TocdServer, ImsBuddiesAndBlocking)
{
    const int a = signOn("Tarn Wick", "secret");
    const int b = signOn("Other", "pw", false); // signed on, not yet reachable
    say(a, R"(toc_send_im "other" "early")");
    say(a, "toc_add_buddy other quon PIMP3");
    EXPECT_EQ(lines(a), QByteArrayList{"ERROR:901:other"});
    say(b, "toc_init_done");
    ASSERT_EQ(lines(a).size(), 1); // arrival

    say(a, R"(toc_send_im "O t h e r" "hi: \"you\"" auto)");
    say(a, R"(toc_get_status "other")");
    EXPECT_EQ(lines(b), QByteArrayList{"IM_IN_ENC2:Tarn Wick:T:F:T: O :F:L:en:hi: \"you\""});
    EXPECT_TRUE(lines(a).value(0).startsWith("UPDATE_BUDDY2:Other:T:0:"));

    say(b, R"(toc2_add_deny "Tarn Wick")");
    say(a, R"(toc_send_im "other" "blocked")");
    say(a, R"(toc_get_status "other")");
    QByteArrayList got = lines(a);
    ASSERT_EQ(got.size(), 3);
    EXPECT_TRUE(got[0].startsWith("UPDATE_BUDDY2:Other:F:"));
    EXPECT_EQ(got.mid(1), (QByteArrayList{"ERROR:901:other", "ERROR:901:other"}));
    EXPECT_TRUE(lines(b).isEmpty());

    say(b, R"(toc2_remove_deny "tarnwick")");
    say(a, R"(toc_send_im "other" "again")");
    EXPECT_EQ(lines(b), QByteArrayList{"IM_IN_ENC2:Tarn Wick:F:F:T: O :F:L:en:again"});
    EXPECT_TRUE(lines(a).value(0).startsWith("UPDATE_BUDDY2:Other:T:"));

    say(b, R"(toc_evil "tarnwick" "anon")");
    EXPECT_EQ(lines(a), QByteArrayList{"EVILED:10:"});
    server.closed(b);
    EXPECT_TRUE(lines(a).value(0).startsWith("UPDATE_BUDDY2:Other:F:"));
}

TEST_F(TocdServer, BadCommandsAnswerAnErrorAndKeepTheConnection)
{
    const int a = signOn("Tarn Wick", "secret");
    for (const QByteArray command : {"toc_bogus", "toc_format_nick \"x\"", "toc_send_im \"bob\"",
                                     "toc_send_im \"unterminated", "toc2_login a b c d e"}) {
        say(a, command);
        EXPECT_EQ(lines(a), QByteArrayList{"ERROR:913"}) << command.constData();
    }
    say(a, "toc_set_away \"x\"");
    say(a, "toc_set_idle \"600\"");
    server.receive(a, flapFrame(5, {}));
    EXPECT_TRUE(lines(a).isEmpty());
    EXPECT_TRUE(closedIds.isEmpty());

    say(a, "");
    EXPECT_EQ(closedIds, QList<int>{a}); // an empty command ends the connection
    server.receive(a, "more");            // and nothing more reaches it
    server.closed(a);
    EXPECT_TRUE(lines(a).isEmpty());
}

// ---- limits

TEST_F(TocdServer, ClosesAConnectionThatLetsItsOutputPileUp)
{
    constexpr qsizetype kLimit = 1024 * 1024;
    const int a = signOn("Tarn Wick", "secret");
    const int b = signOn("Other");
    say(a, R"(toc_chat_join "4" "den")");
    say(b, R"(toc_chat_join "4" "den")");
    lines(a);

    // a talks in the room, 20 messages at a time, and reads everything; b reads nothing. b gets no
    // more once 1 MiB waits for it.
    QByteArray messages;
    for (int i = 0; i < 20; ++i)
        messages += flapFrame(2, "toc_chat_send \"1\" \"" + QByteArray(1000, 'm') + "\"" + QByteArray(1, '\0'));
    QByteArrayList heard;
    for (int i = 0; i < 100 && closedIds.isEmpty(); ++i) {
        server.receive(a, messages);
        heard = lines(a);
    }
    EXPECT_EQ(abortedIds, QList<int>{b});
    EXPECT_TRUE(logSays(b, QStringLiteral("closing: not reading (over 1048576 bytes waiting to be sent)")));
    EXPECT_EQ(heard.value(20), "CHAT_UPDATE_BUDDY:1:F:Other"); // the room goes on without b
    EXPECT_LT(wire[b].size(), kLimit + 1100);

    // a asks for its own 2 KB profile a thousand times in one read and reads none of the answers.
    // Each turn answers 64 KiB worth, and c is served between turns. Once 1 MiB waits, a is
    // closed, and the requests after that are not even looked at.
    const int c = signOn("Third");
    say(a, "toc_set_info \"" + QByteArray(2000, 'p') + '"');
    QByteArray requests;
    for (int i = 0; i < 1000; ++i)
        requests += flapFrame(2, "toc_get_info \"tarnwick\"" + QByteArray(1, '\0'));
    int turns = 1;
    for (bool done = server.receive(a, requests + flapFrame(2, "toc_bogus" + QByteArray(1, '\0'))); !done; ++turns) {
        EXPECT_LT(wire[a].size(), turns * (64 * 1024 + 2100));
        say(c, R"(toc_get_status "tarnwick")");
        EXPECT_EQ(lines(c).size(), 1);
        done = server.receive(a);
    }
    EXPECT_EQ(turns, 16); // each a little over 64 KiB
    EXPECT_FALSE(logged.join(u'\n').contains(QStringLiteral("unknown command")));
    EXPECT_EQ(abortedIds, (QList<int>{b, a}));
    EXPECT_GT(wire[a].size(), kLimit);
    EXPECT_LT(wire[a].size(), kLimit + 2100);
}

TEST_F(TocdServer, ClosesConnectionsThatDoNotSignOnInTime)
{
    server.tick(1000);
    const int idle = connect();
    const int slow = connect();
    server.receive(slow, kFlapon + signOnFrame("tarnwick")); // stalls before its login line
    server.tick(6000);
    const int later = connect();
    const int quick = signOn("Tarn Wick", "secret");
    server.tick(10'999);
    EXPECT_TRUE(closedIds.isEmpty());
    server.tick(11'000);
    EXPECT_EQ(closedIds, (QList<int>{idle, slow}));
    EXPECT_TRUE(logSays(slow, QStringLiteral("closing: not signed on within 10 s")));
    server.tick(16'000);
    EXPECT_EQ(closedIds.last(), later);
    server.tick(7 * 24 * 3600 * 1000LL); // signed on, a connection may stay quiet for ever
    say(quick, R"(toc_get_status "tarnwick")");
    EXPECT_EQ(lines(quick).size(), 1);
    EXPECT_EQ(closedIds.size(), 3);
}

TEST_F(TocdServer, LimitsSignOnAttemptsPerAddress)
{
    server.tick(0);
    // A burst of ten, wrong passwords counted too; then one more each minute.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(lines(attempt("Other", i % 2 ? "pw" : "wrong")).value(0), i % 2 ? "SIGN_ON:TOC2.0" : "ERROR:980") << i;
    const int refused = attempt("Other", "pw");
    EXPECT_EQ(lines(refused), QByteArrayList{"ERROR:983"});
    EXPECT_EQ(closedIds.last(), refused);
    EXPECT_TRUE(logSays(refused, QStringLiteral("closing: too many sign-ons from 10.0.0.1")));
    EXPECT_EQ(lines(attempt("Other", "pw", QStringLiteral("10.0.0.2"))).value(0), "SIGN_ON:TOC2.0");

    server.tick(59'999);
    EXPECT_EQ(lines(attempt("Other", "pw")), QByteArrayList{"ERROR:983"});
    server.tick(60'000);
    EXPECT_EQ(lines(attempt("Other", "pw")).value(0), "SIGN_ON:TOC2.0");
    EXPECT_EQ(lines(attempt("Other", "pw")), QByteArrayList{"ERROR:983"});
    server.tick(61 * 60'000); // the whole burst is back
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(lines(attempt("Other", "pw")).value(0), "SIGN_ON:TOC2.0") << i;

    QByteArray out;
    TocServer unlimited{makeAccounts(),
                        {[&](int, const QByteArray& b) { return (out += b).size(); }, [](int, auto) {}, {}},
                        {.loginBurst = 0}};
    for (int i = 0; i < 50; ++i) {
        const int id = unlimited.open(QStringLiteral("10.0.0.1"), 1);
        unlimited.receive(id, kFlapon + signOnFrame("other") + flapFrame(2, loginLine("other", "wrong") + '\0'));
    }
    EXPECT_EQ(out.count("ERROR:980"), 50);
}

TEST_F(TocdServer, LimitsOpenConnectionsPerAddress)
{
    QList<int> ids;
    for (int i = 0; i < 100; ++i)
        ids << connect();
    EXPECT_FALSE(ids.contains(0));
    EXPECT_EQ(connect(), 0);
    EXPECT_TRUE(logged.last().endsWith(QStringLiteral(": closing: 100 connections from 10.0.0.1 are open already")));
    EXPECT_NE(connect(QStringLiteral("10.0.0.2")), 0);

    server.closed(ids[0]);             // gone by itself
    server.receive(ids[1], "GET / ");  // closed by the server
    EXPECT_NE(connect(), 0);
    EXPECT_NE(connect(), 0);
    EXPECT_EQ(connect(), 0);
}

} // namespace
