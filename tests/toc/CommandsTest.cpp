// The client's command lines, byte for byte, and the commands that keep state.
#include "FakeTocSocket.h"
#include "QuonTOCSock.h"
#include "TarnwickBuildConfig.h"
#include "ModTOC.h"
#include "TestAccess.h"
#include "TocCommands.h"
#include "TocConfig.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

namespace C = TocCommands;

TEST(CommandLines, EveryCommandBuildsItsExactLine)
{
    const std::pair<QByteArray, QByteArray> cases[] = {
        {C::sendIm("Tarn Wick", "say \"hi\"", false), R"(toc_send_im "tarnwick" "say \"hi\"")"},
        {C::sendIm("Tarn Wick", "brb", true), R"(toc_send_im "tarnwick" "brb" auto)"},
        {C::sendIm("bob", R"("a" "b")", false), R"(toc_send_im "bob" "\"a\" \"b\"")"}, // quotes next to blanks
        {C::addBuddy("Bob Smith"), R"(toc_add_buddy "Bob Smith")"},
        {C::removeBuddy("Bob Smith"), R"(toc_remove_buddy "Bob Smith")"},
        {C::warnUser("Bob Smith", false), R"(toc_evil "Bob Smith" "norm")"},
        {C::warnUser("bob", true), R"(toc_evil "bob" "anon")"},
        {C::joinChat("Tarnwick Lounge", 4), R"(toc_chat_join "4" "Tarnwick Lounge")"},
        {C::joinChat(R"(Bob's "den")", 5), R"(toc_chat_join "5" "Bob's \"den\"")"},
        {C::sendChat(1234, R"(a (b) [c] {d} $e \)"), R"(toc_chat_send "1234" "a \(b\) \[c\] \{d\} $e \\")"},
        {C::chatWhisper(1234, "Bob Smith", "psst"), R"(toc_chat_whisper "1234" "bobsmith" "psst")"},
        {C::chatInvite(1234, R"(come "in")", "Bob Smith"), R"(toc_chat_invite "1234" "come \"in\"" "Bob Smith")"},
        {C::chatLeave(1234), R"(toc_chat_leave "1234")"},
        {C::chatLeave(-7), R"(toc_chat_leave "-7")"},
        {C::acceptChatInvite(77), R"(toc_chat_accept "77")"},
        {C::getProfile("Bob Smith"), R"(toc_get_info "bobsmith")"},
        {C::getStatus("Bob Smith"), R"(toc_get_status "bobsmith")"},
        {C::setProfile("Tarnwick keeps this name present."), R"(toc_set_info "Tarnwick keeps this name present.")"},
        {C::setProfile(R"(<b>"me"</b>)"), R"(toc_set_info "<b>\"me\"</b>")"},
        {C::setAway("out (back soon)"), R"-(toc_set_away "out \(back soon\)")-"},
        {C::setIdle(10), R"(toc_set_idle "600")"},
        {C::setIdle(0), R"(toc_set_idle "0")"},
        {C::setCapabilities("0946134D-4C7F-11D1-8222-444553540000"),
         R"(toc_set_caps "0946134D-4C7F-11D1-8222-444553540000")"},
        {C::formatUserName("Tarn Wick"), R"(toc_format_nickname "Tarn Wick")"},
        {C::changePassword(R"(old"pw)", R"(new\pw)"), R"(toc_change_passwd "old\"pw" "new\\pw")"},
        {C::blockUser("spam mer"), R"(toc2_add_deny "spam mer")"},
        {C::unBlockUser("spam mer"), R"(toc2_remove_deny "spam mer")"},
        {C::setConfig("g:Buddies\nb:x"), "toc_set_config \"g:Buddies\nb:x\""},
        {C::newBuddies(R"(Fam "ily" {x})", R"(Bob "B" {y})"),
         "toc2_new_buddies \"\\{g:Fam \\\"ily\\\" \\{x\\}\nb:Bob \\\"B\\\" \\{y\\}\n\\}\""},
        {C::login("tarnwick", "0x270c005d311b"),
         "toc2_login " + QByteArray(TarnwickBuild::kAuthHost) + " 29999 tarnwick 0x270c005d311b English  \"QuonSockTOC2.0\" 160 US \"\" \"\" "
         "3 0 30303 -kentucky -utf8 51837264"},
        {C::pimpBuddy(3), "toc_add_buddy quon PIMP3"},
        {C::initDone(), "toc_init_done"},
        {C::signOn("tarnwick"), QByteArray("\x00\x00\x00\x01\x00\x01\x00\x08tarnwick", 16)},
    };
    for (const auto& [built, expected] : cases)
        EXPECT_EQ(built, expected);
}

TEST(CommandLines, LinesThatCannotBeSentAreRefused)
{
    const QByteArray nul("a\0b", 3);
    const std::pair<const char*, std::function<QByteArray()>> cases[] = {
        {"zero byte in a message", [&] { return C::sendIm("bob", nul, false); }},
        {"zero byte in a normalised name", [&] { return C::getStatus(nul); }},
        {"zero byte in a room name", [&] { return C::joinChat(nul, 4); }},
        {"zero byte in a password", [&] { return C::changePassword("old", nul); }},
        {"zero byte in a profile", [&] { return C::setProfile(nul); }},
        {"line one byte too long", [] { return C::setProfile(QByteArray(2034, 'x')); }},
        {"escaping makes it too long", [] { return C::setAway(QByteArray(1020, '"')); }},
        {"login line too long", [] { return C::login(QByteArray(1900, 'a'), "0x" + QByteArray(200, '0')); }},
        {"idle seconds beyond 32 bits", [] { return C::setIdle(35791395); }},
        {"idle seconds below 32 bits", [] { return C::setIdle(-35791395); }},
    };
    for (const auto& [what, build] : cases)
        EXPECT_THROW(build(), std::invalid_argument) << what;

    EXPECT_EQ(C::setProfile(QByteArray(2033, 'x')).size(), C::kMaxLine); // the longest servers take
    EXPECT_EQ(C::setIdle(35791394), R"(toc_set_idle "2147483640")");
}

class Commands : public ::testing::Test
{
protected:
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};

    void signOn(const QByteArray& config)
    {
        sock.Login("Tarn Wick", "secret", "toc.example", 5190);
        fake->open();
        fake->deliver(flapFrame(2, config));
        fake->sent.clear();
    }
    QByteArray lastLine() const { return fake->sent.last().mid(6).chopped(1); }
};

TEST_F(Commands, MethodsSendTheirLineAsOneDataFrame)
{
    signOn("CONFIG2:done:");
    const std::int32_t seq = QuonTOCSockTestAccess::seq(sock);
    sock.ChatLeave(1234);
    ASSERT_EQ(fake->sent.size(), 1);
    EXPECT_EQ(fake->sent[0], "*\x02" + ModTOC::EncodeWord(seq + 1) + QByteArray("\x00\x16", 2) +
                                 QByteArray("toc_chat_leave \"1234\"\0", 22));

    // One call per method, each answering with its builder's line.
    const std::pair<std::function<void()>, QByteArray> cases[] = {
        {[&] { sock.SendIm("Bob", "hi", true); }, C::sendIm("Bob", "hi", true)},
        {[&] { sock.AddBuddy("Bob", false); }, C::addBuddy("Bob")},
        {[&] { sock.RemoveBuddy("Bob"); }, C::removeBuddy("Bob")},
        {[&] { sock.WarnUser("Bob", true); }, C::warnUser("Bob", true)},
        {[&] { sock.JoinChat("Lobby", 4); }, C::joinChat("Lobby", 4)},
        {[&] { sock.SendChat(5, "hi"); }, C::sendChat(5, "hi")},
        {[&] { sock.ChatWhisper(5, "Bob", "hi"); }, C::chatWhisper(5, "Bob", "hi")},
        {[&] { sock.ChatInvite(5, "come", "Bob"); }, C::chatInvite(5, "come", "Bob")},
        {[&] { sock.AcceptChatInvite(5); }, C::acceptChatInvite(5)},
        {[&] { sock.GetProfile("Bob"); }, C::getProfile("Bob")},
        {[&] { sock.GetStatus("Bob"); }, C::getStatus("Bob")},
        {[&] { sock.SetProfile("me"); }, C::setProfile("me")},
        {[&] { sock.SetAway("away"); }, C::setAway("away")},
        {[&] { sock.SetIdle(2); }, C::setIdle(2)},
        {[&] { sock.SetCapabilities("uuid"); }, C::setCapabilities("uuid")},
        {[&] { sock.FormatUserName("Tarn Wick"); }, C::formatUserName("Tarn Wick")},
        {[&] { sock.ChangePassword("a", "b"); }, C::changePassword("a", "b")},
        {[&] { sock.BlockUser("Bob"); }, C::blockUser("Bob")},
        {[&] { sock.UnBlockUser("Bob"); }, C::unBlockUser("Bob")},
    };
    for (const auto& [call, expected] : cases) {
        call();
        EXPECT_EQ(lastLine(), expected);
    }
    EXPECT_EQ(fake->sent.size(), 1 + std::size(cases));
}

TEST_F(Commands, RefusedOrUnconnectedCommandsSendNothingAndKeepTheCounter)
{
    sock.JoinChat("Lobby", 5); // not connected: dropped without a word
    sock.AddBuddy("Bob", true);
    EXPECT_TRUE(fake->sent.isEmpty());
    EXPECT_EQ(QuonTOCSockTestAccess::seq(sock), 0);

    signOn("CONFIG2:done:");
    const std::int32_t seq = QuonTOCSockTestAccess::seq(sock);
    EXPECT_THROW(sock.SendIm("bob", QByteArray("x\0y", 3), false), std::invalid_argument);
    EXPECT_THROW(sock.SetProfile(QByteArray(70000, 'x')), std::invalid_argument);
    EXPECT_THROW(sock.AddBuddy(QByteArray("x\0y", 3), true), std::invalid_argument);
    EXPECT_THROW(sock.AddBuddy("x\nd:bob", true), std::invalid_argument);
    EXPECT_TRUE(fake->sent.isEmpty());
    EXPECT_EQ(QuonTOCSockTestAccess::seq(sock), seq);

    // A permanent buddy whose stored-list line would be too long: neither of its lines goes.
    EXPECT_THROW(sock.AddBuddy(QByteArray(2030, 'b'), true), std::invalid_argument);
    EXPECT_TRUE(fake->sent.isEmpty());
}

// A permanent buddy is added for this session, then to the server's stored list under the group
// the stored list files new buddies in (its last group).
TEST_F(Commands, PermanentBuddiesGoIntoTheStoredListsLastGroup)
{
    struct Case {
        const char* what;
        QByteArray config2;
        QByteArray group;
    };
    const Case cases[] = {
        {"groups, buddies, blocked names and settings",
         "CONFIG2:g:Buddies\nb:alice\nb:bob:Bob Smith\ng:Family\nb:mom\nd:spammer\np:friend\nm:3\ndone:\n", "Family"},
        {"no group", "CONFIG2:b:x\nd:y\ndone:\n", "Buddies"},
        {"empty list", "CONFIG2:done:\n", "Buddies"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        signOn(c.config2);
        sock.AddBuddy("carol", true);
        sock.AddBuddy("Dan (work)", true);
        QByteArrayList lines;
        for (const QByteArray& frame : fake->sent)
            lines << frame.mid(6).chopped(1);
        EXPECT_EQ(lines, (QByteArrayList{C::addBuddy("carol"), C::newBuddies(c.group, "carol"),
                                         C::addBuddy("Dan (work)"), C::newBuddies(c.group, "Dan (work)")}));
    }
}

TEST_F(Commands, GetChatIdFindsTheFirstMatchingRoom)
{
    signOn("CONFIG2:done:");
    auto join = [&](int id, const QByteArray& name) {
        fake->deliver(flapFrame(2, "CHAT_JOIN:" + QByteArray::number(id) + ':' + name));
    };
    join(1234, "Tarnwick Lounge");
    join(99, "Back Room");
    join(1235, "tarnwicklounge");
    EXPECT_EQ(sock.GetChatID("TARNWICK  lounge "), 1234); // lowest slot wins
    EXPECT_EQ(sock.GetChatID("back room"), 99);
    EXPECT_EQ(sock.GetChatID("Never Joined"), 0);
    EXPECT_EQ(sock.GetChatID(""), 0);
    EXPECT_EQ(sock.GetChatID("   "), 0);
    EXPECT_EQ(sock.LastChatID(), 1235);

    // After the slot counter wraps, slot 0 holds a newer room than slot 1.
    for (int i = 4; i <= 999; ++i)
        join(i, "filler");
    join(5000, "Back Room"); // slot 0
    EXPECT_EQ(sock.GetChatID("Back Room"), 5000);
    join(6000, "filler"); // slot 1: the old lounge is gone
    EXPECT_EQ(sock.GetChatID("Tarnwick Lounge"), 1235);
}

} // namespace
