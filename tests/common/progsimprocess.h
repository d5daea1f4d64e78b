#pragma once
// A simulated disk programmer (tools/progsim) run by a test.
#include "qeltest.h"

#include <QProcess>
#include <QString>
#include <QtTest>

class ProgSim
{
public:
    ProgSim(const QString &folder, const QString &id, const QString &model, const QString &ver = QStringLiteral("V2.1.5"))
        : m_strFolder(folder)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(qeltest::binDir() + QStringLiteral("/progsim"),
                        {QStringLiteral("--disk"), folder, QStringLiteral("--id"), id, QStringLiteral("--model"), model,
                         QStringLiteral("--ver"), ver});
    }
    ~ProgSim() { Stop(); }

    // True once the simulator has made its folder and said so.
    bool WaitReady() { return WaitFor(QStringLiteral(": ready")); }
    bool WaitFor(const QString &text, int ms = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!Output().contains(text)) {
            if (m_process.state() == QProcess::NotRunning || timer.elapsed() > ms)
                return false;
            m_process.waitForReadyRead(100);
        }
        return true;
    }
    QString Output()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output;
    }
    // SIGTERM: the simulator unplugs itself.
    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
    QProcess &Process() { return m_process; }
    QString Folder() const { return m_strFolder; }

private:
    QString m_strFolder;
    QProcess m_process;
    QString m_output;
};
