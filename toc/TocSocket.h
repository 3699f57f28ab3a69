#pragma once
// The one connection the client talks through. It has exactly the members the client relies on:
// connect, close, state, send, peek and take, and four notifications. The client never sees the
// transport behind it, so tests can script it.
#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <cstdint>

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
    /// Closes any connection and drops what is buffered. Harmless when none is open.
    /// A local close never raises closed().
    virtual void close() = 0;
    virtual int state() const = 0;
    /// Queues the bytes for sending, in order.
    virtual void send(const QByteArray& bytes) = 0;
    /// Everything buffered and not yet taken, without removing it. The view stays valid until
    /// the next take(), close() or return to the event loop.
    virtual QByteArrayView peek() const = 0;
    /// Removes and returns the first buffered bytes, at most maxBytes of them.
    virtual QByteArray take(qsizetype maxBytes) = 0;

signals:
    /// Raised once when the connection is made.
    void connected();
    /// Raised when bytes arrive; bytesBuffered counts what is buffered and not yet taken.
    void dataArrival(qint64 bytesBuffered);
    /// Raised once when an open connection ends from the other side (or breaks).
    void closed();
    /// A connect failed or an open connection broke. Codes are the classic socket error numbers.
    void errorOccurred(int code, const QString& description);
};

/// A receive buffer with cheap removal from the front, shared by the socket implementations.
class TocReceiveBuffer
{
public:
    void append(QByteArrayView bytes) { m_bytes.append(bytes.data(), bytes.size()); }
    QByteArrayView view() const { return QByteArrayView(m_bytes).sliced(m_head); }
    qsizetype size() const { return m_bytes.size() - m_head; }
    QByteArray take(qsizetype maxBytes);
    void clear()
    {
        m_bytes.clear();
        m_head = 0;
    }

private:
    QByteArray m_bytes;
    qsizetype m_head = 0; // bytes before this have been taken
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
    QByteArrayView peek() const override;
    QByteArray take(qsizetype maxBytes) override;

private:
    void wire();
    void onReadyRead();
    void onDisconnected();
    void onError(int socketError);

    class QTcpSocket* m_socket = nullptr;
    TocReceiveBuffer m_buffer;
    bool m_open = false; // connected and not yet reported closed
};
