#pragma once
// The client station as its own program (stationproc), with its data folder
// and the programmer folders it finds; its log lines come on standard output.
#include "qeltest.h"

#include <QElapsedTimer>
#include <QMap>
#include <QProcess>

class StationProcess
{
public:
    StationProcess(const QString &dataDir, const QString &progDir, const QStringList &args,
                   const QMap<QString, QString> &extraEnv = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QEL_DATA_DIR"), dataDir);
        env.insert(QStringLiteral("QEL_PROG_DIRS"), progDir);
        for (auto it = extraEnv.cbegin(); it != extraEnv.cend(); ++it)
            env.insert(it.key(), it.value());
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(qeltest::binDir() + QStringLiteral("/stationproc"), args);
    }
    ~StationProcess()
    {
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
    QString Output()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output;
    }
    bool WaitFor(const QString &text, int ms = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!Output().contains(text)) {
            if (m_process.state() == QProcess::NotRunning || timer.elapsed() > ms)
                return false;
            QCoreApplication::processEvents();
            m_process.waitForReadyRead(20);
        }
        return true;
    }
    // One command line on the station's standard input.
    void Send(const QByteArray &line) { m_process.write(line + '\n'); }

private:
    QProcess m_process;
    QString m_output;
};
