#pragma once
// Puts a TocServer on a listening TCP socket: one id per accepted connection, bytes in and out,
// and the time from a steady clock.
#include "TocServer.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

class TcpFront : public QObject
{
    Q_OBJECT
public:
    /// Serves the given accounts within limits; log lines go to logLine (nothing is logged when it
    /// is empty).
    TcpFront(Accounts accounts, std::function<void(const QString&)> logLine, TocServer::Limits limits = {},
             QObject* parent = nullptr);

    /// Starts listening; false with errorString() set when the address cannot be used.
    bool listen(const QHostAddress& address, quint16 port);
    QString errorString() const { return m_listener.errorString(); }
    QHostAddress address() const { return m_listener.serverAddress(); }
    quint16 port() const { return m_listener.serverPort(); }

private:
    void accept();
    void read(int id, QTcpSocket* socket);
    void serve(int id, const QByteArray& bytes);
    qint64 write(int id, const QByteArray& bytes);
    void close(int id, TocServer::CloseMode how);

    QTcpServer m_listener;
    QHash<int, QTcpSocket*> m_sockets;
    QSet<int> m_held; // connections with input the server has yet to finish: not read meanwhile
    std::function<void(const QString&)> m_logLine;
    TocServer m_server;
    QElapsedTimer m_clock;
    QTimer m_ticker;
    int m_socketsGone = 0;    // sockets deleted since freed memory was last handed back
    qint64 m_releasedAt = 0;
};
