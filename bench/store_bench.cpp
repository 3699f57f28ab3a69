// What keeping the record costs.
//
// Flood: 100,000 room messages arrive from the server and take the whole path the program's do:
// frames through the client (as from the socket), the session keeper (Presence, signed on and in
// the room), and, with storing on, the transcript store, whose writing of them is timed too. The
// anchor is the same flood through the same path with storing off (no record kept).
//
// Opening a room window: on a transcript of 1,000,000 lines, next to the same on 100 lines; the
// view must read only what it shows.
#include "FakeTocSocket.h"
#include "Presence.h"
#include "QuonTOCSock.h"
#include "RoomWindow.h"
#include "TranscriptModel.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kFlood = 100000;

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray floodFrames()
{
    QByteArray out;
    for (int i = 0; i < kFlood; ++i)
        out += flapFrame(2,
                         "CHAT_IN_ENC:1234:Some Body:" + QByteArray(i % 10 == 0 ? "T" : "F") +
                             ":A:en:<HTML>message number " + QByteArray::number(i) + " of the flood</HTML>",
                         i & 0xFFFF);
    return out;
}

// The session signed on and in the room the flood is for, with or without a record.
struct Flood {
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};
    Presence presence{sock, nullptr, nullptr};
    qint64 handled = 0;

    explicit Flood(std::unique_ptr<TranscriptStore> store = nullptr)
    {
        // Counts what came through; the client hands on a long arrival over several turns of the
        // event loop, as in the program.
        QObject::connect(&sock, &QuonTOCSock::IncomingChatMessage, [this] { ++handled; });
        if (store)
            presence.keepRecord(std::move(store));
        presence.start(false);
        presence.signOn("Tarn Wick", "secret");
        fake->open();
        fake->deliver(flapFrame(2, "SIGN_ON:TOC2.0"));
        fake->deliver(flapFrame(2, "CONFIG2:done:"));
        presence.join("Tarnwick Lounge", 4);
        fake->deliver(flapFrame(2, "CHAT_JOIN:1234:Tarnwick Lounge"));
        fake->deliver(flapFrame(2, "CHAT_UPDATE_BUDDY:1234:T:Tarn Wick:Some Body"));
        if (!presence.signedOn() || presence.roomList().rows().size() != 1)
            qFatal("the session did not get into the room");
    }

    void run(const QByteArray& frames)
    {
        const qint64 until = handled + kFlood;
        fake->deliver(frames);
        while (handled < until)
            QCoreApplication::processEvents();
    }
};

void BM_FloodStoringOff(benchmark::State& state)
{
    static const QByteArray frames = floodFrames();
    Flood flood;
    for (auto _ : state)
        flood.run(frames);
    state.SetItemsProcessed(state.iterations() * kFlood);
}
BENCHMARK(BM_FloodStoringOff)->Unit(benchmark::kMillisecond);

void BM_FloodStoringOn(benchmark::State& state)
{
    static const QByteArray frames = floodFrames();
    Flood flood(std::make_unique<TranscriptStore>(scratch().filePath(QStringLiteral("flood.sqlite"))));
    TranscriptStore& store = *flood.presence.record();
    for (auto _ : state) {
        flood.run(frames);
        store.flush(); // the writing belongs to the cost
    }
    state.SetItemsProcessed(state.iterations() * kFlood);
    if (!store.failure().isEmpty())
        state.SkipWithError(store.failure().toLocal8Bit().constData());
    if (store.queuedCount(store.room("Tarnwick Lounge", 4)) != 0)
        state.SkipWithError("the flood was not written");
}
BENCHMARK(BM_FloodStoringOn)->Unit(benchmark::kMillisecond);

// A transcript of lines lines in its own file, made once.
QString transcriptOf(int lines)
{
    const QString path = scratch().filePath(QStringLiteral("room-%1.sqlite").arg(lines));
    if (!QFile::exists(path)) {
        TranscriptStore store(path);
        store.open();
        store.sessionStarted("Tarn Wick");
        store.roomEntered("Tarnwick Lounge", 4);
        const Transcript::Time start = Transcript::now() - lines;
        for (int i = 0; i < lines; ++i) {
            store.chatMessage("Tarnwick Lounge", 4, "Some Body", false, "line " + QByteArray::number(i), start + i);
            if (i % 100000 == 99999)
                store.flush();
        }
        store.markRead(store.room("Tarnwick Lounge", 4), lines / 2); // opens in the middle
    }
    return path;
}

// Opening: the reader, the window, the first paint, closing.
void BM_OpenRoomWindow(benchmark::State& state)
{
    const QString path = transcriptOf(int(state.range(0)));
    const Transcript::RoomRef room{"tarnwick", "Tarnwick Lounge", 4};
    for (auto _ : state) {
        const TranscriptReader reader(path);
        RoomWindow window(reader, nullptr, room, {});
        window.show();
        QApplication::processEvents();
        window.grab(); // the first paint, whatever the platform does with show
        benchmark::DoNotOptimize(window.model().rowCount());
    }
}
BENCHMARK(BM_OpenRoomWindow)->Arg(100)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
