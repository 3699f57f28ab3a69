#pragma once
// The signals that ask a program to end (SIGINT, SIGTERM, SIGHUP), delivered on the event loop as
// a Qt signal. Nothing polls: on Unix the handler writes to a pipe the loop watches.
#include <QObject>

class StopSignals final : public QObject
{
    Q_OBJECT
public:
    /// One per process; installs the handlers.
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

signals:
    void received(int signal);

private:
    void deliver();
};

/// Once the process holds a password: no core dump or debugger of the same user may read it (Linux).
void keepSecretsFromDumps();
