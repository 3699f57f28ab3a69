#include "PasswordVault.h"

#include <QTimer>

#include <qt6keychain/keychain.h>

namespace {
constexpr char kService[] = "Tarnwick";
} // namespace

KeychainVault::KeychainVault(int timeoutMs, QObject* parent)
    : PasswordVault(parent)
    , m_timeoutMs(timeoutMs)
{
}

// Starts job with its time limit; whichever of its answer and the limit comes first is the one
// reported (the answer through done). The job deletes itself once it has finished.
template <typename Done>
void KeychainVault::run(QKeychain::Job* job, Done done)
{
    job->setInsecureFallback(false); // never a plain-text file instead
    auto* limit = new QTimer(job);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this, job] {
        job->disconnect(this);
        emit unavailable();
    });
    connect(job, &QKeychain::Job::finished, this, [this, limit, done](QKeychain::Job* finished) {
        limit->stop();
        finished->disconnect(this);
        done(*finished);
    });
    limit->start(m_timeoutMs);
    job->start();
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
    run(job, [this](const QKeychain::Job& done) {
        if (done.error() != QKeychain::NoError)
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
