#include "Headless.h"

#include "AppSettings.h"
#include "PasswordVault.h"
#include "QuonTOCSock.h"
#include "TocErrors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

// Set by the signal handler, read by a timer on the event loop: all a handler may safely do.
volatile std::sig_atomic_t g_stopSignal = 0;

extern "C" void onStopSignal(int signal)
{
    g_stopSignal = signal;
}

// How often the event loop looks for a stop signal.
constexpr int kSignalCheckMs = 100;
// A password is one short line; more is not a password file.
constexpr qint64 kMaxPasswordFile = 4096;

} // namespace

void printEcho(const char* kind, const QString& text)
{
    std::printf("%s: %s\n", kind, TocErrors::oneLine(text).toUtf8().constData());
    std::fflush(stdout);
}

PasswordFile readPasswordFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {{}, QStringLiteral("the password file %1 does not exist or is not a file").arg(path)};
#ifdef Q_OS_UNIX
    if (info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
        return {{}, QStringLiteral("others may read the password file %1; make it readable by its owner only "
                                   "(chmod 600)")
                        .arg(path)};
#endif
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("cannot read the password file %1: %2").arg(path, file.errorString())};
    if (file.size() > kMaxPasswordFile)
        return {{}, QStringLiteral("the password file %1 is larger than %2 bytes").arg(path).arg(kMaxPasswordFile)};
    QByteArray line = file.readLine(kMaxPasswordFile + 1);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        return {{}, QStringLiteral("the password file %1 holds no password on its first line").arg(path)};
    return {QString::fromUtf8(line), {}};
}

int runHeadless(const HeadlessOptions& options)
{
    QString password;
    if (!options.passwordFile.isEmpty()) {
        const PasswordFile file = readPasswordFile(options.passwordFile);
        if (!file.error.isEmpty()) {
            std::fprintf(stderr, "tarnwick: %s\n", file.error.toLocal8Bit().constData());
            return 2;
        }
        password = file.password;
    }

    QuonTOCSock sock;
    Presence presence(sock, makeQtClock(options.retryScale), std::make_unique<KeychainVault>());
    Presence::Remembered remembered = AppSettings::load();
    if (!options.screenName.isEmpty())
        remembered.screenName = options.screenName;
    presence.restore(remembered);
    presence.setServer(options.host, options.port);
    presence.setPassword(password);
    for (const Presence::Room& room : options.rooms)
        presence.addRoom(room);

    QObject::connect(&presence, &Presence::logLine, [](const QString& line) { printEcho("log", line); });
    QObject::connect(&presence, &Presence::directLogLine, [](const QString& line) { printEcho("log", line); });
    QObject::connect(&presence, &Presence::statusChanged, [](const QString& text) { printEcho("status", text); });
    QObject::connect(&presence, &Presence::rememberedChanged, [&] { AppSettings::save(presence.remembered()); });
    // Nothing more will happen: a refused sign-on, or nothing to sign on with.
    QObject::connect(&presence, &Presence::ended, [] { QCoreApplication::exit(1); });

    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
    QTimer signalCheck;
    QObject::connect(&signalCheck, &QTimer::timeout, [&] {
        if (!g_stopSignal)
            return;
        signalCheck.stop();
        presence.signOff();
        QCoreApplication::exit(0);
    });
    signalCheck.start(kSignalCheckMs);

    // From inside the event loop, so that an end at once can end it.
    QTimer::singleShot(0, &presence, [&] { presence.start(true); });
    return QCoreApplication::exec();
}
