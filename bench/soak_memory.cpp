// The soak's memory: one client against tocd joins 1,200 rooms and sends 20,000 chat messages with
// keep-alives on a short interval, in ten rounds. After the first round (the warm-up) and after
// each later one it prints its resident memory, so growth over a long session shows. Linux only:
// it reads /proc/self/status.
#include "QuonTOCSock.h"
#include "TestAccess.h"
#include "TocdProcess.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

constexpr int kRounds = 10;
constexpr int kRoomsPerRound = 120;
constexpr int kMessagesPerRound = 2000;

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TocdProcess tocd;
    if (!tocd.start({"--quiet", "--account", "Tarn Wick:secret"})) {
        std::fprintf(stderr, "tocd did not start\n");
        return 1;
    }
    QuonTOCSock sock;
    int loggedIn = 0, joined = 0, heard = 0;
    QObject::connect(&sock, &QuonTOCSock::LoggedIn, [&] { ++loggedIn; });
    QObject::connect(&sock, &QuonTOCSock::JoinedChat, [&] { ++joined; });
    QObject::connect(&sock, &QuonTOCSock::IncomingChatMessage, [&] { ++heard; });
    sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
    if (!waitFor([&] { return loggedIn == 1; }))
        return 1;
    QuonTOCSockTestAccess::antiIdleTimer(sock).setInterval(5);
    sock.AntiIdle(true);

    std::printf("round  rooms  messages  resident KiB\n");
    std::printf("%5s  %5d  %8d  %12ld (signed on)\n", "-", 0, 0, residentKiB());
    int sent = 0;
    for (int round = 1; round <= kRounds; ++round) {
        for (int i = 0; i < kRoomsPerRound; ++i) {
            const int want = joined + 1;
            sock.JoinChat("Soak Room " + QByteArray::number(want), 4);
            if (!waitFor([&] { return joined == want; }))
                return 1;
        }
        for (int i = 0; i < kMessagesPerRound; ++i) {
            sock.SendChat(1, "soak: message " + QByteArray::number(sent++));
            if (sent % 400 == 0 && !waitFor([&] { return heard == sent; }))
                return 1;
        }
        if (!waitFor([&] { return heard == sent; }))
            return 1;
        std::printf("%5d  %5d  %8d  %12ld%s\n", round, joined, sent, residentKiB(), round == 1 ? " (warm-up)" : "");
        std::fflush(stdout);
    }
    sock.LogOff();
    return 0;
}
