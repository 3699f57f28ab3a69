#pragma once
// Where a remembered password is kept: the system keychain, never a file of ours. Every operation
// is asynchronous and answers through a signal. A keychain service that does not answer in time
// counts as missing, so nobody waits on it; one that answers but keeps an operation waiting (its
// unlock prompt is open) is waited for as long as it takes.
#include <QObject>
#include <QString>

namespace QKeychain {
class Job;
}

class PasswordVault : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    /// Looks up the password kept for account; answers with readDone or unavailable.
    virtual void read(const QString& account) = 0;
    /// Keeps password for account; answers with written or unavailable.
    virtual void write(const QString& account, const QString& password) = 0;
    /// Forgets the password kept for account (nothing kept is fine); a failure is reported as unavailable.
    virtual void erase(const QString& account) = 0;

signals:
    /// The password kept for account, or an empty text when none is.
    void readDone(const QString& account, const QString& password);
    /// The password is kept for account.
    void written(const QString& account);
    /// The keychain is there but locked: an operation waits for the user to unlock it (its prompt
    /// is open) and answers once that is done. Sent once per operation.
    void waitingForUnlock();
    /// No keychain service answered, or it failed: nothing was read, kept or forgotten.
    void unavailable();
};

/// The system keychain through QtKeychain, under the service name "Tarnwick". An operation that
/// has not finished after timeoutMs asks whether the Secret Service is there: when it answers, the
/// operation is waiting for an unlock (waitingForUnlock, then its answer whenever it comes); when
/// it does not, or where there is no D-Bus, it is reported as unavailable and its late answer
/// ignored.
class KeychainVault final : public PasswordVault
{
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 2000;
    /// How long the Secret Service has to answer that question.
    static constexpr int kServiceProbeMs = 1000;
    explicit KeychainVault(int timeoutMs = kTimeoutMs, QObject* parent = nullptr);

    void read(const QString& account) override;
    void write(const QString& account, const QString& password) override;
    void erase(const QString& account) override;

private:
    template <typename Done>
    void run(QKeychain::Job* job, Done done);
    void askService(QKeychain::Job* job, QObject* pending);

    int m_timeoutMs;
};
