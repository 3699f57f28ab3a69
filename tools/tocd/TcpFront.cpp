#include "TcpFront.h"

#include <QTcpSocket>

namespace {
constexpr int kCloseGraceMs = 5000;
constexpr int kTickMs = 250;
// What one readyRead hands to the server at most (the socket buffers no more). A client that sends
// without pause is then served in slices, between which the event loop serves everyone else.
constexpr qint64 kReadSliceBytes = 16 * 1024;
// After an accept fails (out of file descriptors, say), listening starts again this much later.
constexpr int kAcceptRetryMs = 1000;
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
    m_clock.start();
    m_server.tick(0);
    m_ticker.callOnTimeout(this, [this] { m_server.tick(m_clock.elapsed()); });
    m_ticker.start(kTickMs);
}

bool TcpFront::listen(const QHostAddress& address, quint16 port)
{
    return m_listener.listen(address, port);
}

void TcpFront::accept()
{
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        socket->setParent(this);
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
    m_server.receive(id, socket->readAll());
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
        socket->abort();
        socket->deleteLater();
        return;
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
    else
        QTimer::singleShot(kCloseGraceMs, socket, &QTcpSocket::abort);
}
