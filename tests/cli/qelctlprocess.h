#pragma once
// One run of qelctl as a process, with its own search lists, bounded in time.
#include "qeltest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

struct QelctlRun
{
    int status = -1;
    QString out;
    QString err;
    bool finished = false;

    QJsonObject Json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    QStringList ErrLines() const { return err.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// progDirs and vcpPorts become the programmer search list and the extra port
// list, hidDir the folder of simulated HID devices.
inline QelctlRun runQelctl(const QStringList &args, const QStringList &progDirs = {}, const QStringList &vcpPorts = {},
                           int ms = 60000, const QString &hidDir = QString())
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QEL_PROG_DIRS"), progDirs.join(QLatin1Char(':')));
    env.insert(QStringLiteral("QEL_VCP_PORTS"), vcpPorts.join(QLatin1Char(':')));
    if (hidDir.isEmpty())
        env.remove(QStringLiteral("QEL_HID_SIM_DIR"));
    else
        env.insert(QStringLiteral("QEL_HID_SIM_DIR"), hidDir);
    p.setProcessEnvironment(env);
    p.start(qeltest::binDir() + QStringLiteral("/qelctl"), args);
    QelctlRun run;
    run.finished = p.waitForFinished(ms);
    if (!run.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    run.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
