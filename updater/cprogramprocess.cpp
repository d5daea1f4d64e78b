#include "cprogramprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kPollMs = 50;
constexpr int kKillWaitMs = 2000;

bool waitGone(const QString &programPath, const QList<qint64> &pids, int ms)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QList<qint64> now = CProgramProcess::Find(programPath);
        bool left = false;
        for (qint64 pid : pids)
            left = left || now.contains(pid);
        if (!left)
            return true;
        if (timer.elapsed() >= ms)
            return false;
        QThread::msleep(kPollMs);
    }
}

void signalAll(const QList<qint64> &pids, int sig)
{
    for (qint64 pid : pids)
        ::kill(pid_t(pid), sig);
}
} // namespace

QList<qint64> CProgramProcess::Find(const QString &programPath)
{
    QList<qint64> pids;
    const QString target = QFileInfo(programPath).canonicalFilePath();
    if (target.isEmpty())
        return pids;
    const uid_t me = ::getuid();
    const qint64 self = QCoreApplication::applicationPid();
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid || pid == self)
            continue;
        const QByteArray dir = QFile::encodeName(QStringLiteral("/proc/") + entry);
        struct stat st {};
        if (::stat(dir.constData(), &st) != 0 || st.st_uid != me)
            continue;
        // A process that has ended (or a zombie) has no executable any more.
        if (QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(entry)) == target)
            pids << pid;
    }
    return pids;
}

bool CProgramProcess::Close(const QString &programPath, int waitMs)
{
    const QList<qint64> pids = Find(programPath);
    if (pids.isEmpty())
        return true;
    signalAll(pids, SIGTERM);
    if (waitGone(programPath, pids, waitMs))
        return true;
    signalAll(pids, SIGKILL);
    return waitGone(programPath, pids, kKillWaitMs);
}

bool CProgramProcess::Start(const QString &programPath)
{
    const QFileInfo info(programPath);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
}
