// keychainprobe: one operation of the program's keychain vault against whatever keychain the session
// bus offers, each of its answers printed as a line.
//
//     keychainprobe write ACCOUNT PASSWORD      "written"
//     keychainprobe read ACCOUNT                "read: PASSWORD" ("read: " when none is kept)
//
// Either may first print "waiting for unlock"; "unavailable" when there is no keychain. Exits 0 once
// the operation has answered, 1 when it was unavailable.
#include "PasswordVault.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
void say(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool write = args.size() == 4 && args[1] == QLatin1String("write");
    if (!write && !(args.size() == 3 && args[1] == QLatin1String("read"))) {
        std::fprintf(stderr, "usage: keychainprobe write ACCOUNT PASSWORD | read ACCOUNT\n");
        return 2;
    }
    KeychainVault vault;
    QObject::connect(&vault, &PasswordVault::waitingForUnlock, [] { say(QStringLiteral("waiting for unlock")); });
    QObject::connect(&vault, &PasswordVault::written, [] {
        say(QStringLiteral("written"));
        QCoreApplication::exit(0);
    });
    QObject::connect(&vault, &PasswordVault::readDone, [](const QString&, const QString& password) {
        say(QStringLiteral("read: ") + password);
        QCoreApplication::exit(0);
    });
    QObject::connect(&vault, &PasswordVault::unavailable, [] {
        say(QStringLiteral("unavailable"));
        QCoreApplication::exit(1);
    });
    if (write)
        vault.write(args[2], args[3]);
    else
        vault.read(args[2]);
    return app.exec();
}
