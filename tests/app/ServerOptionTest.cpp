// Values of the command line: --server's HOST[:PORT], --join's ROOM[:EXCHANGE], --password-file's file;
// and the settings file.
#include "AppSettings.h"
#include "Headless.h"
#include "ServerOption.h"
#include "printers.h"

#include <QDirIterator>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ServerOption, SplitsHostAndPortOrRefuses)
{
    const struct {
        const char* text;
        const char* host; // nullptr: refused
        quint16 port;
    } cases[] = {
        {"toc.example", "toc.example", 5190},
        {"toc.example:5191", "toc.example", 5191},
        {"127.0.0.1:1", "127.0.0.1", 1},
        {" host:65535 ", "host", 65535},
        {"::1", "::1", 5190},
        {"[::1]:6000", "::1", 6000},
        {"[::1]", "::1", 5190},
        {"", nullptr, 0},
        {":5190", nullptr, 0},
        {"host:", nullptr, 0},
        {"host:0", nullptr, 0},
        {"host:65536", nullptr, 0},
        {"host:-1", nullptr, 0},
        {"host:port", nullptr, 0},
        {"[::1", nullptr, 0},
        {"[::1]x", nullptr, 0},
        {"[::1]:", nullptr, 0},
        {"[]:5190", nullptr, 0},
    };
    for (const auto& c : cases) {
        const auto parsed = parseServerOption(QString::fromLatin1(c.text), 5190);
        if (!c.host) {
            EXPECT_FALSE(parsed.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(parsed->host, c.host) << c.text;
        EXPECT_EQ(parsed->port, c.port) << c.text;
    }
}

TEST(JoinOption, SplitsRoomAndExchangeOrRefuses)
{
    const struct {
        const char* text;
        const char* room; // nullptr: refused
        int exchange;
    } cases[] = {
        {"lobby", "lobby", 4}, {"Tarnwick Lounge:5", "Tarnwick Lounge", 5}, {"a:b:0", "a:b", 0},
        {"x:32767", "x", 32767}, {"", nullptr, 0}, {" :5", nullptr, 0}, {"x:", nullptr, 0},
        {"x:32768", nullptr, 0}, {"x:-1", nullptr, 0}, {"x:five", nullptr, 0},
    };
    for (const auto& c : cases) {
        const auto parsed = parseJoinOption(QString::fromLatin1(c.text));
        ASSERT_EQ(parsed.has_value(), c.room != nullptr) << c.text;
        if (parsed) {
            EXPECT_EQ(parsed->name, c.room);
            EXPECT_EQ(parsed->exchange, c.exchange);
        }
    }
}

TEST(PasswordFile, OnlyItsOwnerMayReadIt)
{
    QTemporaryDir dir;
    const auto file = [&](const QByteArray& content, QFileDevice::Permissions permissions) {
        static int n = 0;
        QFile f(dir.filePath(QString::number(++n)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.setPermissions(permissions);
        return f.fileName();
    };
    const auto owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    EXPECT_EQ(readPasswordFile(file("s3cret\r\nsecond line", owner)).password, "s3cret");
    EXPECT_EQ(readPasswordFile(file("p\xC3\xA4ss", owner)).password, "p\u00e4ss");
    for (const QString& refused : {file("s3cret\n", owner | QFileDevice::ReadOther),
                                   file("s3cret\n", owner | QFileDevice::ReadGroup), file("\nsecond", owner),
                                   file(QByteArray(5000, 'x'), owner), dir.filePath("missing"), dir.path()}) {
        const PasswordFile read = readPasswordFile(refused);
        EXPECT_TRUE(read.password.isEmpty()) << refused.toStdString();
        EXPECT_FALSE(read.error.isEmpty()) << refused.toStdString();
    }
}

TEST(Settings, WhatIsSavedIsReadBackAndWhatCannotBeUsedIsLeftOut)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    const Presence::Remembered defaults = AppSettings::load();
    EXPECT_TRUE(defaults.screenName.isEmpty());
    EXPECT_EQ(defaults.exchange, 5);
    EXPECT_TRUE(defaults.rooms.isEmpty());
    EXPECT_TRUE(defaults.staySignedOn);
    EXPECT_FALSE(defaults.rememberPassword);

    AppSettings::save({"Tarn Wick", 4, {{"Lounge", 5}, {"a=b;c", 4}}, false, true});
    const Presence::Remembered back = AppSettings::load();
    EXPECT_EQ(back.screenName, "Tarn Wick");
    EXPECT_EQ(back.exchange, 4);
    ASSERT_EQ(back.rooms.size(), 2);
    EXPECT_EQ(back.rooms[1].label(), "a=b;c:4");
    EXPECT_FALSE(back.staySignedOn);
    EXPECT_TRUE(back.rememberPassword);

    // A hand-edited file: what cannot be used is left out.
    {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, "Tarnwick", "Tarnwick");
        s.setValue("Exchange", "70000");
        s.setValue("Rooms/1/Exchange", "-3");
    }
    const Presence::Remembered edited = AppSettings::load();
    EXPECT_EQ(edited.exchange, 5);
    ASSERT_EQ(edited.rooms.size(), 1);
    EXPECT_EQ(edited.rooms[0].name, "a=b;c");
}

} // namespace
