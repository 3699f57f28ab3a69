// Round trips against tocd on loopback: a whole sign-on and a room join with the client, each next
// to the bare round trip it rests on (a raw socket doing the same exchange with no client around
// it). Every figure is the median of 100 runs.
#include "FakeTocSocket.h"
#include "ModTOC.h"
#include "QuonTOCSock.h"
#include "TocdProcess.h"

#include <QCoreApplication>
#include <QTcpSocket>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kRuns = 100;

TocdProcess* tocd = nullptr;

// The bytes our client sends to sign on, written by hand.
QByteArray rawSignOn()
{
    const QByteArray name = "tarnwick";
    QByteArray signOn("\x00\x00\x00\x01\x00\x01", 6);
    signOn += ModTOC::EncodeWord(int(name.size())) + name;
    const QByteArray login = "toc2_login login.oscar.aol.com 29999 " + name + ' ' + ModTOC::RoastPassword("secret") +
                             " English  \"QuonSockTOC2.0\" 160 US \"\" \"\" 3 0 30303 -kentucky -utf8 51837264";
    return flapFrame(1, signOn, 1) + flapFrame(2, login + '\0', 2);
}

// A raw connection that counts the server's frames as they complete.
struct RawClient {
    QTcpSocket socket;
    QByteArray in;
    int frames = 0;

    RawClient()
    {
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            in += socket.readAll();
            while (in.size() >= 6 && in.size() >= 6 + ModTOC::DecodeWord(QByteArrayView(in).sliced(4, 2))) {
                in.remove(0, 6 + ModTOC::DecodeWord(QByteArrayView(in).sliced(4, 2)));
                ++frames;
            }
        });
    }
    bool waitFrames(int n) { return waitFor([&] { return frames >= n; }); }
};

// Anchor for the sign-on: connect, handshake, sign-on frame and login line, until CONFIG2 is in.
void BM_RawSignOn(benchmark::State& state)
{
    const QByteArray signOn = rawSignOn();
    for (auto _ : state) {
        RawClient raw;
        raw.socket.connectToHost(tocd->host(), tocd->port());
        if (!waitFor([&] { return raw.socket.state() == QAbstractSocket::ConnectedState; }))
            return state.SkipWithError("no connection");
        raw.socket.write("FLAPON\r\n\r\n");
        if (!raw.waitFrames(1))
            return state.SkipWithError("no sign-on frame");
        raw.socket.write(signOn);
        if (!raw.waitFrames(4)) // SIGN_ON, NICK, CONFIG2
            return state.SkipWithError("not signed on");
        raw.socket.abort();
    }
}
BENCHMARK(BM_RawSignOn)->Iterations(1)->Repetitions(kRuns)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_ClientSignOn(benchmark::State& state)
{
    for (auto _ : state) {
        QuonTOCSock sock;
        bool in = false;
        QObject::connect(&sock, &QuonTOCSock::LoggedIn, [&] { in = true; });
        sock.Login("Tarn Wick", "secret", tocd->host(), tocd->port());
        if (!waitFor([&] { return in; }))
            return state.SkipWithError("no LoggedIn");
        sock.LogOff();
    }
}
BENCHMARK(BM_ClientSignOn)->Iterations(1)->Repetitions(kRuns)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Anchor for the join: the same command line over a raw signed-on connection, until CHAT_JOIN and
// the member list are in.
void BM_RawJoinRoundTrip(benchmark::State& state)
{
    static std::unique_ptr<RawClient> raw;
    static int room = 0;
    if (!raw) {
        raw = std::make_unique<RawClient>();
        raw->socket.connectToHost(tocd->host(), tocd->port());
        raw->socket.write("FLAPON\r\n\r\n" + rawSignOn() + flapFrame(2, QByteArrayLiteral("toc_init_done\0"), 3));
        if (!raw->waitFrames(4))
            return state.SkipWithError("not signed on");
    }
    for (auto _ : state) {
        const int before = raw->frames;
        raw->socket.write(flapFrame(2, "toc_chat_join 4 \"Raw Room " + QByteArray::number(++room) + "\"" + '\0'));
        if (!raw->waitFrames(before + 2))
            return state.SkipWithError("no CHAT_JOIN");
    }
}
BENCHMARK(BM_RawJoinRoundTrip)->Iterations(1)->Repetitions(kRuns)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_ClientJoinRoundTrip(benchmark::State& state)
{
    static std::unique_ptr<QuonTOCSock> sock;
    static int room = 0;
    if (!sock) {
        sock = std::make_unique<QuonTOCSock>();
        bool in = false;
        QObject::connect(sock.get(), &QuonTOCSock::LoggedIn, [&] { in = true; });
        sock->Login("Other One", "pw", tocd->host(), tocd->port());
        if (!waitFor([&] { return in; }))
            return state.SkipWithError("no LoggedIn");
        sock->disconnect();
    }
    int joined = 0, users = 0;
    const QMetaObject::Connection a = QObject::connect(sock.get(), &QuonTOCSock::JoinedChat, [&] { ++joined; });
    const QMetaObject::Connection b = QObject::connect(sock.get(), &QuonTOCSock::ChatUserUpdate, [&] { ++users; });
    for (auto _ : state) {
        sock->JoinChat("Client Room " + QByteArray::number(++room), 4);
        if (!waitFor([&] { return joined == 1 && users == 1; }))
            return state.SkipWithError("no JoinedChat");
    }
    QObject::disconnect(a);
    QObject::disconnect(b);
}
BENCHMARK(BM_ClientJoinRoundTrip)
    ->Iterations(1)
    ->Repetitions(kRuns)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TocdProcess server;
    if (!server.start({"--quiet", "--account", "Tarn Wick:secret", "--account", "Other One:pw"})) {
        std::fprintf(stderr, "tocd did not start\n");
        return 1;
    }
    tocd = &server;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
