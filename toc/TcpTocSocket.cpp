#include "TocSocket.h"

#include <QPointer>
#include <QTcpSocket>

TcpTocSocket::TcpTocSocket(QObject* parent)
    : TocSocket(parent)
{
}

// We may be destroyed from inside one of the QTcpSocket's own signals (a listener deleting the
// client it belongs to): the QTcpSocket goes later, once its signal has returned.
TcpTocSocket::~TcpTocSocket()
{
    release();
}

// A QTcpSocket lives from a connect until the next close; none is kept in between.
void TcpTocSocket::wire()
{
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        // Command lines are small and interactive: send each at once rather than batching.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_open = true;
        emit connected();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &TocSocket::dataArrival);
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpTocSocket::onDisconnected);
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) { onError(static_cast<int>(e)); });
}

// Lets go of the current QTcpSocket without a word from it: it is aborted, and deleted once
// control is back in the event loop.
void TcpTocSocket::release()
{
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->setParent(nullptr);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void TcpTocSocket::connectToHost(const QString& host, quint16 port)
{
    close();
    wire();
    m_socket->connectToHost(host, port);
}

// A local close must not look like the peer's: the socket goes with its signals.
void TcpTocSocket::close()
{
    m_open = false;
    release();
}

int TcpTocSocket::state() const
{
    if (!m_socket)
        return Closed;
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
    if (m_socket)
        m_socket->write(bytes);
}

QByteArray TcpTocSocket::read()
{
    return m_socket ? m_socket->readAll() : QByteArray();
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
    const QPointer<TcpTocSocket> self(this);
    emit errorOccurred(reason.code, QString::fromLatin1(reason.text));
    // A broken open connection ends here; report its end once (unless a listener has closed or
    // destroyed us meanwhile).
    if (self)
        onDisconnected();
}
