// stallproxy: a TCP relay to a TOC server that plays the faults of a link and of a server.
//
//     stallproxy TARGET_HOST TARGET_PORT
//
// Listens on a free loopback port and prints "listening on 127.0.0.1:PORT". Every connection is
// relayed to the target, frame by frame. Commands, one a line on standard input:
//   stall         the connections open now stall: both ends stay open and whatever either sends is
//                 swallowed (SIGUSR1 does the same); later connections are relayed as usual
//   eject ROOM    the server puts the client out of ROOM: CHAT_LEFT with the room's id
//   mute-joins    joins the clients send from now on get no answer: the server never sees them
//   unmute-joins  joins go through again
//   drop          the connections open now are closed, as a server that restarts closes them
// Each command is acknowledged on standard error once done.
#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>

#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stall = 0;
bool g_muteJoins = false;

extern "C" void onStall(int)
{
    g_stall = 1;
}

QByteArray frame(const QByteArray& payload)
{
    QByteArray f("*\x02\x00\x00", 4);
    f += char(payload.size() >> 8);
    f += char(payload.size() & 0xFF);
    return f + payload;
}

QByteArray normalised(QByteArray name)
{
    return name.replace(' ', "").toLower();
}

// Cuts one direction's stream into frames (after the handshake, when it starts with one), and hands
// each frame's bytes on whole.
struct FrameReader {
    QByteArray buffer;
    bool handshake = false;

    void feed(const QByteArray& bytes, const std::function<void(const QByteArray& whole, QByteArray payload)>& each)
    {
        buffer += bytes;
        if (handshake) {
            if (buffer.size() < 10)
                return;
            each(buffer.left(10), {});
            buffer.remove(0, 10);
            handshake = false;
        }
        while (buffer.size() >= 6) {
            const int length = (uchar(buffer[4]) << 8) | uchar(buffer[5]);
            if (buffer.size() < 6 + length)
                return;
            const QByteArray whole = buffer.left(6 + length);
            buffer.remove(0, 6 + length);
            each(whole, buffer[1] == 2 ? whole.mid(6) : QByteArray());
        }
    }
};

struct Relay : QObject {
    QPointer<QTcpSocket> client, server;
    bool stalled = false;
    FrameReader fromClient{{}, true}, fromServer;
    std::map<QByteArray, QByteArray> roomIds; // normalised name -> id, as the server confirmed
    QByteArray toServer;                       // what waits for the server's connection

    Relay(QTcpSocket* c, const QString& host, quint16 port)
        : client(c)
        , server(new QTcpSocket(this))
    {
        c->setParent(this);
        connect(client, &QTcpSocket::readyRead, this, [this] {
            const QByteArray bytes = client->readAll();
            if (stalled)
                return;
            fromClient.feed(bytes, [this](const QByteArray& whole, const QByteArray& payload) {
                if (g_muteJoins && payload.startsWith("toc_chat_join "))
                    return;
                toServer += whole;
            });
            flush();
        });
        connect(server, &QTcpSocket::readyRead, this, [this] {
            const QByteArray bytes = server->readAll();
            if (stalled)
                return;
            fromServer.feed(bytes, [this](const QByteArray& whole, const QByteArray& payload) {
                if (payload.startsWith("CHAT_JOIN:")) {
                    const QList<QByteArray> fields = payload.split(':');
                    if (fields.size() >= 3)
                        roomIds[normalised(fields[2])] = fields[1];
                }
                client->write(whole);
            });
        });
        for (QTcpSocket* end : {client.data(), server.data()}) {
            connect(end, &QTcpSocket::disconnected, this, [this] {
                if (!stalled)
                    deleteLater(); // both ends go with it
            });
        }
        connect(server, &QTcpSocket::connected, this, &Relay::flush);
        connect(server, &QTcpSocket::errorOccurred, this, [this] {
            if (!stalled)
                deleteLater();
        });
        server->connectToHost(host, port);
    }

    void flush()
    {
        if (server->state() == QAbstractSocket::ConnectedState)
            server->write(std::exchange(toServer, {}));
    }
    bool eject(const QByteArray& room)
    {
        const auto it = roomIds.find(normalised(room));
        if (it == roomIds.end() || stalled)
            return false;
        client->write(frame("CHAT_LEFT:" + it->second));
        return true;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: stallproxy TARGET_HOST TARGET_PORT\n");
        return 2;
    }
    const QString host = QString::fromLocal8Bit(argv[1]);
    const quint16 port = static_cast<quint16>(QByteArray(argv[2]).toUInt());
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "stallproxy: %s\n", qPrintable(listener.errorString()));
        return 1;
    }
    QList<QPointer<Relay>> relays;
    QObject::connect(&listener, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* c = listener.nextPendingConnection())
            relays << new Relay(c, host, port);
    });
    const auto stall = [&] {
        for (const QPointer<Relay>& r : relays)
            if (r)
                r->stalled = true;
        std::fprintf(stderr, "stallproxy: stalled\n");
    };
    std::signal(SIGUSR1, onStall);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (std::exchange(g_stall, 0))
            stall();
    });
    check.start(20);

    QByteArray input;
    QSocketNotifier commands(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&commands, &QSocketNotifier::activated, [&] {
        char chunk[256];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            commands.setEnabled(false);
            return;
        }
        input.append(chunk, n);
        for (qsizetype end; (end = input.indexOf('\n')) >= 0; input.remove(0, end + 1)) {
            const QByteArray line = input.left(end).trimmed();
            if (line == "stall") {
                stall();
                continue;
            }
            if (line == "mute-joins" || line == "unmute-joins") {
                g_muteJoins = line == "mute-joins";
            } else if (line.startsWith("eject ")) {
                int ejected = 0;
                for (const QPointer<Relay>& r : relays)
                    ejected += r && r->eject(line.mid(6));
                if (ejected == 0)
                    std::fprintf(stderr, "stallproxy: no connection is in %s\n", line.mid(6).constData());
            } else if (line == "drop") {
                for (const QPointer<Relay>& r : relays)
                    if (r)
                        r->deleteLater();
            } else {
                std::fprintf(stderr, "stallproxy: unknown command %s\n", line.constData());
                continue;
            }
            std::fprintf(stderr, "stallproxy: done %s\n", line.constData());
        }
    });
    std::printf("listening on 127.0.0.1:%u\n", listener.serverPort());
    std::fflush(stdout);
    return app.exec();
}
