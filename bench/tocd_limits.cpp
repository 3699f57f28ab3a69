// tocd under abuse, measured: how much memory it holds and how fast a well-behaved client signs on
// while others misbehave on loopback.
//
//   1. A signed-on client asks for its own 2 KB profile (toc_get_info) without pause and never
//      reads; closed, it signs on again and goes on. 20 s.
//   2. A client talks in a room without pause while another member never reads; the member joins
//      again whenever it is closed. 20 s.
//   3. 1,000 connections from ten addresses that never sign on (half of them stop inside the
//      handshake), twice: when does tocd close each one, and what does it hold before and after.
//
// Prints the figures and whether each meets its target (exit status 1 when one does not).
// "tocd_limits self room idle" names the parts to run; all of them by default.
//
// Meanwhile the client library signs on every 100 ms; its times are set against sign-ons on the
// idle server. tocd runs with --login-limit 0, so that the abusers are never shut out and the
// floods last the whole time. The abusers run in child processes (this program with --role), so
// that their work does not slow the measuring client. Linux only: /proc, and 127.0.1.x addresses.
#include "FakeTocSocket.h"
#include "ModTOC.h"
#include "QuonTOCSock.h"
#include "TocdProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kFloodMs = 20'000;
constexpr int kProbeEveryMs = 100;
constexpr int kIdleSignOns = 50;
constexpr int kIdleConnections = 1000;
constexpr int kIdleAddresses = 10; // 100 each: the most tocd keeps open from one address
constexpr double kMaxResidentMiB = 64;
constexpr double kMaxSlowdown = 10;

// ---- the abusers: plain blocking sockets, in a child process each

int connectTo(quint16 port, const char* from = nullptr)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (from) {
        ::inet_pton(AF_INET, from, &address.sin_addr);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
    }
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const QByteArray& bytes)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.constData() + at, size_t(bytes.size() - at), MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR)
            return false;
        at += std::max<ssize_t>(n, 0);
    }
    return true;
}

QByteArray command(const QByteArray& line)
{
    return flapFrame(2, line + '\0');
}

// Handshake, sign-on, toc_init_done and a room, all in one write; the answers are not awaited.
QByteArray signOnAndJoin(const QByteArray& name, const QByteArray& room)
{
    const QByteArray key = ModTOC::NormalizeName(name);
    QByteArray bytes = "FLAPON\r\n\r\n";
    bytes += flapFrame(1, QByteArray("\x00\x00\x00\x01\x00\x01", 6) + ModTOC::EncodeWord(int(key.size())) + key);
    bytes += command("toc2_login host 29999 " + key + ' ' + ModTOC::RoastPassword("pw") + " English \"x\" 160 US");
    bytes += command("toc_init_done");
    if (!room.isEmpty())
        bytes += command("toc_chat_join 4 \"" + room + '"');
    return bytes;
}

// Asks for its own profile for ever, reading nothing; signs on again when closed.
[[noreturn]] void selfFlood(quint16 port)
{
    QByteArray requests;
    for (int i = 0; i < 1000; ++i)
        requests += command("toc_get_info \"flood\"");
    for (;;) {
        const int fd = connectTo(port);
        if (fd >= 0 && sendAll(fd, signOnAndJoin("Flood", {}) + command("toc_set_info \"" + QByteArray(2000, 'p') + '"')))
            while (sendAll(fd, requests)) {
            }
        ::close(fd);
    }
}

// A room member that never reads; joins again when closed.
[[noreturn]] void silentMember(quint16 port)
{
    for (;;) {
        const int fd = connectTo(port);
        if (fd >= 0 && sendAll(fd, signOnAndJoin("Victim", "Flood Room"))) {
            pollfd p{fd, 0, 0}; // no events asked for: only an error or a hang-up wakes it
            while (::poll(&p, 1, 1000) >= 0 && !(p.revents & (POLLERR | POLLHUP))) {
            }
        }
        ::close(fd);
    }
}

// Talks in the room without pause and reads (and drops) everything it is sent.
[[noreturn]] void roomFlood(quint16 port)
{
    QByteArray messages;
    for (int i = 0; i < 100; ++i)
        messages += command("toc_chat_send 1 \"" + QByteArray(500, 'm') + '"');
    std::vector<char> sink(1 << 16);
    for (;;) {
        const int fd = connectTo(port);
        bool open = fd >= 0 && sendAll(fd, signOnAndJoin("Talker", "Flood Room"));
        qsizetype at = 0;
        while (open) {
            pollfd p{fd, POLLIN | POLLOUT, 0};
            open = ::poll(&p, 1, 1000) >= 0 && !(p.revents & (POLLERR | POLLHUP));
            if (open && (p.revents & POLLIN))
                open = ::recv(fd, sink.data(), sink.size(), MSG_DONTWAIT) > 0;
            if (open && (p.revents & POLLOUT)) {
                const ssize_t n = ::send(fd, messages.constData() + at, size_t(messages.size() - at),
                                         MSG_NOSIGNAL | MSG_DONTWAIT);
                open = n >= 0 || errno == EAGAIN;
                at = (at + std::max<ssize_t>(n, 0)) % messages.size();
            }
        }
        ::close(fd);
    }
}

// ---- the measuring side

long statusKiB(qint64 pid, const char* field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(strlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

double mib(long kib)
{
    return kib / 1024.0;
}

struct Times {
    std::vector<double> ms;
    double at(double fraction)
    {
        if (ms.empty())
            return -1;
        std::sort(ms.begin(), ms.end());
        return ms[std::min(ms.size() - 1, size_t(fraction * double(ms.size())))];
    }
};

// Runs the event loop until done() is called or ms have passed; false on the time-out. Unlike
// waitFor(), it sleeps while nothing happens: a spinning client would take a core from tocd.
bool runUntil(int ms, const std::function<void(std::function<void()> done)>& start)
{
    QEventLoop loop;
    bool finished = false;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    start([&] {
        finished = true;
        loop.quit();
    });
    if (!finished)
        loop.exec();
    return finished;
}

// The event loop for ms, sleeping while nothing happens.
void pause(int ms)
{
    runUntil(ms, [](auto) {});
}

// One sign-on by the client library, to LoggedIn; its time in ms, or -1.
double signOnMs(const TocdProcess& tocd)
{
    QuonTOCSock sock;
    QElapsedTimer clock;
    const bool in = runUntil(10'000, [&](std::function<void()> done) {
        QObject::connect(&sock, &QuonTOCSock::LoggedIn, done);
        clock.start();
        sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    });
    if (!in)
        return -1;
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    sock.LogOff();
    return ms;
}

struct Report {
    bool met = true;
    void check(bool ok, const char* what)
    {
        std::printf("  %s: %s\n", what, ok ? "met" : "MISSED");
        met = met && ok;
    }
};

// Runs the abuser roles for kFloodMs while signing on every kProbeEveryMs.
void flood(TocdProcess& tocd, const QStringList& roles, const char* title, double idleMedian, Report& report)
{
    const qint64 pid = tocd.process().processId();
    std::vector<std::unique_ptr<QProcess>> abusers;
    for (const QString& role : roles) {
        auto& p = abusers.emplace_back(std::make_unique<QProcess>());
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--role"), role, QString::number(tocd.port())});
        p->waitForStarted();
    }
    const qsizetype closedBefore = tocd.log().count(QStringLiteral("not reading"));
    Times times;
    long peak = 0;
    int failed = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kFloodMs) {
        const qint64 next = clock.elapsed() + kProbeEveryMs;
        if (const double ms = signOnMs(tocd); ms >= 0)
            times.ms.push_back(ms);
        else
            ++failed;
        peak = std::max(peak, statusKiB(pid, "VmRSS:"));
        pause(int(std::max<qint64>(next - clock.elapsed(), 0)));
        peak = std::max(peak, statusKiB(pid, "VmRSS:"));
    }
    for (auto& p : abusers) {
        p->kill();
        p->waitForFinished();
    }
    pause(1000);
    const double median = times.at(0.5);
    std::printf("%s, %d s:\n", title, kFloodMs / 1000);
    std::printf("  tocd resident: at most %.1f MiB (sampled about every %d ms), %.1f MiB a second after it\n",
                mib(peak), kProbeEveryMs / 2, mib(statusKiB(pid, "VmRSS:")));
    std::printf("  sign-on: median %.2f ms, 90th percentile %.2f ms, slowest %.2f ms (%zu sign-ons, %d failed)\n",
                median, times.at(0.9), times.at(1.0), times.ms.size(), failed);
    std::printf("  median against the idle server's: %.1fx\n", median / idleMedian);
    std::printf("  connections closed for not reading: %lld\n",
                tocd.log().count(QStringLiteral("not reading")) - closedBefore);
    report.check(mib(peak) < kMaxResidentMiB, "resident under 64 MiB");
    report.check(failed == 0 && median > 0 && median < kMaxSlowdown * idleMedian, "median sign-on within 10x");
}

struct Memory {
    long resident = 0; // KiB, all of it
    long heap = 0;     // KiB, anonymous: what tocd allocated, without the code it has run
};

Memory memoryOf(qint64 pid)
{
    return {statusKiB(pid, "VmRSS:"), statusKiB(pid, "RssAnon:")};
}

struct Wave {
    size_t opened = 0, closed = 0;
    qint64 openMs = 0, soonestMs = -1, latestMs = -1; // closing times after each one opened
    Memory held, after;
};

// Opens kIdleConnections that never sign on and waits for tocd to close them.
Wave idleWave(TocdProcess& tocd)
{
    const qint64 pid = tocd.process().processId();
    const QString connected = QStringLiteral("connected from 127.0.1.");
    const qsizetype loggedBefore = tocd.log().count(connected);
    std::vector<pollfd> polls;
    std::vector<qint64> openedAt;
    Wave wave;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kIdleConnections; ++i) {
        const QByteArray from = "127.0.1." + QByteArray::number(1 + i % kIdleAddresses);
        const int fd = connectTo(tocd.port(), from.constData());
        if (fd < 0)
            continue;
        if (i % 2)
            sendAll(fd, "FLAPON\r\n\r\n*\x01"); // stops inside the handshake
        polls.push_back({fd, POLLIN, 0});
        openedAt.push_back(clock.elapsed());
    }
    wave.opened = polls.size();
    wave.openMs = clock.elapsed();
    // tocd holds them all once it has logged each one.
    for (int i = 0; i < 500 && tocd.log().count(connected) - loggedBefore < qsizetype(wave.opened); ++i)
        pause(20);
    wave.held = memoryOf(pid);
    while (wave.closed < wave.opened && clock.elapsed() < wave.openMs + 30'000) {
        ::poll(polls.data(), polls.size(), 50);
        for (size_t i = 0; i < polls.size(); ++i) {
            char sink[64];
            if (polls[i].fd < 0 || !polls[i].revents || ::recv(polls[i].fd, sink, sizeof sink, MSG_DONTWAIT) > 0)
                continue; // nothing, or the server's sign-on frame for those past FLAPON
            const qint64 after = clock.elapsed() - openedAt[i];
            wave.soonestMs = wave.soonestMs < 0 ? after : std::min(wave.soonestMs, after);
            wave.latestMs = std::max(wave.latestMs, after);
            ::close(polls[i].fd);
            polls[i].fd = -1;
            ++wave.closed;
        }
        QCoreApplication::processEvents(); // keeps tocd's log flowing
    }
    for (const pollfd& p : polls)
        if (p.fd >= 0)
            ::close(p.fd);
    pause(1500); // tocd hands freed memory back within a second
    wave.after = memoryOf(pid);
    return wave;
}

// Two waves of idle connections: the first shows what tocd keeps after them, the second that
// it keeps no more.
void idleConnections(TocdProcess& tocd, Memory start, Report& report)
{
    std::printf("%d connections that never sign on, from %d addresses, twice:\n", kIdleConnections, kIdleAddresses);
    std::printf("  tocd resident (heap) at the start of the run: %.1f MiB (%.1f MiB)\n", mib(start.resident),
                mib(start.heap));
    Wave waves[2];
    for (Wave& wave : waves) {
        wave = idleWave(tocd);
        std::printf("  opened in %lld ms, closed by tocd %.2f to %.2f s after opening (%zu of %zu); resident (heap) "
                    "%.1f MiB (%.1f MiB) with them open, %.1f MiB (%.1f MiB) after\n",
                    wave.openMs, wave.soonestMs / 1000.0, wave.latestMs / 1000.0, wave.closed, wave.opened,
                    mib(wave.held.resident), mib(wave.held.heap), mib(wave.after.resident), mib(wave.after.heap));
        report.check(wave.opened == size_t(kIdleConnections) && wave.closed == wave.opened &&
                         wave.soonestMs >= 10'000 && wave.latestMs < 10'500,
                     "all closed 10 s after opening");
    }
    report.check(waves[0].after.heap - start.heap < 1024, "heap back to within 1 MiB of the start");
    report.check(waves[1].after.resident - waves[0].after.resident < 256, "the second wave leaves nothing behind");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && QByteArrayView(argv[1]) == "--role") {
        const auto port = quint16(QByteArray(argv[3]).toUInt());
        const QByteArrayView role(argv[2]);
        if (role == "self-flood")
            selfFlood(port);
        if (role == "silent-member")
            silentMember(port);
        if (role == "room-flood")
            roomFlood(port);
        return 2;
    }
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A thousand sockets here, as many in tocd (which raises its own limit).
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = std::max<rlim_t>(files.rlim_cur, std::min<rlim_t>(files.rlim_max, 4096));
    setrlimit(RLIMIT_NOFILE, &files);

    TocdProcess tocd;
    if (!tocd.start({"--account", "Tarn Wick:secret", "--account", "Flood:pw", "--account", "Victim:pw", "--account",
                     "Talker:pw"})) {
        std::fprintf(stderr, "tocd did not start\n");
        return 1;
    }
    const qint64 pid = tocd.process().processId();
    Times idle;
    for (int i = 0; i < kIdleSignOns; ++i)
        idle.ms.push_back(signOnMs(tocd));
    const double idleMedian = idle.at(0.5);
    const Memory start = memoryOf(pid);
    std::printf("idle server: tocd resident %.1f MiB; sign-on median %.2f ms (%d sign-ons)\n", mib(start.resident),
                idleMedian, kIdleSignOns);
    if (idleMedian <= 0)
        return 1;

    // The parts to run: all of them, or those named (self, room, idle).
    const QStringList parts = app.arguments().mid(1);
    const auto runs = [&](const char* part) { return parts.isEmpty() || parts.contains(QLatin1String(part)); };
    Report report;
    if (runs("self"))
        flood(tocd, {QStringLiteral("self-flood")}, "A client asking for its own profile and never reading",
              idleMedian, report);
    if (runs("room"))
        flood(tocd, {QStringLiteral("silent-member"), QStringLiteral("room-flood")},
              "A room flood that one member never reads", idleMedian, report);
    if (runs("idle"))
        idleConnections(tocd, start, report);
    std::printf("tocd's peak resident over the whole run (VmHWM): %.1f MiB\n", mib(statusKiB(pid, "VmHWM:")));
    return report.met ? 0 : 1;
}
