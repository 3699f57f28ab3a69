#include "Headless.h"

#include "AppSettings.h"
#include "PasswordVault.h"
#include "QuonTOCSock.h"
#include "SingleInstance.h"
#include "StopSignals.h"
#include "Texts.h"
#include "TranscriptDb.h"
#include "TranscriptStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// A password is one short line; more is not a password file.
constexpr qint64 kMaxPasswordFile = 4096;
// How long a locked keychain is waited for.
constexpr std::chrono::seconds kUnlockLimit{60};

} // namespace

void printEcho(const char* kind, const QString& text)
{
    std::printf("%s: %s\n", kind, Texts::oneLine(text).toUtf8().constData());
    std::fflush(stdout);
}

PasswordFile readPasswordFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {{}, Texts::get(Text::PasswordFileMissing, {path})};
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::getuid())
        return {{}, Texts::get(Text::PasswordFileNotOwned, {path})};
    if (info.permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther))
        return {{}, Texts::get(Text::PasswordFileWritable, {path})};
    if (info.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther))
        return {{}, Texts::get(Text::PasswordFileReadable, {path})};
#endif
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, Texts::get(Text::PasswordFileUnreadable, {path, file.errorString()})};
    if (file.size() > kMaxPasswordFile)
        return {{}, Texts::get(Text::PasswordFileTooLarge, {path, QString::number(kMaxPasswordFile)})};
    QByteArray line = file.readLine(kMaxPasswordFile + 1);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty())
        return {{}, Texts::get(Text::PasswordFileEmpty, {path})};
    return {QString::fromUtf8(line), {}};
}

int runHeadless(const HeadlessOptions& options)
{
    QString password;
    if (!options.passwordFile.isEmpty()) {
        const PasswordFile file = readPasswordFile(options.passwordFile);
        if (!file.error.isEmpty()) {
            std::fprintf(stderr, "tarnwick: %s\n", file.error.toLocal8Bit().constData());
            return kExitRefused;
        }
        password = file.password;
        keepSecretsFromDumps();
    }

    AppSettings settings;
    SingleInstance instance(settings.folder());
    if (!instance.claim()) {
        std::fprintf(stderr, "%s\n",
                     Texts::get(Text::AlreadyRunning, {QString::number(instance.holder())}).toLocal8Bit().constData());
        return kExitAlreadyRunning;
    }
    instance.listen(false);

    QuonTOCSock sock;
    Presence presence(sock, makeQtClock(options.retryScale), std::make_unique<KeychainVault>());
    const auto log = [](const QString& line) { printEcho("log", line); };
    QObject::connect(&presence, &Presence::logLine, log);
    QObject::connect(&presence, &Presence::directLogLine, log);
    QObject::connect(&presence, &Presence::statusChanged, [](const QString& text) { printEcho("status", text); });
    if (options.echo) {
        QObject::connect(&presence, &Presence::roomsChanged, [&presence] {
            printEcho("rooms", presence.roomList().entries().join(QStringLiteral(" | ")));
        });
    }

    Presence::Remembered remembered = settings.load();
    if (!settings.problem().isEmpty())
        log(settings.problem());
    if (!options.screenName.isEmpty())
        remembered.screenName = options.screenName;
    presence.restore(remembered);
    presence.keepRecord(std::make_unique<TranscriptStore>(TranscriptDb::defaultPath(), settings.keepDays()));
    const ServerAddress server = options.server.value_or(remembered.server.value_or(defaultServer()));
    presence.setServer(server.host, server.port);
    presence.setPassword(password);
    // Nobody may be there to unlock a locked keychain: the run does not wait for it for ever.
    presence.setUnlockLimit(kUnlockLimit);
    for (const Presence::Room& room : options.rooms)
        presence.addRoom(room);
    QObject::connect(&presence, &Presence::rememberedChanged, [&] {
        if (const QString failure = settings.save(presence.remembered()); !failure.isEmpty())
            log(failure);
    });
    // Nothing more will happen: a refused sign-on, or nothing to sign on with.
    QObject::connect(&presence, &Presence::ended, [] { QCoreApplication::exit(kExitEnded); });

    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::received, [&] {
        presence.stop(); // the end of the run, as the record tells it
        presence.signOff();
        QCoreApplication::exit(kExitStopped);
    });

    // From inside the event loop, so that an end at once can end it.
    QTimer::singleShot(0, &presence, [&] { presence.start(true); });
    return QCoreApplication::exec();
}
