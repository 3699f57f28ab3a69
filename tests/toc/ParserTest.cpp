// Server messages, payload in and value out.
#include "MessagePrinters.h"
#include "TocParser.h"

#include <gtest/gtest.h>

namespace {

using namespace TocMessage;

TEST(Parser, EveryMessageGivesItsValue)
{
    const std::pair<QByteArray, ServerMessage> cases[] = {
        {"SIGN_ON:TOC2.0", SignOn{}},
        {"NICK:Tarn Wick", Nick{"Tarn Wick"}},
        {"NICK", Nick{}},
        {"IM_IN_ENC2:TocTestOne:F:F:T: U :F:L:en:hello", ImIn{"TocTestOne", "hello"}},
        {"IM_IN_ENC2:TocTestOne:F:F:T: U :F:L:en:a:b:c", ImIn{"TocTestOne", "a:b:c"}},
        {"im_in_enc2:x:F:F:T: U :F:L:en:", ImIn{"x", ""}},
        {"IM_IN_ENC2:x:F:F:T: U :F:L:en:hi: there:", ImIn{"x", "hi: there:"}},
        {"IM_IN_ENC2:x:F:F", ImIn{"x", ""}},
        {"IM_IN_ENC2:x:T:F:T: U :F:L:en:away", ImIn{"x", "away", true}},
        {"UPDATE_BUDDY2:alice:T:0:1700000000:0: O :", UpdateBuddy{"alice", true}},
        {"UPDATE_BUDDY2:alice:t:0:0:0:", UpdateBuddy{"alice", true}},
        {"UPDATE_BUDDY2:alice:F:0:0:0:", UpdateBuddy{"alice", false}},
        {"UPDATE_BUDDY2:alice:TT", UpdateBuddy{"alice", false}},
        {"UPDATE_BUDDY2:alice", UpdateBuddy{"alice", false}},
        {"BUDDY_CAPS2:alice:0946134D-4C7F-11D1-8222-444553540000,", BuddyCaps{"alice", "0946134D-4C7F-11D1-8222-444553540000,"}},
        {"BART2:alice:0 2 aGk=", Bart{"alice", "0 2 aGk="}},
        {"ERROR:980", Error{980, ""}},
        {"ERROR:901:bob:not here", Error{901, "bob"}},
        {"ERROR: 950 :Lounge", Error{950, "Lounge"}},
        {"ERROR:oops", Error{0, ""}},
        {"ERROR:99999", Error{0, ""}}, // outside 16 bits
        {"ERROR", Error{0, ""}},
        {QByteArray("ERROR:98\x00" "0", 10), Error{0, ""}}, // a zero byte does not end the number
        {"EVILED:25:bob", Eviled{25, "bob"}},
        {"EVILED:25:", Eviled{25, ""}},
        {"CHAT_JOIN:1234:Tarnwick Lounge", ChatJoin{1234, "Tarnwick Lounge"}},
        {"CHAT_JOIN:abc", ChatJoin{}},
        {"CHAT_JOIN:12:", ChatJoin{12, ""}},
        {"CHAT_IN_ENC:1234:bob:F:A:en:hi: all", ChatIn{1234, "bob", false, "hi: all"}},
        {"CHAT_IN_ENC:1234:bob:T:A:en:psst", ChatIn{1234, "bob", true, "psst"}},
        {"CHAT_IN_ENC:1234:bob:t:A:en:psst", ChatIn{1234, "bob", false, "psst"}},
        {"CHAT_IN_ENC:x", ChatIn{}},
        {"CHAT_UPDATE_BUDDY:1234:T:alice:bob:carol",
         ChatUpdateBuddy{1234, true, "alice", "bob", {"alice", "bob", "carol"}}},
        {"CHAT_UPDATE_BUDDY:1234:F:alice", ChatUpdateBuddy{1234, false, "alice", "", {"alice"}}},
        {"CHAT_UPDATE_BUDDY:1234:T", ChatUpdateBuddy{1234, true, "", "", {}}},
        {"CHAT_INVITE:Lobby:77:bob:come in", ChatInvite{"Lobby", 77, "bob", "come in"}},
        {"CHAT_INVITE:Lobby:77:bob:Join us: now", ChatInvite{"Lobby", 77, "bob", "Join us: now"}},
        {"CHAT_LEFT:1234", ChatLeft{1234}},
        {"CHAT_LEFT:-5", ChatLeft{-5}},
        {"CHAT_LEFT:2147483648", ChatLeft{0}},
        {"GOTO_URL:profile:info/bob", GotoUrl{"info/bob"}},
        {"GOTO_URL:TIC:http://host/info?x=1", GotoUrl{"http://host/info?x=1"}},
        {"ADMIN_NICK_STATUS:0", AdminNickStatus{true}},
        {"ADMIN_NICK_STATUS:1", AdminNickStatus{false}},
        {"ADMIN_NICK_STATUS:", AdminNickStatus{false}},
        {"ADMIN_PASSWD_STATUS:0", AdminPasswdStatus{true}},
        {"ADMIN_PASSWD_STATUS", AdminPasswdStatus{false}},
        {"RVOUS_PROPOSE:bob:uuid:cookie:1:10.0.0.1:10.0.0.2:10.0.0.3:5190",
         RvousPropose{"bob", "uuid", "cookie", "10.0.0.1"}},
        {"RVOUS_PROPOSE:bob", RvousPropose{"bob", "", "", ""}},
        {"CONFIG2:g:Buddies\nb:alice\nd:spammer\nm:3\ndone:\n",
         Config2{{"GROUP [Buddies]\r\nalice\r\n", "spammer\r\n", {"g:Buddies", "b:alice"}, {"d:spammer"}, {"m:3", "done:", ""}}}},
        {"SOMETHING_NEW:1:2", Unknown{}},
        {"A_COMMAND_WORD_LONGER_THAN_ANY:1", Unknown{}},
        {"", Unknown{}},
        {":::", Unknown{}},
    };
    for (const auto& [payload, expected] : cases)
        EXPECT_EQ(TocParser::parse(payload), expected) << payload.toStdString();
}

} // namespace
