#include "TocSocket.h"

#include <QTcpSocket>

#include <algorithm>

QByteArray TocReceiveBuffer::take(qsizetype maxBytes)
{
    const qsizetype n = std::clamp<qsizetype>(maxBytes, 0, size());
    QByteArray out(m_bytes.constData() + m_head, n);
    m_head += n;
    // Compact once the taken part dominates, so a long stream costs linear time overall.
    if (m_head == m_bytes.size()) {
        m_bytes.clear();
        m_head = 0;
    } else if (m_head > 4096 && m_head * 2 > m_bytes.size()) {
        m_bytes.remove(0, m_head);
        m_head = 0;
    }
    return out;
}

TcpTocSocket::TcpTocSocket(QObject* parent)
    : TocSocket(parent)
{
    wire();
}

TcpTocSocket::~TcpTocSocket() = default;

void TcpTocSocket::wire()
{
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        // Command lines are small and interactive: send each at once rather than batching.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_open = true;
        emit connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpTocSocket::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpTocSocket::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) { onError(static_cast<int>(e)); });
}

void TcpTocSocket::connectToHost(const QString& host, quint16 port)
{
    close();
    m_socket->connectToHost(host, port);
}

void TcpTocSocket::close()
{
    // A local close must not look like the peer's: drop the old socket with its signals.
    m_open = false;
    m_buffer.clear();
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    wire();
}

int TcpTocSocket::state() const
{
    switch (m_socket->state()) {
    case QAbstractSocket::HostLookupState: return ResolvingHost;
    case QAbstractSocket::ConnectingState: return Connecting;
    case QAbstractSocket::ConnectedState: return Connected;
    case QAbstractSocket::ClosingState: return Closing;
    default: return Closed;
    }
}

void TcpTocSocket::send(const QByteArray& bytes)
{
    m_socket->write(bytes);
}

QByteArrayView TcpTocSocket::peek() const
{
    return m_buffer.view();
}

QByteArray TcpTocSocket::take(qsizetype maxBytes)
{
    return m_buffer.take(maxBytes);
}

void TcpTocSocket::onReadyRead()
{
    m_buffer.append(m_socket->readAll());
    emit dataArrival(m_buffer.size());
}

void TcpTocSocket::onDisconnected()
{
    if (!m_open)
        return;
    m_open = false;
    emit closed();
}

void TcpTocSocket::onError(int socketError)
{
    struct Reason { int code; const char* text; };
    Reason reason{10053, "The connection was aborted"};
    switch (static_cast<QAbstractSocket::SocketError>(socketError)) {
    case QAbstractSocket::RemoteHostClosedError:
        return; // an ordinary close by the peer: disconnected() reports it
    case QAbstractSocket::ConnectionRefusedError: reason = {10061, "Connection refused"}; break;
    case QAbstractSocket::HostNotFoundError: reason = {11001, "Host not found"}; break;
    case QAbstractSocket::SocketTimeoutError: reason = {10060, "Connection timed out"}; break;
    case QAbstractSocket::NetworkError: reason = {10054, "The connection was reset"}; break;
    case QAbstractSocket::SocketAccessError: reason = {10013, "Permission denied"}; break;
    case QAbstractSocket::SocketResourceError: reason = {10055, "No buffer space available"}; break;
    case QAbstractSocket::UnsupportedSocketOperationError: reason = {10047, "Address family not supported"}; break;
    default: break;
    }
    emit errorOccurred(reason.code, QString::fromLatin1(reason.text));
    // A broken open connection ends here; report its end once.
    onDisconnected();
}
