// The transcript store against a database of its own: what goes in comes out, an older file is
// brought up to date, a damaged one is moved aside, and a file that cannot be kept never stops the
// caller.
#include "TranscriptDb.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"
#include "printers.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Transcript;

struct TranscriptStoreTestAccess {
    static QSqlDatabase& db(TranscriptStore& store) { return store.m_db; }
    // As if the process were killed: nothing more is written.
    static void kill(TranscriptStore& store)
    {
        store.m_ops.clear();
        store.m_rooms.clear();
        store.m_lastRoom = nullptr;
        TranscriptDb::closeConnection(store.m_db);
        store.m_gaveUp = true;
    }
};

namespace {

constexpr Time kDay = 24 * 3600 * 1000;

class TranscriptStoreTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data/transcript.sqlite"));
    Time t0 = now() - kDay;
};

TEST_F(TranscriptStoreTest, WhatIsKeptReadsBack)
{
    {
        TranscriptStore store(path);
        ASSERT_TRUE(store.open());
        store.sessionStarted("Tarn Wick", t0);
        store.roomEntered("Lounge", 4, t0 + 1000);
        store.chatMessage("Lounge", 4, "Some Body", false, "<HTML>hi &amp; bye</HTML>", t0 + 2000);
        store.chatMessage("lounge ", 4, "Other", true, "psst", t0 + 3000); // the same room to the server
        store.memberChanged("Lounge", 4, "Third", true, t0 + 4000);
        store.memberChanged("Lounge", 4, "Third", false, t0 + 5000);
        store.instantMessage("Some Body", false, false, "are you there?", t0 + 6000);
        store.instantMessage("Some Body", true, true, "away", t0 + 7000);
        store.roomLeft("Lounge", 4, Reason::Ejected, t0 + 8000);
        store.roomEntered("Lounge", 4, t0 + 9000);
        store.sessionEnded(Reason::Lost, t0 + 10000);
        EXPECT_EQ(store.queuedLines(store.room("Lounge", 4)).size(), 4);
        store.flush();
        EXPECT_TRUE(store.queuedLines(store.room("Lounge", 4)).isEmpty());
    }
    TranscriptReader reader(path);
    ASSERT_TRUE(reader.isOpen()) << reader.error().toStdString();
    const auto rooms = reader.rooms("tarnwick");
    ASSERT_EQ(rooms.size(), 1);
    EXPECT_EQ(rooms[0].ref.name, "Lounge"); // as the server last spelled it
    EXPECT_EQ(rooms[0].endSeq, 4);
    const QList<Line> expected{{t0 + 2000, LineKind::Said, "Some Body", "<HTML>hi &amp; bye</HTML>"},
                               {t0 + 3000, LineKind::Whispered, "Other", "psst"},
                               {t0 + 4000, LineKind::Entered, "Third", {}},
                               {t0 + 5000, LineKind::Left, "Third", {}}};
    EXPECT_EQ(reader.lines(rooms[0].id, 0, 10), expected);
    EXPECT_EQ(reader.lines(rooms[0].id, 1, 2), expected.mid(1, 2));
    EXPECT_EQ(shownText(expected[0].text), QStringLiteral("hi & bye"));

    const auto stays = reader.stays(rooms[0].id, now());
    ASSERT_EQ(stays.size(), 2);
    EXPECT_EQ(stays[0].to, t0 + 8000);
    EXPECT_EQ(stays[0].why, Reason::Ejected);
    EXPECT_EQ(stays[1].to, t0 + 10000); // the session's end ends the stay
    EXPECT_EQ(stays[1].why, Reason::Lost);

    const auto ims = reader.instantMessages(0, 10);
    ASSERT_EQ(ims.size(), 2);
    EXPECT_TRUE(ims[0].outgoing && ims[0].autoResponse); // newest first
    EXPECT_EQ(ims[1].text, "are you there?");
    EXPECT_EQ(ims[1].account, "tarnwick");
}

TEST_F(TranscriptStoreTest, ManyLinesAreReadByChunkAndEndAsQuit)
{
    {
        TranscriptStore store(path);
        ASSERT_TRUE(store.open());
        store.sessionStarted("tarnwick", t0);
        store.roomEntered("Busy", 5, t0);
        for (int i = 0; i < 1000; ++i)
            store.chatMessage("Busy", 5, "flood", false, QByteArray::number(i), t0 + i);
        store.markRead(store.room("Busy", 5), 600);
    } // destroyed: written, and the open stay ends with the run
    TranscriptReader reader(path);
    const auto room = reader.room({"tarnwick", "busy", 5});
    ASSERT_TRUE(room);
    EXPECT_EQ(room->endSeq, 1000);
    EXPECT_EQ(room->readSeq, 600);
    const QList<Line> some = reader.lines(room->id, 510, 20);
    ASSERT_EQ(some.size(), 20);
    EXPECT_EQ(some.front().text, "510");
    EXPECT_EQ(some.back().text, "529");
    EXPECT_LE(reader.chunksRead(), 2); // 510..511 and 512..529
    EXPECT_EQ(reader.lines(room->id, 990, 50).size(), 10);
    EXPECT_EQ(reader.stays(room->id, now()).value(0).why, Reason::Quit);
}

TEST_F(TranscriptStoreTest, OwnLineKeptOnceAsEchoOrAsSent)
{
    TranscriptStore store(path);
    ASSERT_TRUE(store.open());
    store.sessionStarted("Tarn Wick");
    const RoomRef lounge = store.room("Lounge", 4);
    store.ownLineSent("Lounge", 4, "hello");
    EXPECT_EQ(store.awaitingEcho(lounge).size(), 1);
    store.chatMessage("Lounge", 4, "Other", false, "hello"); // someone else's line is no echo
    EXPECT_EQ(store.awaitingEcho(lounge).size(), 1);
    store.chatMessage("Lounge", 4, "tarnwick", false, "hello");
    EXPECT_TRUE(store.awaitingEcho(lounge).isEmpty());
    store.ownLineSent("Lounge", 4, "no echo here", now() - TranscriptStore::kEchoWaitMs);
    store.flush();
    TranscriptReader reader(path);
    const auto room = reader.room(lounge);
    ASSERT_TRUE(room);
    const QList<Line> lines = reader.lines(room->id, 0, 10);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1].sender, "tarnwick");
    EXPECT_EQ(lines[2].sender, "Tarn Wick");
    EXPECT_EQ(lines[2].text, "no echo here");
}

TEST_F(TranscriptStoreTest, FirstSchemaIsBroughtUpToDate)
{
    QFile::remove(path);
    QDir().mkpath(dir.filePath("data"));
    {
        QString error;
        QSqlDatabase db = TranscriptDb::openConnection(path, false, &error);
        QSqlQuery q(db);
        for (const QString& sql : TranscriptDb::migrations()[0])
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
        QByteArray chunk;
        TranscriptDb::packLine(chunk, {t0 + 5, LineKind::Said, "old", "from version 1"});
        ASSERT_TRUE(q.exec("PRAGMA user_version=1"));
        ASSERT_TRUE(q.exec("INSERT INTO rooms(id, account, room_key, name, exchange) VALUES(7, CAST('tarnwick' AS BLOB), CAST('old' AS BLOB), CAST('Old' AS BLOB), 4)"));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO stays(room, joined) VALUES(7, %1)").arg(t0)));
        q.prepare("INSERT INTO room_lines(room, first_seq, count, first_at, last_at, lines) VALUES(7, 0, 1, ?, ?, ?)");
        q.addBindValue(t0 + 5);
        q.addBindValue(t0 + 5);
        q.addBindValue(chunk);
        ASSERT_TRUE(q.exec());
        q = QSqlQuery();
        TranscriptDb::closeConnection(db);
    }
    {
        TranscriptStore store(path);
        ASSERT_TRUE(store.open());
    }
    TranscriptReader reader(path);
    ASSERT_TRUE(reader.isOpen()) << reader.error().toStdString();
    const auto room = reader.room({"tarnwick", "old", 4});
    ASSERT_TRUE(room);
    EXPECT_EQ(reader.lines(room->id, 0, 5).value(0).text, "from version 1");
    // The stay the old program left open ends where nothing says it went on.
    const auto stays = reader.stays(room->id, now());
    ASSERT_EQ(stays.size(), 1);
    EXPECT_EQ(stays[0].why, Reason::Unrecorded);
}

TEST_F(TranscriptStoreTest, KilledRunEndsWhereItWasLastAliveAndOldRowsGo)
{
    auto store = std::make_unique<TranscriptStore>(path);
    ASSERT_TRUE(store->open());
    store->sessionStarted("tarnwick", t0);
    store->roomEntered("Lounge", 4, t0);
    store->chatMessage("Lounge", 4, "ancient", false, "gone by now", now() - 100 * kDay);
    store->flush();
    QSqlQuery(TranscriptStoreTestAccess::db(*store))
        .exec(QStringLiteral("UPDATE runs SET alive = %1").arg(t0 + 60000));
    {
        TranscriptReader reader(path);
        const auto room = reader.room({"tarnwick", "lounge", 4});
        ASSERT_TRUE(room);
        EXPECT_EQ(reader.stays(room->id, now()).value(0).to, t0 + 60000);
    }
    TranscriptStoreTestAccess::kill(*store);
    store = std::make_unique<TranscriptStore>(path);
    ASSERT_TRUE(store->open());
    TranscriptReader reader(path);
    const auto room = reader.room({"tarnwick", "lounge", 4});
    ASSERT_TRUE(room);
    EXPECT_EQ(room->endSeq - room->firstSeq, 0); // older than 90 days: removed at open
    const auto stays = reader.stays(room->id, now());
    ASSERT_EQ(stays.size(), 1);
    EXPECT_EQ(stays[0].to, t0 + 60000);
    EXPECT_EQ(stays[0].why, Reason::Unrecorded);
}

TEST_F(TranscriptStoreTest, DamagedFileIsMovedAsideAndANewOneStarted)
{
    QDir().mkpath(dir.filePath("data"));
    QFile bad(path);
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    const QByteArray garbage(8192, 'x');
    bad.write(garbage);
    bad.close();

    TranscriptStore store(path);
    QSignalSpy failed(&store, &TranscriptStore::failed);
    ASSERT_TRUE(store.open());
    ASSERT_EQ(failed.size(), 1);
    const QString line = failed[0][0].toString();
    EXPECT_TRUE(line.startsWith("Could not keep the transcript: ") && line.endsWith('.')) << line.toStdString();
    EXPECT_TRUE(line.contains("damaged")) << line.toStdString();
    const QStringList aside = QDir(dir.filePath("data")).entryList({"transcript.sqlite.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(dir.filePath("data/" + aside[0]));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), garbage);

    store.sessionStarted("tarnwick");
    store.roomEntered("Lounge", 4);
    store.flush();
    EXPECT_TRUE(TranscriptReader(path).room({"tarnwick", "lounge", 4}));
}

TEST_F(TranscriptStoreTest, FileThatCannotBeKeptIsReportedOnceAndTheCallerGoesOn)
{
    // A folder that cannot be made: its parent is a file. (A read-only folder does the same where
    // permissions hold, which they do not for root.)
    QFile blocker(dir.filePath("data"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TranscriptStore store(path);
    QSignalSpy failed(&store, &TranscriptStore::failed);
    EXPECT_FALSE(store.open());
    store.sessionStarted("tarnwick");
    store.chatMessage("Lounge", 4, "x", false, "y");
    store.flush();
    EXPECT_FALSE(store.open());
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0][0].toString().startsWith("Could not keep the transcript: cannot make the folder"));
    EXPECT_TRUE(store.queuedLines(store.room("Lounge", 4)).isEmpty()); // nothing piles up

    if (geteuid() != 0) {
        QTemporaryDir readOnly;
        QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        TranscriptStore inReadOnly(readOnly.filePath("transcript.sqlite"));
        QSignalSpy spy(&inReadOnly, &TranscriptStore::failed);
        EXPECT_FALSE(inReadOnly.open());
        EXPECT_EQ(spy.size(), 1);
        QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST_F(TranscriptStoreTest, FullDiskIsReportedOnceAndWritingGoesOn)
{
    TranscriptStore store(path);
    QSignalSpy failed(&store, &TranscriptStore::failed);
    ASSERT_TRUE(store.open());
    store.sessionStarted("tarnwick");
    store.flush();
    QSqlQuery q(TranscriptStoreTestAccess::db(store));
    ASSERT_TRUE(q.exec("PRAGMA page_count") && q.next());
    ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA max_page_count=%1").arg(q.value(0).toInt())));
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 2000; ++i)
            store.chatMessage("Lounge", 4, "flood", false, QByteArray(200, 'x'));
        store.flush();
    }
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0][0].toString().contains("full")) << failed[0][0].toString().toStdString();
    EXPECT_TRUE(store.queuedLines(store.room("Lounge", 4)).isEmpty());
    ASSERT_TRUE(q.exec("PRAGMA max_page_count=1000000"));
    store.chatMessage("Lounge", 4, "after", false, "room again");
    store.flush();
    TranscriptReader reader(path);
    const auto room = reader.room(store.room("Lounge", 4));
    ASSERT_TRUE(room);
    EXPECT_EQ(reader.lines(room->id, 0, 5).value(0).text, "room again");
}

} // namespace
