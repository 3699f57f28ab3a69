// tocprobe: signs on to a TOC server as a second user and prints the profile another user has set.
//
//     tocprobe HOST PORT NAME PASSWORD TARGET
//
// Asks again every 200 ms until a profile arrives (the target may still be signing on); exits 1 after 15 s.
// With "-" as TARGET it only signs on, prints "signed on", and stays until the server closes the
// connection (exit 0) or 15 s have gone by (exit 1).
//
//     tocprobe HOST PORT NAME PASSWORD room ROOM EXCHANGE LINE...
//
// Joins the room, says each LINE there in order ("whisper:NAME:TEXT" whispers to a member,
// "im:NAME:TEXT" sends NAME an instant message instead), leaves the room, prints "done" once the
// server has answered the leave (so everything said before has gone out) and exits 0.
#include "QuonTOCSock.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool talk = args.size() >= 8 && args[5] == "room";
    if (args.size() != 6 && !talk) {
        std::fprintf(stderr, "usage: tocprobe HOST PORT NAME PASSWORD TARGET\n"
                             "       tocprobe HOST PORT NAME PASSWORD room ROOM EXCHANGE LINE...\n");
        return 2;
    }
    const QByteArray target = args[5].toUtf8();
    QuonTOCSock sock;
    if (talk) {
        QObject::connect(&sock, &QuonTOCSock::LoggedIn,
                         [&] { sock.JoinChat(args[6].toUtf8(), std::int16_t(args[7].toShort())); });
        QObject::connect(&sock, &QuonTOCSock::JoinedChat, [&](const QByteArray&, std::int32_t id) {
            for (const QString& line : args.mid(8)) {
                const QByteArrayList parts = line.toUtf8().split(':');
                if (parts.size() >= 3 && parts[0] == "whisper")
                    sock.ChatWhisper(id, parts[1], parts.mid(2).join(':'));
                else if (parts.size() >= 3 && parts[0] == "im")
                    sock.SendIm(parts[1], parts.mid(2).join(':'), false);
                else
                    sock.SendChat(id, line.toUtf8());
            }
            sock.ChatLeave(id);
        });
        QObject::connect(&sock, &QuonTOCSock::LeftChat, [&] {
            std::printf("done\n");
            std::fflush(stdout);
            app.exit(0);
        });
    }
    QTimer ask;
    ask.setInterval(200);
    QObject::connect(&ask, &QTimer::timeout, [&] { sock.GetProfile(target); });
    const bool stay = target == "-" || talk;
    QObject::connect(&sock, &QuonTOCSock::LoggedIn, [&] {
        if (talk)
            return;
        if (stay) {
            std::printf("signed on\n");
            std::fflush(stdout);
            return;
        }
        sock.GetProfile(target);
        ask.start();
    });
    QObject::connect(&sock, &QuonTOCSock::LoggedOff, [&] {
        if (stay)
            app.exit(0);
    });
    QObject::connect(&sock, &QuonTOCSock::IncomingProfile, [&](const QByteArray& profile) {
        std::printf("%s\n", profile.constData());
        std::fflush(stdout);
        app.exit(0);
    });
    QObject::connect(&sock, &QuonTOCSock::SocketError, [&](std::int16_t, const QString& text) {
        std::fprintf(stderr, "tocprobe: %s\n", qPrintable(text));
        app.exit(1);
    });
    QTimer::singleShot(15000, [&] {
        std::fprintf(stderr, talk ? "tocprobe: not done within 15 s\n" : "tocprobe: no profile for %s within 15 s\n",
                     target.constData());
        app.exit(1);
    });
    sock.Login(args[3].toUtf8(), args[4].toUtf8(), args[1], static_cast<quint16>(args[2].toUInt()));
    return app.exec();
}
