// stallproxy: a TCP relay to a server that can be told to stop relaying, to play a link that dies
// without a close.
//
//     stallproxy TARGET_HOST TARGET_PORT
//
// Listens on a free loopback port and prints "listening on 127.0.0.1:PORT". Every connection is
// relayed to the target. On SIGUSR1 the connections open at that moment stall: both ends stay open,
// and whatever either sends is swallowed. Later connections are relayed as usual.
#include <QCoreApplication>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_stall = 0;

extern "C" void onStall(int)
{
    g_stall = 1;
}

struct Relay : QObject {
    QPointer<QTcpSocket> client, server;
    bool stalled = false;

    Relay(QTcpSocket* c, const QString& host, quint16 port)
        : client(c)
        , server(new QTcpSocket(this))
    {
        c->setParent(this);
        const auto pipe = [this](QTcpSocket* from, QTcpSocket* to) {
            connect(from, &QTcpSocket::readyRead, this, [this, from, to] {
                if (!stalled && to->state() != QAbstractSocket::ConnectedState)
                    return; // kept until the other end is there
                const QByteArray bytes = from->readAll();
                if (!stalled)
                    to->write(bytes);
            });
            connect(from, &QTcpSocket::disconnected, this, [this] {
                if (!stalled)
                    deleteLater(); // both ends go with it
            });
        };
        pipe(client, server);
        pipe(server, client);
        connect(server, &QTcpSocket::connected, this, [this] { server->write(client->readAll()); });
        connect(server, &QTcpSocket::errorOccurred, this, [this] {
            if (!stalled)
                deleteLater();
        });
        server->connectToHost(host, port);
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
    std::signal(SIGUSR1, onStall);
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (!g_stall)
            return;
        g_stall = 0;
        for (const QPointer<Relay>& r : relays)
            if (r)
                r->stalled = true;
        std::fprintf(stderr, "stallproxy: stalled\n");
    });
    check.start(20);
    std::printf("listening on 127.0.0.1:%u\n", listener.serverPort());
    std::fflush(stdout);
    return app.exec();
}
