#pragma once
// One of the suite's tools (a simulator, a double) run by a test: its output
// read as it comes, waits bounded, stopped with SIGTERM.
#include "qeltest.h"

#include <QElapsedTimer>
#include <QProcess>

class ToolProcess
{
public:
    ToolProcess(const QString &tool, const QStringList &args)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(qeltest::binDir() + QLatin1Char('/') + tool, args);
    }
    ~ToolProcess() { Stop(); }
    ToolProcess(const ToolProcess &) = delete;
    ToolProcess &operator=(const ToolProcess &) = delete;

    // Until the output holds text count times; the test's own side keeps running.
    bool WaitFor(const QString &text, int count, int ms)
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
    // SIGTERM; true when the tool stopped cleanly.
    bool Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
            return false;
        }
        Output();
        return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }
    QProcess &Process() { return m_process; }

private:
    QProcess m_process;
    QString m_output;
};
