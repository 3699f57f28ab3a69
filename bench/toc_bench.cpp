// How fast the client turns received bytes into events: a long stream of mixed server frames in
// random piece sizes, next to memchr over the same bytes (the fastest anything can look at them);
// and a backlog of frames arriving at once, whose cost per frame must not grow with its length.
#include "FakeTocSocket.h"
#include "QuonTOCSock.h"
#include "TocFramer.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr qsizetype kStreamBytes = 64 * 1024 * 1024;

// What a busy session receives: chat, whispers, buddy news, instant messages, keep-alives.
QByteArray mixedFrames(qsizetype bytes)
{
    const std::array<QByteArray, 8> payloads{
        QByteArray("CHAT_IN_ENC:1234:Some Body:F:A:en:<HTML>hello there: how is everyone doing?</HTML>"),
        QByteArray("CHAT_IN_ENC:1234:Other One:T:A:en:psst"),
        QByteArray("CHAT_UPDATE_BUDDY:1234:T:Some Body:Other One:Third Person"),
        QByteArray("UPDATE_BUDDY2:alice:T:0:1700000000:0: O :"),
        QByteArray("IM_IN_ENC2:Some Body:F:F:T: O :F:L:en:are you there? it's me"),
        QByteArray("ERROR:901:nobody"),
        QByteArray("CHAT_JOIN:1234:Tarn Lounge"),
        QByteArray(),
    };
    std::mt19937 rng(1);
    QByteArray out;
    out.reserve(bytes + 128);
    for (int seq = 0; out.size() < bytes; ++seq) {
        const std::size_t pick = rng() % payloads.size();
        out += flapFrame(pick + 1 == payloads.size() ? 5 : 2, payloads[pick], seq & 0xFFFF);
    }
    return out;
}

// Piece sizes as reads from a socket give them: anything from one byte to a full read.
std::vector<qsizetype> pieceSizes(qsizetype total)
{
    std::mt19937 rng(2);
    std::uniform_int_distribution<qsizetype> size(1, 16384);
    std::vector<qsizetype> out;
    for (qsizetype sum = 0; sum < total;)
        sum += out.emplace_back(std::min(size(rng), total - sum));
    return out;
}

// A client that has finished connecting, with one slot on each of its signals counting the
// events it raises.
struct Client {
    FakeTocSocket* fake = new FakeTocSocket;
    QuonTOCSock sock{std::unique_ptr<TocSocket>(fake)};
    qint64 events = 0;

    Client()
    {
        using S = QuonTOCSock;
        countEach(&S::LoggedIn, &S::LoggedOff, &S::Error, &S::IncomingBuddyCapabilities, &S::IncomingPacket,
                  &S::IncomingMessage, &S::BuddyOnline, &S::BuddyOffline, &S::Warned, &S::JoinedChat,
                  &S::IncomingChatMessage, &S::ChatUserUpdate, &S::IncomingChatInvite, &S::LeftChat,
                  &S::PassWordUpdate, &S::ScreenNameFormatUpdate, &S::IncomingProfile, &S::RendevousRequest,
                  &S::IncomingBartData, &S::SocketError);
        sock.Login("Tarn Wick", "secret", QStringLiteral("toc.example"), 5190);
        fake->open();
    }

    template <typename... Signal>
    void countEach(Signal... signal)
    {
        (QObject::connect(&sock, signal, &sock, [this] { ++events; }), ...);
    }
};

void BM_ReassembleAndDispatch(benchmark::State& state)
{
    static const QByteArray stream = mixedFrames(kStreamBytes);
    static const std::vector<qsizetype> pieces = pieceSizes(stream.size());
    Client client;
    for (auto _ : state) {
        qsizetype at = 0;
        for (qsizetype n : pieces) {
            client.fake->deliver(QByteArray::fromRawData(stream.constData() + at, n));
            at += n;
        }
    }
    benchmark::DoNotOptimize(client.events);
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_ReassembleAndDispatch)->Unit(benchmark::kMillisecond);

// The framer alone: the same pieces in, every frame out with its payload copied once.
void BM_FramerOnly(benchmark::State& state)
{
    static const QByteArray stream = mixedFrames(kStreamBytes);
    static const std::vector<qsizetype> pieces = pieceSizes(stream.size());
    TocFramer framer;
    TocFramer::Frame frame;
    qint64 frames = 0;
    for (auto _ : state) {
        qsizetype at = 0;
        for (qsizetype n : pieces) {
            framer.feed(QByteArray::fromRawData(stream.constData() + at, n));
            at += n;
            while (framer.next(frame) == TocFramer::Next::Frame)
                ++frames;
        }
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_FramerOnly)->Unit(benchmark::kMillisecond);

// The anchor: memchr over the same bytes, counting the rarest byte value (sequence numbers put
// every value somewhere), so the search runs the whole length with few restarts.
void BM_MemchrSameBytes(benchmark::State& state)
{
    static const QByteArray stream = mixedFrames(kStreamBytes);
    std::array<qsizetype, 256> counts{};
    for (char c : stream)
        ++counts[static_cast<unsigned char>(c)];
    const int rarest = int(std::min_element(counts.begin(), counts.end()) - counts.begin());
    const char* end = stream.constData() + stream.size();
    for (auto _ : state) {
        qsizetype found = 0;
        for (const char* p = stream.constData();
             (p = static_cast<const char*>(std::memchr(p, rarest, end - p))) != nullptr; ++p)
            ++found;
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_MemchrSameBytes)->Unit(benchmark::kMillisecond);

// N frames buffered by one arrival. Reported per frame, so a buffer that re-reads or re-copies
// what is left after each frame shows up as a per-frame time growing with N.
void BM_BacklogInOneArrival(benchmark::State& state)
{
    const qsizetype frames = state.range(0);
    QByteArray backlog;
    for (qsizetype i = 0; i < frames; ++i)
        backlog += flapFrame(2, "CHAT_IN_ENC:1234:Some Body:F:A:en:message number " + QByteArray::number(i), i);
    Client client;
    for (auto _ : state)
        client.fake->deliver(backlog);
    state.SetItemsProcessed(state.iterations() * frames);
    // Seconds per frame, printed with an SI prefix ("85n" is 85 ns).
    state.counters["per_frame"] = benchmark::Counter(double(state.iterations() * frames),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BacklogInOneArrival)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // the client's timers need an event loop's thread
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
