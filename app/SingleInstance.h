#pragma once
// One running copy per settings folder. The first copy holds a lock file in the folder and listens
// on a local socket named after it; a second copy finds the lock taken and asks the first to show
// its window instead of signing the same name on a second time.
#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class SingleInstance final : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString& settingsFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    /// Takes the folder for this copy. False when another running copy holds it; a folder where no
    /// lock can be made at all does not keep this copy from running.
    bool claim();
    /// The process id of the copy that holds the folder (after a failed claim), or 0.
    qint64 holder() const { return m_holder; }

    /// In the first copy: answers a second copy's request, with whether a window was shown.
    void listen(bool hasWindow);
    /// In a second copy: asks the first to show its window; true when it did.
    bool askToShow(int timeoutMs = 3000);

signals:
    /// A second copy asked for the window (only when listening with a window).
    void showRequested();

private:
    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    qint64 m_holder = 0;
    bool m_hasWindow = false;
};
