#include "PasswordVault.h"

#include <QTimer>
#if QT_CONFIG(dbus)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#endif

#include <qt6keychain/keychain.h>

namespace {
constexpr char kService[] = "Tarnwick";
} // namespace

KeychainVault::KeychainVault(int timeoutMs, QObject* parent)
    : PasswordVault(parent)
    , m_timeoutMs(timeoutMs)
{
}

// Starts job with its time limit. Its answer goes to done unless the limit has passed without a
// keychain service (see askService). The job deletes itself once it has finished.
template <typename Done>
void KeychainVault::run(QKeychain::Job* job, Done done)
{
    job->setInsecureFallback(false); // never a plain-text file instead
    // The limit, and the question to the service that hangs from it, end with the answer.
    auto* limit = new QTimer(job);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this, job, limit] { askService(job, limit); });
    connect(job, &QKeychain::Job::finished, this, [this, limit, done](QKeychain::Job* finished) {
        delete limit;
        finished->disconnect(this);
        done(*finished);
    });
    limit->start(m_timeoutMs);
    job->start();
}

// An operation still open after the limit. libsecret keeps it open while the keychain's unlock (or
// create) prompt is shown, and with no service it fails at once or hangs on the bus; a ping to the
// Secret Service tells the two apart.
void KeychainVault::askService(QKeychain::Job* job, QObject* pending)
{
    const auto noService = [this, job] {
        job->disconnect(this);
        emit unavailable();
    };
#if QT_CONFIG(dbus)
    const QDBusMessage ping = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.secrets"),
                                                             QStringLiteral("/org/freedesktop/secrets"),
                                                             QStringLiteral("org.freedesktop.DBus.Peer"),
                                                             QStringLiteral("Ping"));
    auto* answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ping, kServiceProbeMs), pending);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer, noService] {
        if (answer->isError())
            noService();
        else
            emit waitingForUnlock();
    });
#else
    Q_UNUSED(pending)
    noService();
#endif
}

void KeychainVault::read(const QString& account)
{
    auto* job = new QKeychain::ReadPasswordJob(QString::fromLatin1(kService), this);
    job->setKey(account);
    run(job, [this, account, job](const QKeychain::Job& done) {
        if (done.error() == QKeychain::NoError)
            emit readDone(account, job->textData());
        else if (done.error() == QKeychain::EntryNotFound)
            emit readDone(account, QString());
        else
            emit unavailable();
    });
}

void KeychainVault::write(const QString& account, const QString& password)
{
    auto* job = new QKeychain::WritePasswordJob(QString::fromLatin1(kService), this);
    job->setKey(account);
    job->setTextData(password);
    run(job, [this, account](const QKeychain::Job& done) {
        if (done.error() == QKeychain::NoError)
            emit written(account);
        else
            emit unavailable();
    });
}

void KeychainVault::erase(const QString& account)
{
    auto* job = new QKeychain::DeletePasswordJob(QString::fromLatin1(kService), this);
    job->setKey(account);
    run(job, [this](const QKeychain::Job& done) {
        if (done.error() != QKeychain::NoError && done.error() != QKeychain::EntryNotFound)
            emit unavailable();
    });
}
