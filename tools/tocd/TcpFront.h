#pragma once
// Puts a TocServer on a listening TCP socket: one id per accepted connection, bytes in and out.
#include "TocServer.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

class QTcpSocket;

class TcpFront : public QObject
{
    Q_OBJECT
public:
    /// Serves the given accounts; log lines go to logLine (nothing is logged when it is empty).
    TcpFront(Accounts accounts, std::function<void(const QString&)> logLine, QObject* parent = nullptr);

    /// Starts listening; false with errorString() set when the address cannot be used.
    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return m_listener.errorString(); }
    QHostAddress address() const { return m_listener.serverAddress(); }
    quint16 port() const { return m_listener.serverPort(); }

private:
    void accept();
    void write(int id, const QByteArray& bytes);
    void close(int id);

    QTcpServer m_listener;
    QHash<int, QTcpSocket*> m_sockets;
    TocServer m_server;
};
