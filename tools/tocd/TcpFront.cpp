#include "TcpFront.h"

#include <QTcpSocket>
#include <QTimer>

namespace {
constexpr int kCloseGraceMs = 5000;
} // namespace

TcpFront::TcpFront(Accounts accounts, std::function<void(const QString&)> logLine, QObject* parent)
    : QObject(parent)
    , m_server(std::move(accounts), {[this](int id, const QByteArray& b) { write(id, b); },
                                     [this](int id) { close(id); }, std::move(logLine)})
{
    connect(&m_listener, &QTcpServer::newConnection, this, &TcpFront::accept);
}

bool TcpFront::listen(const QHostAddress& address, quint16 port)
{
    return m_listener.listen(address, port);
}

void TcpFront::accept()
{
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        socket->setParent(this);
        const int id = m_server.open(QStringLiteral("%1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()));
        m_sockets.insert(id, socket);
        connect(socket, &QTcpSocket::readyRead, this, [this, id, socket] { m_server.receive(id, socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id, socket] {
            m_sockets.remove(id);
            socket->deleteLater();
            m_server.closed(id);
        });
        // Bytes may have arrived before the signals were connected.
        if (socket->bytesAvailable() > 0)
            m_server.receive(id, socket->readAll());
    }
}

void TcpFront::write(int id, const QByteArray& bytes)
{
    if (QTcpSocket* socket = m_sockets.value(id))
        socket->write(bytes);
}

// The server has already forgotten the connection, so the socket's own disconnect must not
// reach it again. What was written still goes out before the connection ends, unless the peer
// stops reading: then it is cut off after a grace period.
void TcpFront::close(int id)
{
    QTcpSocket* socket = m_sockets.take(id);
    if (!socket)
        return;
    socket->disconnect(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
    else
        QTimer::singleShot(kCloseGraceMs, socket, &QTcpSocket::abort);
}
