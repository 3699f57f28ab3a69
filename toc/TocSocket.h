#pragma once
// The one connection the client talks through: a byte pipe. Connect to a host and port, close,
// ask the state, send bytes, read what has arrived; and four notifications. The client never
// sees the transport behind it, so tests can script it.
#include <QByteArray>
#include <QObject>
#include <QString>

class TocSocket : public QObject
{
    Q_OBJECT
public:
    /// The classic socket-control states; only Connected (7) allows sending.
    enum State : int {
        Closed = 0,
        ResolvingHost = 4,
        Connecting = 6,
        Connected = 7,
        Closing = 8,
        Error = 9,
    };

    using QObject::QObject;

    /// Starts an asynchronous connect; success is reported by connected().
    virtual void connectToHost(const QString& host, quint16 port) = 0;
    /// Closes any connection and drops what has arrived and was not read. Harmless when none is
    /// open. A local close never raises closed().
    virtual void close() = 0;
    virtual int state() const = 0;
    /// Queues the bytes for sending, in order.
    virtual void send(const QByteArray& bytes) = 0;
    /// Everything that has arrived since the last read, removed from the socket.
    virtual QByteArray read() = 0;

signals:
    /// Raised once when the connection is made.
    void connected();
    /// Raised when bytes arrive. A listener busy in a nested event loop may not hear of later
    /// arrivals until it returns, so it reads until read() comes back empty.
    void dataArrival();
    /// Raised once when an open connection ends from the other side (or breaks).
    void closed();
    /// A connect failed or an open connection broke. Codes are the classic socket error numbers.
    void errorOccurred(int code, const QString& description);
};

/// The real transport, over QTcpSocket.
class TcpTocSocket final : public TocSocket
{
    Q_OBJECT
public:
    explicit TcpTocSocket(QObject* parent = nullptr);
    ~TcpTocSocket() override;

    void connectToHost(const QString& host, quint16 port) override;
    void close() override;
    int state() const override;
    void send(const QByteArray& bytes) override;
    QByteArray read() override;

private:
    void wire();
    void release();
    void onDisconnected();
    void onError(int socketError);

    class QTcpSocket* m_socket = nullptr;
    bool m_open = false; // connected and not yet reported closed
};
