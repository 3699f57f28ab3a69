// The main window under load, shown (offscreen): what one more log line and one more room row cost
// with few and with many held, each painted before the next; and the longest the event loop waits
// while a burst of server lines goes through the whole path (socket, client, presence, window).
#include "FakeServer.h"
#include "LogModel.h"
#include "QuonTOCSock.h"
#include "frmMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace {

struct ShownWindow {
    FakeTocSocket* net = new FakeTocSocket;
    frmMain window{std::make_unique<QuonTOCSock>(std::unique_ptr<TocSocket>(net))};

    ShownWindow()
    {
        window.show();
        window.presence().signOn(QStringLiteral("Tarn Wick"), QStringLiteral("secret"));
        acceptSignOn(*net);
        QApplication::processEvents();
    }
};

// Each iteration adds a line and lets the window lay it out and paint it.
void BM_AppendLogLine(benchmark::State& state)
{
    ShownWindow w;
    for (int i = 0; i < state.range(0); ++i)
        w.window.addLog(QStringLiteral("held line %1").arg(i));
    QApplication::processEvents();
    int n = 0;
    for (auto _ : state) {
        w.window.addLog(QStringLiteral("Error 901: someone %1 is not currently available.").arg(++n));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AppendLogLine)->Arg(100)->Arg(LogModel::kMaxLines)->Iterations(300)->Repetitions(5)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Each iteration is a room the server says we joined, through the client, into the list.
void BM_AddRoomRow(benchmark::State& state)
{
    ShownWindow w;
    QByteArray burst;
    for (int i = 0; i < state.range(0); ++i)
        burst += flapFrame(2, "CHAT_JOIN:" + QByteArray::number(i + 1) + ":held room");
    w.net->deliver(burst);
    // The client hands on a burst over several turns of the event loop: all of it before timing.
    while (w.window.presence().roomList().rowCount() < state.range(0))
        QApplication::processEvents();
    int id = int(state.range(0));
    for (auto _ : state) {
        serverSays(*w.net, "CHAT_JOIN:" + QByteArray::number(++id) + ":Tarnwick Lounge");
        QApplication::processEvents();
    }
}
BENCHMARK(BM_AddRoomRow)->Arg(100)->Arg(100000)->Iterations(300)->Repetitions(5)->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// 10,000 lines arrive as a socket delivers them (64 KiB at a time); a zero timer measures the
// longest the event loop is kept from turning.
void BM_BurstOfServerLines(benchmark::State& state)
{
    const bool joins = state.range(0) == 1;
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ShownWindow w;
        QByteArray burst;
        for (int i = 0; i < 10000; ++i)
            burst += flapFrame(2, joins ? "CHAT_JOIN:" + QByteArray::number(i + 1) + ":unasked"
                                        : "ERROR:901:someone" + QByteArray::number(i));
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0, worst = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            worst = std::max(worst, now - last);
            last = now;
        });
        tick.start(0);
        for (qsizetype at = 0; at < burst.size(); at += 65536) {
            w.net->deliver(burst.mid(at, 65536));
            QApplication::processEvents();
        }
        while (w.window.presence().roomList().rowCount() < (joins ? 10000 : 0))
            QApplication::processEvents();
        QApplication::processEvents();
        longest = std::max(longest, double(worst) / 1e6);
    }
    state.counters["longest_stall_ms"] = longest;
}
BENCHMARK(BM_BurstOfServerLines)->Arg(0)->Arg(1)->ArgName("joins")->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
