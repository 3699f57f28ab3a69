#pragma once
// Runs tocd on a free loopback port for the length of a test:
//
//     TocdProcess tocd;
//     ASSERT_TRUE(tocd.start({"--account", "Tarn Wick:secret"}));
//     sock.Login("Tarn Wick", "secret", tocd.host(), tocd.port());
//
// The test target needs TOCD_PATH defined as the program's path and a dependency on tocd:
//     target_compile_definitions(t PRIVATE TOCD_PATH="$<TARGET_FILE:tocd>")
//     add_dependencies(t tocd)
#include "wait.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <QFile>

#ifndef TOCD_PATH
#error "TOCD_PATH must name the tocd program"
#endif

class TocdProcess
{
public:
    TocdProcess() { m_process.setProgram(QStringLiteral(TOCD_PATH)); }
    ~TocdProcess() { kill(); }
    TocdProcess(const TocdProcess&) = delete;
    TocdProcess& operator=(const TocdProcess&) = delete;

    /// Writes an accounts file (see tocd --help) that lasts as long as this object; returns its path.
    QString accountsFile(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("accounts-%1.txt").arg(++m_files));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
        return path;
    }

    /// Starts tocd on 127.0.0.1 with a free port and the given arguments; true once it listens.
    /// Tests sign on from 127.0.0.1 as often as they like: the login limit is off unless args
    /// give a --login-limit of their own.
    bool start(const QStringList& args, int timeoutMs = 10000)
    {
        m_process.setArguments(QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                                           QStringLiteral("--login-limit"), QStringLiteral("0")} +
                               args);
        m_process.start();
        if (!m_process.waitForStarted(timeoutMs))
            return false;
        if (!waitFor([&] { return m_process.canReadLine() || m_process.state() != QProcess::Running; }, timeoutMs))
            return false;
        const QByteArray line = m_process.readLine().trimmed(); // "listening on 127.0.0.1:PORT"
        if (!line.startsWith("listening on "))
            return false;
        m_port = static_cast<quint16>(line.mid(line.lastIndexOf(':') + 1).toUInt());
        return m_port != 0;
    }

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    QProcess& process() { return m_process; }

    /// Everything tocd has written to standard error so far.
    QString log()
    {
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_log;
    }
    /// Waits until the log holds text at least count times.
    bool waitForLog(const QString& text, int count = 1, int timeoutMs = 5000)
    {
        return waitFor([&] { return log().count(text) >= count; }, timeoutMs);
    }

    /// Ends tocd at once, as a crash would.
    void kill()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
    QTemporaryDir m_dir;
    QString m_log;
    quint16 m_port = 0;
    int m_files = 0;
};
