// Values of the command line: --server's HOST[:PORT], --join's ROOM[:EXCHANGE], --password-file's file;
// and the settings file.
#include "AppSettings.h"
#include "Headless.h"
#include "ServerOption.h"
#include "printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

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

TEST(PasswordFile, OnlyItsOwnerMayReadOrWriteIt)
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
                                   file("s3cret\n", owner | QFileDevice::ReadGroup),
                                   file("s3cret\n", QFileDevice::ReadOwner | QFileDevice::WriteGroup),
                                   file("s3cret\n", QFileDevice::ReadOwner | QFileDevice::WriteOther),
                                   file("\nsecond", owner), file(QByteArray(5000, 'x'), owner),
                                   dir.filePath("missing"), dir.path()}) {
        const PasswordFile read = readPasswordFile(refused);
        EXPECT_TRUE(read.password.isEmpty()) << refused.toStdString();
        EXPECT_FALSE(read.error.isEmpty()) << refused.toStdString();
    }
    // Someone else's file, however private, is not the user's password.
    const QString theirs = file("s3cret\n", owner);
    if (::chown(theirs.toLocal8Bit().constData(), ::getuid() + 1, ::getgid()) == 0) {
        EXPECT_TRUE(readPasswordFile(theirs).error.contains("belongs to another user"));
    }
}

TEST(Settings, WhatIsSavedIsReadBack)
{
    QTemporaryDir dir;
    AppSettings settings(dir.filePath("Tarnwick/Tarnwick.ini"));
    const Presence::Remembered defaults = settings.load();
    EXPECT_TRUE(defaults.screenName.isEmpty());
    EXPECT_EQ(defaults.exchange, 5);
    EXPECT_TRUE(defaults.rooms.isEmpty());
    EXPECT_TRUE(defaults.staySignedOn);
    EXPECT_FALSE(defaults.rememberPassword);

    Presence::Remembered many{ServerAddress{"toc.example", 5191}, "Tarn Wick", 4, {{"Lounge", 5}, {"a=b;c", 4}}, false, true};
    for (int i = 0; i < 10000; ++i) // no cap: every room the user chose comes back
        many.rooms << Presence::Room{QString("room %1").arg(i), 4};
    EXPECT_TRUE(settings.save(many).isEmpty());
    const Presence::Remembered back = settings.load();
    EXPECT_TRUE(settings.problem().isEmpty()) << settings.problem().toStdString();
    EXPECT_EQ(back.server, (ServerAddress{"toc.example", 5191}));
    EXPECT_EQ(back.screenName, "Tarn Wick");
    EXPECT_EQ(back.exchange, 4);
    ASSERT_EQ(back.rooms.size(), 10002);
    EXPECT_EQ(back.rooms[1].label(), "a=b;c:4");
    EXPECT_EQ(back.rooms.last().label(), "room 9999:4");
    EXPECT_FALSE(back.staySignedOn);
    EXPECT_TRUE(back.rememberPassword);
    EXPECT_EQ(settings.keepDays(), 90);

    // The days the transcript keeps are set by hand, and stay as set.
    QSettings(settings.path(), QSettings::IniFormat).setValue("KeepDays", 7);
    (void)settings.load();
    EXPECT_TRUE(settings.problem().isEmpty()) << settings.problem().toStdString();
    EXPECT_EQ(settings.keepDays(), 7);
    EXPECT_TRUE(settings.save(many).isEmpty());
    (void)settings.load();
    EXPECT_EQ(settings.keepDays(), 7);
}

TEST(Settings, AFileThatCannotBeFullyReadIsKeptBesideItOnce)
{
    const QByteArray cases[] = {
        "; my rooms\nScreenName=Tarn\n",
        "Exchange=70000\n",
        "StaySignedOn=perhaps\n",
        "Server=toc.example:99999\n",
        "KeepDays=0\n",
        "[Rooms]\nsize=-5\n1\\Name=a\n1\\Exchange=4\n",
        "[Rooms]\nsize=2\n1\\Name=a\n1\\Exchange=-3\n2\\Name=b\n2\\Exchange=4\n",
        "[Rooms\nScreenName=Tarn\n",
    };
    for (const QByteArray& content : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Tarnwick.ini");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        AppSettings settings(path);
        settings.load();
        EXPECT_TRUE(settings.problem().startsWith("Could not read all of the settings")) << content.constData();
        QFile copy(path + ".unreadable");
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << content.constData();
        EXPECT_EQ(copy.readAll(), content);
        settings.save({});
        settings.load(); // the next run finds the copy made: no second one
        EXPECT_FALSE(QFile::exists(path + ".unreadable.2")) << content.constData();
    }
}

TEST(Settings, AFailedSaveIsToldOncePerCause)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("Tarnwick")); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    AppSettings settings(dir.filePath("Tarnwick/Tarnwick.ini"));
    const QString failed = "Could not save the settings: the folder " + dir.filePath("Tarnwick") + " cannot be made.";
    EXPECT_EQ(settings.save({}), failed);
    EXPECT_TRUE(settings.save({}).isEmpty()); // said once
    blocker.remove();
    EXPECT_TRUE(settings.save({}).isEmpty());
    QDir(dir.filePath("Tarnwick")).removeRecursively();
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    EXPECT_EQ(settings.save({}), failed); // failing again after a success is news
}

} // namespace
