#include "StopSignals.h"

#include <csignal>
#include <utility>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace {

StopSignals* g_instance = nullptr;

#ifdef Q_OS_UNIX
int g_pipe[2] = {-1, -1};

// All a handler may safely do: one write of the signal's number.
extern "C" void onStopSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = saved;
}
#else
// Elsewhere the handler runs on a thread of its own, from which a queued call is safe.
extern "C" void onStopSignal(int signal)
{
    if (g_instance)
        QMetaObject::invokeMethod(g_instance, [signal] { emit g_instance->received(signal); }, Qt::QueuedConnection);
    std::signal(signal, onStopSignal);
}
#endif

constexpr int kSignals[] = {
    SIGINT, SIGTERM,
#ifdef SIGHUP
    SIGHUP,
#endif
};

} // namespace

StopSignals::StopSignals(QObject* parent)
    : QObject(parent)
{
    g_instance = this;
#ifdef Q_OS_UNIX
    if (::pipe(g_pipe) != 0)
        return;
    for (int fd : g_pipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &StopSignals::deliver);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
#else
    for (int signal : kSignals)
        std::signal(signal, onStopSignal);
#endif
}

StopSignals::~StopSignals()
{
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    g_instance = nullptr;
#ifdef Q_OS_UNIX
    for (int& fd : g_pipe)
        if (fd >= 0)
            ::close(std::exchange(fd, -1));
#endif
}

void StopSignals::deliver()
{
#ifdef Q_OS_UNIX
    unsigned char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1) {
        emit received(number);
        if (!g_instance)
            return;
    }
#endif
}

void keepSecretsFromDumps()
{
#ifdef Q_OS_LINUX
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
#endif
}
