// Signs on with the installed client and says so: toc-consumer HOST PORT NAME PASSWORD.
#include <QuonTOCSock.h>

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    QuonTOCSock sock;
    QObject::connect(&sock, &QuonTOCSock::LoggedIn, [](const QByteArray& name) {
        std::printf("signed on as %s\n", name.constData());
        QCoreApplication::exit(0);
    });
    QObject::connect(&sock, &QuonTOCSock::Error, [](std::int16_t code) { QCoreApplication::exit(code); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(1); });
    sock.Login(args[3].toUtf8(), args[4].toUtf8(), args[1], args[2].toUShort());
    return app.exec();
}
