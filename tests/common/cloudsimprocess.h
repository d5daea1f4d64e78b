#pragma once
// The cloud service double (tools/cloudsim) run by a test on a free loopback port.
#include "qeltest.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

class CloudSim
{
public:
    // port 0: a free one, read back from the double's "listening on" line.
    explicit CloudSim(const QString &state, const QStringList &extra = {}, int port = 0)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(qeltest::binDir() + QStringLiteral("/cloudsim"),
                        QStringList{QStringLiteral("--state"), state, QStringLiteral("--port"), QString::number(port)} + extra);
    }
    ~CloudSim() { Stop(); }

    bool WaitReady()
    {
        if (!WaitFor(QStringLiteral("cloudsim: ready")))
            return false;
        static const QRegularExpression re(QStringLiteral("listening on \\S+:(\\d+)"));
        m_nPort = re.match(Output()).captured(1).toInt();
        return m_nPort > 0;
    }
    // Waits until the output holds text count times; the test's own side keeps running.
    bool WaitFor(const QString &text, int count = 1, int ms = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (Output().count(text) < count) {
            if (m_process.state() == QProcess::NotRunning || timer.elapsed() > ms)
                return false;
            QCoreApplication::processEvents();
            m_process.waitForReadyRead(20);
        }
        return true;
    }
    QString Output()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output;
    }
    // SIGTERM; true when the double stopped cleanly.
    bool Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return m_process.exitStatus() == QProcess::NormalExit;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
            return false;
        }
        Output();
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    int Port() const { return m_nPort; }

private:
    QProcess m_process;
    QString m_output;
    int m_nPort = 0;
};
