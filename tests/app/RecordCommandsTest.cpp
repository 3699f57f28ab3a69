// --report and --transcript as they print, on a record made through the store (times in UTC: the
// test runs with TZ=UTC).
#include "RecordCommands.h"
#include "TranscriptStore.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace RecordCommands;
using Transcript::Reason;

namespace {

Time at(const char* iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate).toMSecsSinceEpoch();
}

TEST(RecordCommands, Durations)
{
    EXPECT_EQ(parseDuration("90m"), 90 * 60 * 1000);
    EXPECT_EQ(parseDuration("12h"), 12 * 3600 * 1000);
    EXPECT_EQ(parseDuration("7d"), 7 * 24 * 3600 * 1000LL);
    for (const char* bad : {"", "0h", "5", "h", "1.5h", "-3d", "3 d", "3D", "3w", "3651d", "99999999m"})
        EXPECT_FALSE(parseDuration(bad)) << bad;
}

TEST(RecordCommands, RoomArguments)
{
    const auto plain = parseRoom("Tarnwick Lounge");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->name, "Tarnwick Lounge");
    EXPECT_FALSE(plain->exchange);
    const auto colon = parseRoom("a:b:5");
    ASSERT_TRUE(colon);
    EXPECT_EQ(colon->name, "a:b");
    EXPECT_EQ(colon->exchange, 5);
    EXPECT_FALSE(parseRoom(":4"));
    EXPECT_FALSE(parseRoom("room:40000"));
}

class RecordOutput : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    Options options{dir.filePath("transcript.sqlite"), std::nullopt, at("2026-03-01T13:00:00Z"), {}};
    QString out, err;
    QTextStream outStream{&out}, errStream{&err};

    void SetUp() override
    {
        TranscriptStore store(options.databasePath, 100000);
        ASSERT_TRUE(store.open());
        store.sessionStarted("Tarn Wick", at("2026-03-01T10:00:00Z"));
        store.roomEntered("Lounge", 4, at("2026-03-01T10:00:00Z"));
        store.memberChanged("Lounge", 4, "Some Body", true, at("2026-03-01T10:00:05Z"));
        store.chatMessage("Lounge", 4, "Some Body", false, "<HTML>hello\nthere</HTML>", at("2026-03-01T10:00:06Z"));
        store.chatMessage("Lounge", 4, "Some Body", true, "psst", at("2026-03-01T10:00:07Z"));
        store.memberChanged("Lounge", 4, "Some Body", false, at("2026-03-01T10:00:08Z"));
        store.chatMessage("Lounge", 5, "Elsewhere", false, "other exchange", at("2026-03-01T10:00:09Z"));
        store.sessionEnded(Reason::Lost, at("2026-03-01T11:00:00Z"));
        store.sessionStarted("Tarn Wick", at("2026-03-01T11:00:30Z"));
        store.roomEntered("Lounge", 4, at("2026-03-01T11:00:30Z"));
        store.sessionEnded(Reason::Quit, at("2026-03-01T13:00:00Z"));
    }
};

TEST_F(RecordOutput, ReportOneLinePerRoomThenItsGaps)
{
    EXPECT_EQ(runReport(options, outStream, errStream), 0);
    EXPECT_EQ(out, "Lounge:4 present 99.7% since 2026-03-01T10:00:00; 1 gaps, longest 30 s\n"
                   "  gap 2026-03-01T11:00:00..2026-03-01T11:00:30 (30 s): connection lost\n");
    out.clear();
    options.since = parseDuration("90m");
    EXPECT_EQ(runReport(options, outStream, errStream), 0);
    EXPECT_EQ(out, "Lounge:4 present 100.0% since 2026-03-01T11:30:00; 0 gaps, longest 0 s\n");
    EXPECT_TRUE(err.isEmpty());
}

TEST_F(RecordOutput, TranscriptOldestFirst)
{
    EXPECT_EQ(runTranscript(options, *parseRoom("lounge:4"), outStream, errStream), 0);
    EXPECT_EQ(out, "2026-03-01T10:00:05 * Some Body entered\n"
                   "2026-03-01T10:00:06 Some Body: hello there\n"
                   "2026-03-01T10:00:07 Some Body (whisper): psst\n"
                   "2026-03-01T10:00:08 * Some Body left\n");
    out.clear();
    options.since = parseDuration("180m"); // from 10:00:00 on, every exchange
    EXPECT_EQ(runTranscript(options, *parseRoom("LOUNGE"), outStream, errStream), 0);
    EXPECT_EQ(out.count('\n'), 5);
    EXPECT_TRUE(out.endsWith("2026-03-01T10:00:09 Elsewhere: other exchange\n"));
    EXPECT_EQ(runTranscript(options, *parseRoom("Nowhere"), outStream, errStream), 1);
    EXPECT_EQ(err, "tarnwick: the transcript has no room \"Nowhere\"\n");
}

TEST(RecordCommands, NoDatabaseYetExitsOneWithAMessage)
{
    QTemporaryDir dir;
    QString out, err;
    QTextStream o(&out), e(&err);
    const Options options{dir.filePath("none.sqlite"), std::nullopt, 0, {}};
    EXPECT_EQ(runReport(options, o, e), 1);
    EXPECT_EQ(runTranscript(options, *parseRoom("Lounge"), o, e), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err.count("tarnwick: there is no transcript yet ("), 2) << err.toStdString();
}

} // namespace
