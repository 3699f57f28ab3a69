#pragma once
// Where a remembered password is kept: the system keychain, never a file of ours. Every operation
// is asynchronous and answers through a signal; a keychain that does not answer in time counts as
// missing, so nobody waits on it.
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
    /// Keeps password for account; a failure is reported as unavailable.
    virtual void write(const QString& account, const QString& password) = 0;
    /// Forgets the password kept for account (nothing kept is fine); a failure is reported as unavailable.
    virtual void erase(const QString& account) = 0;

signals:
    /// The password kept for account, or an empty text when none is.
    void readDone(const QString& account, const QString& password);
    /// No keychain service answered, or it failed: nothing was read, kept or forgotten.
    void unavailable();
};

/// The system keychain through QtKeychain, under the service name "Tarnwick". An operation that
/// has not finished after timeoutMs is reported as unavailable and its late answer ignored.
class KeychainVault final : public PasswordVault
{
    Q_OBJECT
public:
    static constexpr int kTimeoutMs = 2000;
    explicit KeychainVault(int timeoutMs = kTimeoutMs, QObject* parent = nullptr);

    void read(const QString& account) override;
    void write(const QString& account, const QString& password) override;
    void erase(const QString& account) override;

private:
    template <typename Done>
    void run(QKeychain::Job* job, Done done);

    int m_timeoutMs;
};
