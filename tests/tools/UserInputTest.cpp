// What a user may type, sent through the client to tocd: the server must receive exactly what was
// typed, or the user gets the server's refusal; never a line that means something else.
#include "QuonTOCSock.h"
#include "TocdProcess.h"
#include "printers.h"
#include "wait.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

// Spins the event loop a little longer, so that a second, unwanted event would have time to come.
void settle()
{
    waitFor([] { return false; }, 200);
}

struct Credentials {
    const char* what;
    QByteArray name;     // as typed, and as the account is called
    QByteArray password;
};

// Each account signs on with exactly its own name and password: quotes, backslashes and brackets
// stay inside the login line's words, and non-ASCII letters go out as their UTF-8 bytes.
TEST(TocUserInput, OddNamesAndPasswordsSignOnAsTyped)
{
    const Credentials cases[] = {
        {"quotes", "Tarn \"Q\" Wick", "pass\"word\""},
        {"backslashes", "Tarn\\Wick", "back\\slash\\"},
        {"brackets", "[Tarn]{Wick}(x)", "[]{}()"},
        {"non-ASCII letters", "Tärn Wïck", "pässwörd €"},
    };
    QStringList args;
    for (const Credentials& c : cases)
        args << "--account" << QString::fromUtf8(c.name + ':' + c.password);
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start(args));
    for (const Credentials& c : cases) {
        SCOPED_TRACE(c.what);
        QuonTOCSock sock;
        QSignalSpy in(&sock, &QuonTOCSock::LoggedIn), errors(&sock, &QuonTOCSock::Error);
        sock.Login(c.name, c.password, tocd.host(), tocd.port());
        ASSERT_TRUE(waitFor([&] { return in.size() + errors.size() > 0; }));
        ASSERT_EQ(in.size(), 1);
        EXPECT_EQ(in[0].at(0).toByteArray(), c.name);

        // The same name with a wrong password is refused by the server, not signed on.
        QuonTOCSock other;
        QSignalSpy otherIn(&other, &QuonTOCSock::LoggedIn), otherErrors(&other, &QuonTOCSock::Error);
        other.Login(c.name, c.password + "x", tocd.host(), tocd.port());
        ASSERT_TRUE(waitFor([&] { return otherErrors.size() == 1; }));
        EXPECT_EQ(otherErrors[0].at(0).value<std::int16_t>(), 980);
        EXPECT_EQ(otherIn.size(), 0);
    }
}

// What cannot go on the wire as typed is refused before anything is sent: a leading quote (the
// server would read a quoted word: "\"tarnwick\"" would sign on as tarnwick), no name at all (the
// server would read the password as the name), a control character, or a login line longer than
// servers take (they would close the connection).
TEST(TocUserInput, CredentialsThatCannotBeSentAsTypedAreRefusedUpFront)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret"}));
    QuonTOCSock sock;
    QSignalSpy in(&sock, &QuonTOCSock::LoggedIn), off(&sock, &QuonTOCSock::LoggedOff);
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 1; }));

    const std::pair<QByteArray, QByteArray> refused[] = {
        {"\"tarnwick\"", "secret"},
        {"\"Tarn Wick", "secret"},
        {QByteArray("tarn\0wick", 9), "secret"},
        {"", "secret"},
        {"   ", "secret"},
        {"Tarn\tWick", "secret"},
        {"Tarn Wick", "sec\nret"},
        {"Tarn Wick", "del\x7f"},
        {QByteArray(10000, 'a'), "secret"},
        {"Tarn Wick", QByteArray(1000, 'p')}, // roasted, twice as long
    };
    for (const auto& [name, password] : refused)
        EXPECT_THROW(sock.Login(name, password, tocd.host(), tocd.port()), std::invalid_argument)
            << name.left(20).toStdString();
    // Still signed on through the first connection, and the server saw no other.
    QSignalSpy joined(&sock, &QuonTOCSock::JoinedChat);
    sock.JoinChat("Still Here", 4);
    ASSERT_TRUE(waitFor([&] { return joined.size() == 1; }));
    EXPECT_EQ(tocd.log().count(QStringLiteral("connected from")), 1);
    EXPECT_EQ(in.size(), 1);
    EXPECT_EQ(off.size(), 0);
}

// Room names reach the server as typed; one the server cannot hold (a colon would break the
// colon-separated lines members receive) comes back as its error 950, and nothing is joined.
TEST(TocUserInput, RoomNamesJoinAsTypedOrGetTheServersError)
{
    TocdProcess tocd;
    ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret"}));
    QuonTOCSock sock;
    QSignalSpy in(&sock, &QuonTOCSock::LoggedIn);
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    ASSERT_TRUE(waitFor([&] { return in.size() == 1; }));

    QSignalSpy joined(&sock, &QuonTOCSock::JoinedChat), errors(&sock, &QuonTOCSock::Error);
    const QByteArray asTyped[] = {"Say \"hi\"", "back\\slash", "[x]{y}(z)", "Käse Ecke", QByteArray(2000, 'r')};
    for (const QByteArray& room : asTyped) {
        joined.clear();
        sock.JoinChat(room, 4);
        ASSERT_TRUE(waitFor([&] { return joined.size() == 1; })) << room.left(40).toStdString();
        EXPECT_EQ(joined[0].at(0).toByteArray(), room);
    }
    joined.clear();
    for (const QByteArray& room : {QByteArray("Tarn:Lounge"), QByteArray(":"), QByteArray("a::b:")}) {
        errors.clear();
        sock.JoinChat(room, 4);
        ASSERT_TRUE(waitFor([&] { return errors.size() == 1; })) << room.toStdString();
        EXPECT_EQ(errors[0].at(0).value<std::int16_t>(), 950);
    }
    // Exchanges the server has no rooms on are its error too.
    for (std::int16_t exchange : {std::int16_t(-1), std::int16_t(0), std::int16_t(32767)}) {
        errors.clear();
        sock.JoinChat("Tarn Lounge", exchange);
        ASSERT_TRUE(waitFor([&] { return errors.size() == 1; })) << exchange;
        EXPECT_EQ(errors[0].at(0).value<std::int16_t>(), 950);
    }
    settle();
    EXPECT_TRUE(joined.isEmpty());
}

} // namespace
