// The presence rules as tables: inputs in, the effects they give out, written as short texts.
// Stopped timers are left out of the texts: every rule stops more of them than it is worth listing.
#include "PresenceCore.h"
#include "printers.h"

#include <gtest/gtest.h>

namespace {

using namespace PresenceIn;
using namespace std::chrono_literals;
using T = PresenceTimerId;

const char* timerName(T t)
{
    static const char* names[] = {"retry", "decide", "quiet", "answer", "rejoin", "young", "settled", "unlock"};
    static_assert(std::size(names) == kPresenceTimerCount);
    return names[int(t)];
}

QString describe(const PresenceEffect& effect)
{
    using namespace PresenceOut;
    return std::visit(
        [](const auto& e) -> QString {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, Login>) return "login " + e.name;
            if constexpr (std::is_same_v<E, LogOff>) return "logoff";
            if constexpr (std::is_same_v<E, SetProfile>) return "profile";
            if constexpr (std::is_same_v<E, JoinChat>) return "join " + Room{e.room, e.exchange}.label();
            if constexpr (std::is_same_v<E, LeaveChat>) return QString("leave %1").arg(e.roomId);
            if constexpr (std::is_same_v<E, AskStatus>) return "ask " + QString(e.name);
            if constexpr (std::is_same_v<E, StartTimer>)
                return QString("%1 %2 s").arg(timerName(e.timer)).arg(e.after.count() / 1000.0);
            if constexpr (std::is_same_v<E, StopTimer>) return QString("stop ") + timerName(e.timer);
            if constexpr (std::is_same_v<E, Log>) return (e.direct ? "direct " : "") + Texts::get(e.text, e.args);
            if constexpr (std::is_same_v<E, Status>) return "[" + Texts::get(e.text) + "]";
            if constexpr (std::is_same_v<E, Notify>) return "notify " + Texts::get(e.text);
            if constexpr (std::is_same_v<E, RowAdded>) return "row+ " + e.row.text();
            if constexpr (std::is_same_v<E, RowChanged>) return QString("row%1= ").arg(e.index) + e.row.text();
            if constexpr (std::is_same_v<E, RowRemoved>) return QString("row%1-").arg(e.index);
            if constexpr (std::is_same_v<E, SaveSettings>) return "save";
            if constexpr (std::is_same_v<E, ReadVault>) return "vault read " + e.account;
            if constexpr (std::is_same_v<E, WriteVault>) return "vault write " + e.account;
            if constexpr (std::is_same_v<E, EraseVault>) return "vault erase " + e.account;
            if constexpr (std::is_same_v<E, PasswordRecalled>) return "recalled";
            if constexpr (std::is_same_v<E, Ended>) return "ended";
            if constexpr (std::is_same_v<E, SessionStarted>) return "session " + e.screenName;
            if constexpr (std::is_same_v<E, SessionEnded>) return "session ended: " + Transcript::reasonText(e.why);
            if constexpr (std::is_same_v<E, RoomEntered>)
                return QString("entered %1:%2 #%3").arg(QString(e.row.name)).arg(e.row.exchange).arg(e.row.id);
            if constexpr (std::is_same_v<E, RoomLeft>)
                return QString("left #%1: ").arg(e.roomId) + Transcript::reasonText(e.why);
        },
        effect);
}

struct Step {
    PresenceInput in;
    QStringList out;
};

bool forTheRecord(const PresenceEffect& e)
{
    using namespace PresenceOut;
    return std::holds_alternative<SessionStarted>(e) || std::holds_alternative<SessionEnded>(e)
           || std::holds_alternative<RoomEntered>(e) || std::holds_alternative<RoomLeft>(e);
}

class Core : public ::testing::Test
{
protected:
    PresenceCore core{[] { return 0.5; }}; // every wait at its nominal length
    bool record = false; // the record's effects only, else all but those

    QStringList run(const PresenceInput& in)
    {
        QStringList texts;
        for (const PresenceEffect& e : core.handle(in))
            if (!std::holds_alternative<PresenceOut::StopTimer>(e) && forTheRecord(e) == record)
                texts << describe(e);
        return texts;
    }
    void play(const std::vector<Step>& steps)
    {
        for (std::size_t i = 0; i < steps.size(); ++i)
            EXPECT_EQ(run(steps[i].in), steps[i].out) << "step " << i;
    }
    // Sign-ons and ends whose effects the test does not spell out.
    void signOn()
    {
        (void)run(Connect{"Tarn Wick", "secret"});
        (void)run(LoggedIn{});
    }
    void signOnAgain()
    {
        (void)run(TimerFired{T::Decide});
        (void)run(TimerFired{T::Retry});
        (void)run(LoggedIn{});
    }
};

const QStringList kSignedOn{"[Connected]", "profile", "quiet 60 s", "young 60 s", "settled 120 s"};

TEST_F(Core, ASessionCutShortThreeTimesMeansTheNameSignedOnElsewhere)
{
    signOn();
    play({
        {LoggedOff{}, {"[Disconnected]", "Connection to server lost.", "decide 0 s", "notify Connection to server lost."}},
        {TimerFired{T::Decide}, {"retry 2 s", "Reconnecting in 2 s.", "[Reconnecting]"}},
        {TimerFired{T::Retry}, {"login Tarn Wick", "Signing on again."}},
        {LoggedIn{}, kSignedOn + QStringList{"notify Signed on again."}},
    });
    // The wait keeps growing: the last sign-on did not last.
    (void)run(LoggedOff{});
    play({{TimerFired{T::Decide}, {"retry 4 s", "Reconnecting in 4 s.", "[Reconnecting]"}}});
    (void)run(TimerFired{T::Retry});
    (void)run(LoggedIn{});
    (void)run(LoggedOff{});
    play({{TimerFired{T::Decide},
           {"Signed off three times within a minute of signing on: the screen name is probably signed on elsewhere. "
            "Not reconnecting; press Connect to sign on here again.",
            "[Signed on elsewhere]", "notify Signed on elsewhere: not reconnecting.", "ended"}}});
    EXPECT_EQ(core.state(), PresenceCore::State::SignedOff);
    // The user's Connect starts afresh.
    play({{Connect{"Tarn Wick", "secret"}, {"login Tarn Wick", "Connected to server."}}});
    (void)run(LoggedIn{});
    (void)run(LoggedOff{});
    play({{TimerFired{T::Decide}, {"retry 2 s", "Reconnecting in 2 s.", "[Reconnecting]"}}});
}

TEST_F(Core, OnlyQuietEndsOfYoungSessionsCountAndALastingOneStartsTheWaitsAgain)
{
    const struct {
        const char* what;
        std::vector<PresenceInput> end;
    } cases[] = {
        {"a minute old", {TimerFired{T::Young}, LoggedOff{}}},
        {"broken", {SocketError{"reset"}, LoggedOff{}}},
        {"dead link", {TimerFired{T::Quiet}, TimerFired{T::Answer}, LoggedOff{}}},
    };
    for (const auto& c : cases) {
        core = PresenceCore([] { return 0.5; });
        signOn();
        for (int i = 0; i < 5; ++i) {
            for (const PresenceInput& in : c.end)
                (void)run(in);
            ASSERT_NE(run(TimerFired{T::Decide}), QStringList{"ended"}) << c.what;
            (void)run(TimerFired{T::Retry});
            (void)run(LoggedIn{});
        }
        EXPECT_EQ(core.state(), PresenceCore::State::SignedOn) << c.what;
    }
    core = PresenceCore([] { return 0.5; });
    signOn();
    (void)run(SocketError{"reset"});
    EXPECT_EQ(run(TimerFired{T::Decide}).first(), "retry 2 s");
    (void)run(TimerFired{T::Retry});
    (void)run(LoggedIn{});
    (void)run(TimerFired{T::Settled});
    (void)run(SocketError{"reset"});
    EXPECT_EQ(run(TimerFired{T::Decide}).first(), "retry 2 s");
}

TEST_F(Core, SignOnErrorsDecideOnlyBeforeTheSignOn)
{
    const struct {
        std::int16_t code;
        bool signedOn;
        const char* next;
    } cases[] = {
        {980, false, "ended"},         {982, false, "ended"},         {983, false, "retry 600 s"},
        {980, true, "retry 2 s"},      {983, true, "retry 2 s"},      {950, false, "retry 2 s"},
    };
    for (const auto& c : cases) {
        core = PresenceCore([] { return 0.5; });
        (void)run(Connect{"Tarn Wick", "secret"});
        if (c.signedOn)
            (void)run(LoggedIn{});
        (void)run(ServerError{c.code, {}});
        // A refused sign-on lost no session: no "lost" line.
        const QStringList end = run(LoggedOff{});
        EXPECT_EQ(end.contains("Connection to server lost."), c.signedOn) << c.code;
        EXPECT_EQ(run(TimerFired{T::Decide}).first(), c.next) << c.code << " signed on " << c.signedOn;
    }
}

TEST_F(Core, RoomsFirstJoinedThenRejoinedAndOnlyTheUsersLeaveForgetsThem)
{
    core.restore({{}, "Tarn Wick", 5, {{"Lobby", 5}, {"Den", 4}}, true, false});
    (void)run(Connect{"Tarn Wick", "secret"});
    play({
        {LoggedIn{}, kSignedOn + QStringList{"join Lobby:5", "join Den:4", "rejoin 30 s"}},
        {JoinedChat{"lobby", 7}, {"row+ lobby:7", "Joined chatroom Lobby:5"}},
        {JoinedChat{"a:b", 9}, {"row+ a:b:9", "Joined chatroom a:b"}}, // nobody asked; a name with a colon
        {JoinedChat{"Den", 8}, {"row+ Den:8", "Joined chatroom Den:4"}},
        {LeftChat{8}, {"row2-", "Left chatroom, ejected or error."}}, // Den stays one to be in
        {Leave{1}, {"leave 9", "row1-", "Left chatroom a:b"}},
        {LeftChat{9}, {}}, // the answer to the Leave
    });
    (void)run(LoggedOff{});
    play({
        {TimerFired{T::Decide}, {"retry 2 s", "Reconnecting in 2 s.", "[Reconnecting]"}},
        {TimerFired{T::Retry}, {"login Tarn Wick", "Signing on again."}},
        {LoggedIn{}, kSignedOn + QStringList{"notify Signed on again.", "join Lobby:5", "join Den:4", "rejoin 30 s"}},
        {JoinedChat{"Lobby", 1}, {"row0= Lobby:1", "Rejoined chatroom Lobby:5."}},
        {TimerFired{T::RejoinLimit}, {"Could not rejoin chatroom Den:4."}},
        {JoinedChat{"den", 2}, {"row+ den:2", "Rejoined chatroom Den:4."}}, // late, but still the rejoin
        {Join{"Lobby", 5}, {"join Lobby:5"}},
        {JoinedChat{"Lobby", 1}, {"row+ Lobby:1", "Joined chatroom Lobby:5"}}, // the same room twice
        {Leave{2}, {"leave 1", "row2-", "row0-", "save", "Left chatroom Lobby"}}, // every row of the room
    });
    EXPECT_EQ(core.remembered().rooms, (QList<Room>{{"Den", 4}}));
}

TEST_F(Core, ASignOnDropsRowsOfRoomsItDoesNotBringBack)
{
    signOn();
    (void)run(JoinedChat{"stray", 3});
    (void)run(Join{"Lobby", 5});
    (void)run(JoinedChat{"Lobby", 4});
    (void)run(SocketError{"reset"});
    (void)run(TimerFired{T::Decide});
    (void)run(TimerFired{T::Retry});
    const QStringList signedOn = run(LoggedIn{});
    EXPECT_TRUE(signedOn.contains("row0-")) << signedOn.join(" | ").toStdString(); // stray:3
    EXPECT_EQ(core.rows(), (QList<RoomRow>{{"Lobby", 4, "lobby:5", 5}}));
}

TEST_F(Core, TheRecordSaysWhyEachSessionEnded)
{
    record = true;
    const struct {
        const char* what;
        std::vector<PresenceInput> end;
        QString reason;
    } cases[] = {
        {"Disconnect", {Disconnect{}, LoggedOff{}}, "signed off (Disconnect)"},
        {"Connect while signed on", {Connect{"Tarn Wick", "secret"}, LoggedOff{}}, "signed off (Disconnect)"},
        {"lost", {SocketError{"reset"}, LoggedOff{}}, "connection lost"},
        {"dead link", {TimerFired{T::Quiet}, TimerFired{T::Answer}, LoggedOff{}}, "no answer from the server"},
        {"the end of the run", {Stop{}, LoggedOff{}}, "Tarnwick not running"},
    };
    for (const auto& c : cases) {
        core = PresenceCore([] { return 0.5; });
        (void)run(Connect{"Tarn Wick", "secret"});
        EXPECT_EQ(run(LoggedIn{}), QStringList{"session Tarn Wick"}) << c.what;
        QStringList out;
        for (const PresenceInput& in : c.end)
            out += run(in);
        EXPECT_EQ(out, QStringList{"session ended: " + c.reason}) << c.what;
    }
    // A refused sign-on never began; the third session in a row cut short was pushed out from elsewhere.
    core = PresenceCore([] { return 0.5; });
    (void)run(Connect{"Tarn Wick", "secret"});
    (void)run(ServerError{983, {}});
    EXPECT_EQ(run(LoggedOff{}), QStringList{"session ended: sign-on refused"});
    (void)run(TimerFired{T::Decide});
    signOnAgain();
    EXPECT_EQ(run(LoggedOff{}), QStringList{"session ended: connection lost"});
    signOnAgain();
    (void)run(LoggedOff{});
    signOnAgain();
    EXPECT_EQ(run(LoggedOff{}), QStringList{"session ended: signed on elsewhere"});
}

TEST_F(Core, TheRecordSaysWhenEachRoomWasEnteredAndWhyItWasLeft)
{
    record = true;
    core.restore({{}, "Tarn Wick", 5, {{"Lobby", 5}}, true, false});
    (void)run(Connect{"Tarn Wick", "secret"});
    play({
        {LoggedIn{}, {"session Tarn Wick"}},
        {JoinedChat{"lobby", 7}, {"entered lobby:5 #7"}},
        {JoinedChat{"stray", 8}, {"entered stray:5 #8"}}, // nobody asked: the exchange of the last join
        {LeftChat{8}, {"left #8: put out of the room"}},
        {Join{"Den", 4}, {}},
        {JoinedChat{"Den", 9}, {"entered Den:4 #9"}},
        {Leave{1}, {"left #9: left the room"}},
        {LeftChat{9}, {}},
        {SocketError{"reset"}, {"session ended: connection lost"}}, // its rooms end with it
    });
    signOnAgain();
    play({
        {JoinedChat{"Lobby", 1}, {"entered Lobby:5 #1"}}, // the rejoin renews the listed row
        {SocketError{"reset"}, {"session ended: connection lost"}},
        {Leave{0}, {}}, // left with the session already
    });
}

TEST_F(Core, WhatCannotBeSentIsRefusedHere)
{
    play({
        {Connect{" ", "secret"}, {"Invalid screen name or password."}},
        {Connect{"Tarn Wick", "sec\nret"}, {"Invalid screen name or password."}},
        {Join{"lobby", 5}, {"Not signed on."}},
    });
    signOn();
    play({{Join{QString("lob") + QChar(0) + "by", 5}, {"Invalid room name."}}});
}

TEST_F(Core, TheKeychainIsAskedOnceAndWithoutOneThePasswordStaysForTheRun)
{
    core.restore({{}, "Tarn Wick", 5, {}, true, true});
    play({
        {Start{true}, {"vault read tarnwick"}},
        {VaultRead{"tarnwick", "secret"}, {"recalled", "login Tarn Wick", "Connected to server."}},
    });
    (void)run(LoggedIn{}); // known to the keychain already: not written again
    play({{SetRememberPassword{false}, {"save", "vault erase tarnwick"}}});
    play({{SetRememberPassword{true}, {"save", "vault write tarnwick"}}});
    // Without a keychain nothing is remembered: the choice is taken back, and said once.
    play({{VaultUnavailable{}, {"save", "No keychain available: the password is kept for this run only."}},
          {VaultUnavailable{}, {}}});
    EXPECT_FALSE(core.rememberPassword());
}

} // namespace
