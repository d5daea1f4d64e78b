#pragma once
// A simulated programmer (tools/progsim) run by a test.
#include "qeltest.h"

#include <QProcess>
#include <QRegularExpression>
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
    // Any mode, e.g. {"--vcp", "--id", id, "--result", "0xE3"}.
    explicit ProgSim(const QStringList &args)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(qeltest::binDir() + QStringLiteral("/progsim"), args);
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
            // The test's own end of the link keeps talking meanwhile.
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
    // VCP mode: the port the simulator opened (its link when it made one).
    QString PortPath()
    {
        static const QRegularExpression re(QStringLiteral(": port (\\S+)(?: linked as (\\S+))?"));
        const QRegularExpressionMatch m = re.match(Output());
        return m.captured(2).isEmpty() ? m.captured(1) : m.captured(2);
    }
    QProcess &Process() { return m_process; }
    QString Folder() const { return m_strFolder; }

private:
    QString m_strFolder;
    QProcess m_process;
    QString m_output;
};
