#pragma once
// A scripted socket: the test decides when the connection opens, what arrives and when it ends,
// and reads back everything the client sent.
#include "TocSocket.h"

#include <QByteArrayList>

#include <utility>

class FakeTocSocket final : public TocSocket
{
public:
    // What the client did to the socket.
    QByteArrayList sent;       // one entry per send() call
    QString host;              // last connectToHost()
    quint16 port = 0;
    int connectCalls = 0;
    int closeCalls = 0;

    void connectToHost(const QString& h, quint16 p) override
    {
        host = h;
        port = p;
        ++connectCalls;
        m_state = Connecting;
    }
    void close() override
    {
        ++closeCalls;
        m_state = Closed;
        m_arrived.clear();
    }
    int state() const override { return m_state; }
    void send(const QByteArray& bytes) override { sent << bytes; }
    QByteArray read() override { return std::exchange(m_arrived, {}); }

    // What the network does.
    void open()
    {
        m_state = Connected;
        emit connected();
    }
    void deliver(const QByteArray& bytes)
    {
        m_arrived += bytes;
        emit dataArrival();
    }
    void peerClose()
    {
        m_state = Closed;
        emit closed();
    }
    void fail(int code, const QString& text, bool wasOpen)
    {
        m_state = Closed;
        emit errorOccurred(code, text);
        if (wasOpen)
            emit closed();
    }

    /// Everything sent, as one byte stream.
    QByteArray wire() const { return sent.join(); }

private:
    int m_state = Closed;
    QByteArray m_arrived;
};

/// One FLAP frame as a server would send it.
inline QByteArray flapFrame(int type, const QByteArray& payload, int seq = 0)
{
    QByteArray f;
    f += '*';
    f += static_cast<char>(type);
    f += static_cast<char>((seq >> 8) & 0xFF);
    f += static_cast<char>(seq & 0xFF);
    f += static_cast<char>((payload.size() >> 8) & 0xFF);
    f += static_cast<char>(payload.size() & 0xFF);
    f += payload;
    return f;
}
