#include "TcpFront.h"

#include <QTcpSocket>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
constexpr int kCloseGraceMs = 5000;
constexpr int kTickMs = 250;
// What one readyRead hands to the server at most (the socket buffers no more). A client that sends
// without pause is served in slices, between which the event loop serves everyone else.
constexpr qint64 kReadSliceBytes = 4 * 1024;
// After an accept fails (out of file descriptors, say), listening starts again this much later.
constexpr int kAcceptRetryMs = 1000;
// Connections the kernel completes before tocd accepts them; beyond that it drops new ones, which
// then wait a second or more to try again.
constexpr int kListenBacklog = 1024;
// How often, at most, freed memory goes back to the system after connections have gone.
constexpr qint64 kReleaseEveryMs = 1000;

// Makes closing the socket a reset. A plain close leaves the kernel trying to deliver what the
// peer is not reading: the connection would live on, holding megabytes, until the peer reads or
// the kernel gives up minutes later.
void resetOnClose(QTcpSocket* socket)
{
#ifdef Q_OS_UNIX
    const linger now{1, 0};
    setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now);
#else
    Q_UNUSED(socket);
#endif
}

// glibc keeps what the program frees for reuse. After a wave of connections has gone (a thousand
// idle ones timed out, say), this hands it back, so that tocd's size follows what it holds.
void releaseFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
} // namespace

TcpFront::TcpFront(Accounts accounts, std::function<void(const QString&)> logLine, TocServer::Limits limits,
                   QObject* parent)
    : QObject(parent)
    , m_logLine(logLine)
    , m_server(std::move(accounts),
               {[this](int id, const QByteArray& b) { return write(id, b); },
                [this](int id, TocServer::CloseMode how) { close(id, how); }, std::move(logLine)},
               limits)
{
    connect(&m_listener, &QTcpServer::newConnection, this, &TcpFront::accept);
    // QTcpServer stops accepting after a failed accept; without this, tocd would stay deaf for good.
    connect(&m_listener, &QTcpServer::acceptError, this, [this] {
        if (m_logLine)
            m_logLine(QStringLiteral("cannot accept a connection: %1").arg(m_listener.errorString()));
        QTimer::singleShot(kAcceptRetryMs, &m_listener, &QTcpServer::resumeAccepting);
    });
    m_listener.setListenBacklogSize(kListenBacklog);
    m_clock.start();
    m_server.tick(0);
    m_ticker.callOnTimeout(this, [this] {
        m_server.tick(m_clock.elapsed());
        if (m_socketsGone > 0 && m_clock.elapsed() - m_releasedAt >= kReleaseEveryMs) {
            releaseFreedMemory();
            m_socketsGone = 0;
            m_releasedAt = m_clock.elapsed();
        }
    });
    m_ticker.start(kTickMs);
}

bool TcpFront::listen(const QHostAddress& address, quint16 port)
{
    return m_listener.listen(address, port);
}

void TcpFront::accept()
{
    m_server.tick(m_clock.elapsed()); // so that the new connections' time starts now
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        socket->setParent(this);
        // Tied to the ticker, not to this: close() cuts the socket's ties to this.
        connect(socket, &QObject::destroyed, &m_ticker, [this] { ++m_socketsGone; });
        const int id = m_server.open(socket->peerAddress().toString(), socket->peerPort());
        if (id == 0) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_sockets.insert(id, socket);
        socket->setReadBufferSize(kReadSliceBytes);
        connect(socket, &QTcpSocket::readyRead, this, [this, id, socket] { read(id, socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id, socket] {
            m_sockets.remove(id);
            socket->deleteLater();
            m_server.closed(id);
        });
        // Bytes may have arrived before the signals were connected.
        if (socket->bytesAvailable() > 0)
            read(id, socket);
    }
}

void TcpFront::read(int id, QTcpSocket* socket)
{
    if (!m_held.contains(id))
        serve(id, socket->readAll());
}

// When the server stops early (a client whose commands write a lot), the rest of that client's
// input waits for the next turn of the event loop, so that everyone else is served in between;
// its socket is not read meanwhile, and soon takes no more from the client.
void TcpFront::serve(int id, const QByteArray& bytes)
{
    if (m_server.receive(id, bytes))
        return;
    m_held.insert(id);
    QTimer::singleShot(0, this, [this, id] {
        m_held.remove(id);
        serve(id, {});
        if (QTcpSocket* socket = m_sockets.value(id); socket && socket->bytesAvailable() > 0)
            read(id, socket);
    });
}

qint64 TcpFront::write(int id, const QByteArray& bytes)
{
    QTcpSocket* socket = m_sockets.value(id);
    if (!socket)
        return 0;
    socket->write(bytes);
    return socket->bytesToWrite();
}

// The server has already forgotten the connection, so the socket's own disconnect must not
// reach it again. Unless told to abort, what was written still goes out before the connection
// ends; a peer that stops reading is cut off after a grace period.
void TcpFront::close(int id, TocServer::CloseMode how)
{
    QTcpSocket* socket = m_sockets.take(id);
    if (!socket)
        return;
    socket->disconnect(this);
    if (how == TocServer::CloseMode::Abort) {
        resetOnClose(socket);
        socket->abort();
        socket->deleteLater();
        return;
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
    else
        QTimer::singleShot(kCloseGraceMs, socket, [socket] {
            resetOnClose(socket);
            socket->abort();
        });
}
