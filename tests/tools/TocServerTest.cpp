// tocd's protocol logic, driven without sockets: connections are ids, output is captured.
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
    TocServer server{makeAccounts(), {[this](int id, const QByteArray& b) { wire[id] += b; },
                                      [this](int id) { closedIds << id; }, {}}};

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

    /// A connection signed on (and, unless told otherwise, past toc_init_done) with its output read.
    int signOn(const QByteArray& name, const QByteArray& password = "pw", bool initDone = true)
    {
        const int id = server.open(QStringLiteral("test"));
        const QByteArray key = ModTOC::NormalizeName(name);
        server.receive(id, kFlapon + signOnFrame(key) + flapFrame(2, loginLine(key, password) + '\0'));
        if (initDone)
            say(id, "toc_init_done");
        lines(id);
        return id;
    }
};

TEST_F(TocdServer, SignOnAnswersAndRefusals)
{
    const int id = server.open(QStringLiteral("test"));
    server.receive(id, kFlapon);
    EXPECT_EQ(wire[id], flapFrame(1, QByteArray("\x00\x00\x00\x01", 4), 0)); // the server's sign-on frame
    wire[id].clear();
    server.receive(id, signOnFrame("tarnwick") + flapFrame(2, loginLine("TarnWick", "secret") + '\0'));
    EXPECT_EQ(lines(id), (QByteArrayList{"SIGN_ON:TOC2.0", "NICK:Tarn Wick", "CONFIG2:done:\n"}));
    EXPECT_TRUE(closedIds.isEmpty());

    for (const auto& [name, password] : {std::pair<QByteArray, QByteArray>{"tarnwick", "wrong"}, {"nobody", "pw"}}) {
        const int bad = server.open(QStringLiteral("test"));
        server.receive(bad, kFlapon + signOnFrame(name) + flapFrame(2, loginLine(name, password) + '\0'));
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

    const int b = server.open(QStringLiteral("test"));
    server.receive(b, kFlapon + signOnFrame("tarnwick") + flapFrame(2, loginLine("tarnwick", "n\"ew") + '\0'));
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
    const int b = server.open(QStringLiteral("test"));
    server.receive(b, kFlapon + signOnFrame("tarnwick") + flapFrame(2, loginLine("tarnwick", "secret") + '\0'));
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

} // namespace
