// The record's views offscreen: the transcript model reads only what is shown, follows the store
// as lines arrive and are written, and the windows draw sample data (their pictures are left in
// the build folder to look at).
#include "MessagesWindow.h"
#include "PresenceWindow.h"
#include "RoomWindow.h"
#include "TranscriptModel.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace Transcript;

namespace {

constexpr Time kMinute = 60 * 1000;

void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void keep(QWidget& window, const char* name)
{
    const QString dir = QStringLiteral(SCREENSHOT_DIR);
    QDir().mkpath(dir);
    EXPECT_TRUE(window.grab().save(dir + QLatin1Char('/') + QLatin1String(name))) << name;
}

class RecordViews : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("transcript.sqlite");
    TranscriptStore store{path};
    Time t0 = now() - 3 * 24 * 60 * kMinute;

    void SetUp() override
    {
        ASSERT_TRUE(store.open());
        store.sessionStarted("Tarn Wick", t0);
    }
};

TEST_F(RecordViews, LongTranscriptIsReadOnlyWhereShown)
{
    store.roomEntered("Busy", 4, t0);
    for (int i = 0; i < 20000; ++i)
        store.chatMessage("Busy", 4, "Some Body", i % 7 == 0, "line " + QByteArray::number(i), t0 + i);
    store.markRead(store.room("Busy", 4), 19000);
    store.flush();
    const TranscriptReader reader(path);
    RoomWindow window(reader, &store, store.room("Busy", 4), [](const QByteArray&) { return true; });
    TranscriptModel& model = window.model();
    EXPECT_EQ(model.rowCount(), 20000);
    EXPECT_EQ(model.markerRow(), 19000);
    EXPECT_EQ(model.unreadCount(), 1000);
    window.show();
    settle();
    const QModelIndex top = window.transcriptView().indexAt(QPoint(1, 1));
    EXPECT_EQ(top.row(), 19000); // opened at the first unread line
    EXPECT_EQ(top.data(TranscriptModel::TextRole).toString(), "line 19000");
    EXPECT_LE(reader.chunksRead(), 4);
    EXPECT_LE(model.linesHeld(), TranscriptModel::kPagesHeld * TranscriptModel::kPageLines);
    // Scrolling through everything holds a few pages, not the transcript.
    QScrollBar* bar = window.transcriptView().verticalScrollBar();
    for (int v = 0; v <= bar->maximum(); v += bar->maximum() / 20) {
        bar->setValue(v);
        window.transcriptView().viewport()->repaint();
    }
    EXPECT_LE(model.linesHeld(), TranscriptModel::kPagesHeld * TranscriptModel::kPageLines);
    EXPECT_EQ(model.index(12345).data(TranscriptModel::TextRole).toString(), "line 12345");
}

TEST_F(RecordViews, ModelFollowsTheStoreAndOwnLinesAppearOnce)
{
    const TranscriptReader reader(path);
    TranscriptModel model(reader, &store, store.room("Lounge", 4));
    EXPECT_EQ(model.rowCount(), 0);
    store.chatMessage("Lounge", 4, "Some Body", false, "hi");
    store.chatMessage("Other", 4, "Some Body", false, "elsewhere");
    EXPECT_EQ(model.rowCount(), 1);
    store.ownLineSent("Lounge", 4, "hello all");
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(model.index(1).data(TranscriptModel::AwaitingEchoRole).toBool());
    EXPECT_EQ(unreadLines(reader, &store, store.room("Lounge", 4)), 1);
    store.chatMessage("Lounge", 4, "Tarn Wick", false, "hello all"); // the echo
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_FALSE(model.index(1).data(TranscriptModel::AwaitingEchoRole).toBool());
    store.flush(); // written: the rows stay as they are
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0).data(TranscriptModel::TextRole).toString(), "hi");
    EXPECT_EQ(model.index(1).data(Qt::DisplayRole).toString().section(' ', 1), "Tarn Wick: hello all");
    EXPECT_EQ(unreadLines(reader, &store, store.room("Lounge", 4)), 2);
}

TEST_F(RecordViews, WindowsWithSampleData)
{
    const Time now = Transcript::now();
    const auto at = [&](Time minutesAgo) { return now - minutesAgo * kMinute; };
    store.roomEntered("Tarnwick Lounge", 4, at(6 * 24 * 60));
    store.roomEntered("Night Owls", 5, at(2 * 24 * 60));
    store.sessionEnded(Reason::Lost, at(30 * 60));
    store.sessionStarted("Tarn Wick", at(30 * 60 - 3));
    store.roomEntered("Tarnwick Lounge", 4, at(30 * 60 - 3));
    store.roomEntered("Night Owls", 5, at(30 * 60 - 3));
    store.sessionEnded(Reason::SignedOnElsewhere, at(20 * 60));
    store.sessionStarted("Tarn Wick", at(19 * 60));
    store.roomEntered("Tarnwick Lounge", 4, at(19 * 60));
    store.roomEntered("Night Owls", 5, at(19 * 60));
    store.roomLeft("Night Owls", 5, Reason::Ejected, at(5 * 60));
    store.memberChanged("Tarnwick Lounge", 4, "Some Body", true, at(40));
    store.chatMessage("Tarnwick Lounge", 4, "Some Body", false, "<HTML>anyone here?</HTML>", at(39));
    store.chatMessage("Tarnwick Lounge", 4, "Other One", false, "Tarn is always here", at(38));
    store.markRead(store.room("Tarnwick Lounge", 4), 3);
    store.chatMessage("Tarnwick Lounge", 4, "Other One", true, "psst, it is a program", at(12));
    store.memberChanged("Tarnwick Lounge", 4, "Some Body", false, at(10));
    store.chatMessage("Tarnwick Lounge", 4, "Third Person", false, "back from lunch", at(2));
    store.instantMessage("Some Body", false, false, "are you there?", at(90));
    store.instantMessage("Other One", false, false, "call me when you are back", at(30));
    store.instantMessage("Some Body", false, false, "hello?", at(20));
    store.instantMessage("Some Body", true, true, "I am away", at(20));
    store.flush();
    store.ownLineSent("Tarnwick Lounge", 4, "hello, I was away");

    const TranscriptReader reader(path);
    RoomWindow room(reader, &store, store.room("Tarnwick Lounge", 4), [](const QByteArray&) { return true; });
    room.setMembers({"Other One", "Third Person", "Tarn Wick"});
    room.memberChanged("Fourth", true);
    room.show();
    settle();
    EXPECT_EQ(room.members().size(), 4);
    EXPECT_EQ(room.model().markerRow(), 3);
    keep(room, "room-window.png");

    MessagesWindow messages(reader);
    messages.show();
    settle();
    QTreeWidget& tree = messages.tree();
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    EXPECT_EQ(tree.topLevelItem(0)->text(0), "Some Body (2)"); // newest first, received only
    EXPECT_EQ(tree.topLevelItem(0)->child(0)->text(0), "hello?");
    keep(messages, "messages-window.png");

    PresenceWindow presence(reader);
    presence.show();
    settle();
    EXPECT_EQ(presence.roomCount(), 2);
    keep(presence, "presence-window.png");
}

} // namespace
