#include "diskeject.h"

#include <QDebug>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>

namespace {
constexpr int kToolMs = 15000;

QString CleanMountPoint(const QString &root)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(root));
}
} // namespace

bool CDiskEject::Run(const QString &program, const QStringList &args, QString &msg)
{
    QProcess proc;
    proc.setProcessChannelMode(QProcess::MergedChannels);
    proc.start(program, args);
    if (!proc.waitForStarted(kToolMs)) {
        msg = proc.errorString();
        return false;
    }
    if (!proc.waitForFinished(kToolMs)) {
        proc.kill();
        proc.waitForFinished(1000);
        msg = tr("%1 无响应").arg(program);
        return false;
    }
    const QString out = QString::fromLocal8Bit(proc.readAll()).trimmed();
    if (proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0) {
        msg = out.isEmpty() ? tr("%1 执行失败").arg(program) : out;
        return false;
    }
    return true;
}

bool CDiskEject::Eject(const QString &root, QString &msg)
{
    const QString mountPoint = CleanMountPoint(root);
    const QStorageInfo volume(mountPoint);
    if (root.isEmpty() || !volume.isValid() || CleanMountPoint(volume.rootPath()) != mountPoint) {
        msg = tr("%1 不是已挂载的磁盘").arg(root);
        return false;
    }
    if (volume.isRoot()) {
        msg = tr("系统盘不能弹出");
        return false;
    }
    qDebug() << "CDiskEject::Eject" << mountPoint << volume.device();

    // Power-off only for a disk of its own: a bind mount or a folder on the
    // system disk must never switch that disk off.
    const QString device = QString::fromLocal8Bit(volume.device());
    const bool ownDisk = device.startsWith(QLatin1String("/dev/")) && volume.device() != QStorageInfo::root().device();
    const QString udisksctl = QStandardPaths::findExecutable(QStringLiteral("udisksctl"));
    QString why;
    if (ownDisk && !udisksctl.isEmpty()
        && Run(udisksctl, {QStringLiteral("unmount"), QStringLiteral("--no-user-interaction"), QStringLiteral("-b"), device}, why)) {
        if (!Run(udisksctl, {QStringLiteral("power-off"), QStringLiteral("--no-user-interaction"), QStringLiteral("-b"), device}, why))
            qDebug() << "CDiskEject::Eject power-off" << why; // unmounted already: safe to unplug
        return true;
    }
    if (!why.isEmpty())
        qDebug() << "CDiskEject::Eject udisks" << why;
    return Run(QStringLiteral("umount"), {mountPoint}, msg);
}
