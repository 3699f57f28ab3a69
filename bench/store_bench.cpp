// What keeping the record costs.
//
// Flood: 100,000 room messages arrive from the server (frames through the client, as from the
// socket) and each is handled by a slot that does what the session does for it; with storing on
// the slot also hands the line to the store, and the store's writing of them is timed too. The
// anchor is the same flood with storing off. To follow the whole path once the session keeps the
// record itself, swap onChat for the session's own handler.
//
// Opening a room window: on a transcript of 1,000,000 lines, next to the same on 100 lines; the
// view must read only what it shows.
#include "FakeTocSocket.h"
#include "QuonTOCSock.h"
#include "RoomWindow.h"
#include "TranscriptModel.h"
#include "TranscriptReader.h"
#include "TranscriptStore.h"

#include <QApplication>
#include <QHash>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kFlood = 100000;
constexpr std::int32_t kRoomId = 1234;

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

// A signed-on client in one room, and the per-message work of the session: find the room the
// message is for.
struct Flood {
    struct Room {
        QByteArray name;
        std::int16_t exchange;
    };
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};
    QHash<std::int32_t, Room> rooms{{kRoomId, {"Tarnwick Lounge", 4}}};
    TranscriptStore* store = nullptr;
    qint64 handled = 0;

    Flood()
    {
        QObject::connect(&sock, &QuonTOCSock::IncomingChatMessage, &sock,
                         [this](std::int32_t id, const QByteArray& sender, bool whisper, const QByteArray& text) {
                             onChat(id, sender, whisper, text);
                         });
        sock.Login("Tarn Wick", "secret", QStringLiteral("toc.example"), 5190);
        fake->open();
    }

    void onChat(std::int32_t id, const QByteArray& sender, bool whisper, const QByteArray& text)
    {
        const auto room = rooms.constFind(id);
        if (room == rooms.cend())
            return;
        ++handled;
        if (store)
            store->chatMessage(room->name, room->exchange, sender, whisper, text);
    }
};

void BM_FloodStoringOff(benchmark::State& state)
{
    static const QByteArray frames = floodFrames();
    Flood flood;
    for (auto _ : state)
        flood.fake->deliver(frames);
    benchmark::DoNotOptimize(flood.handled);
    state.SetItemsProcessed(state.iterations() * kFlood);
}
BENCHMARK(BM_FloodStoringOff)->Unit(benchmark::kMillisecond);

void BM_FloodStoringOn(benchmark::State& state)
{
    static const QByteArray frames = floodFrames();
    Flood flood;
    TranscriptStore store(scratch().filePath(QStringLiteral("flood.sqlite")));
    store.open();
    store.sessionStarted("Tarn Wick");
    store.roomEntered("Tarnwick Lounge", 4);
    flood.store = &store;
    for (auto _ : state) {
        flood.fake->deliver(frames);
        store.flush(); // the writing belongs to the cost
    }
    benchmark::DoNotOptimize(flood.handled);
    state.SetItemsProcessed(state.iterations() * kFlood);
    if (!store.failure().isEmpty())
        state.SkipWithError(store.failure().toLocal8Bit().constData());
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

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
