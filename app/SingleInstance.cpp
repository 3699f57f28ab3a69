#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalSocket>

namespace {

constexpr char kShow[] = "show\n";
constexpr char kShown[] = "shown\n";
constexpr char kNoWindow[] = "no window\n";

QString serverName(const QString& folder)
{
    const QByteArray path = QDir(folder).absolutePath().toUtf8();
    return QStringLiteral("tarnwick-")
           + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(const QString& settingsFolder, QObject* parent)
    : QObject(parent)
    , m_serverName(serverName(settingsFolder))
    , m_lock(QDir(settingsFolder).filePath(QStringLiteral("Tarnwick.lock")))
{
    QDir().mkpath(settingsFolder);
    // A lock left by a copy that ended without removing it is taken over (QLockFile checks the process).
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    if (m_lock.tryLock(0))
        return true;
    if (m_lock.error() != QLockFile::LockFailedError)
        return true; // no lock can be made here: nothing to guard with
    QString host, application;
    if (!m_lock.getLockInfo(&m_holder, &host, &application))
        m_holder = 0;
    return false;
}

void SingleInstance::listen(bool hasWindow)
{
    m_hasWindow = hasWindow;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // This copy holds the lock: a socket by this name is a leftover of one that crashed.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        return;
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (!peer->canReadLine())
                    return;
                const bool show = peer->readLine() == kShow;
                peer->write(show && m_hasWindow ? kShown : kNoWindow);
                peer->disconnectFromServer();
                if (show && m_hasWindow)
                    emit showRequested();
            });
        }
    });
}

bool SingleInstance::askToShow(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kShow);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    return socket.readLine() == kShown;
}
