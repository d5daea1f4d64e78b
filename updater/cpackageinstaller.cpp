#include "cpackageinstaller.h"

#include <JlCompress.h>
#include <quazip.h>
#include <quazipfileinfo.h>

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const char kTempFolder[] = "temp";

// Unix mode bits in the upper half of an entry's external attributes.
bool isLinkEntry(const QuaZipFileInfo64 &info)
{
    const quint32 mode = info.externalAttr >> 16;
    return (mode & 0170000) == 0120000;
}

// Whether path is root or lies inside it; both already resolved.
bool inside(const QString &root, const QString &path)
{
    return !root.isEmpty() && !path.isEmpty() && (path == root || path.startsWith(root + QLatin1Char('/')));
}

bool hasFiles(const QString &dir)
{
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    return it.hasNext();
}

QString resolved(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The nearest existing folder on the way to path, resolved.
QString resolvedParent(const QString &path)
{
    QFileInfo info(QFileInfo(path).absolutePath());
    while (!info.exists() && info.absoluteFilePath() != QLatin1String("/"))
        info = QFileInfo(info.absolutePath());
    return info.canonicalFilePath();
}
} // namespace

CPackageInstaller::CPackageInstaller(Log log) : m_log(std::move(log)) {}

void CPackageInstaller::Note(const QString &text) const
{
    if (m_log)
        m_log(text);
}

bool CPackageInstaller::SafeEntryName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        return false;
    // A drive letter is absolute on the systems the packages are made on.
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (drive.match(name).hasMatch())
        return false;
    const QStringList parts = QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    return !parts.contains(QLatin1String(".."));
}

bool CPackageInstaller::CheckPackage(const QString &zip, QString &reason)
{
    QuaZip archive(zip);
    if (!archive.open(QuaZip::mdUnzip)) {
        reason = tr("更新包无法打开: %1").arg(zip);
        return false;
    }
    const QList<QuaZipFileInfo64> entries = archive.getFileInfoList64();
    archive.close();
    if (entries.isEmpty()) {
        reason = tr("更新包是空的: %1").arg(zip);
        return false;
    }
    const QString root = QStringLiteral("/package");
    for (const QuaZipFileInfo64 &entry : entries) {
        const QString target = QDir::cleanPath(root + QLatin1Char('/') + entry.name);
        if (!SafeEntryName(entry.name) || isLinkEntry(entry) || !inside(root, target)) {
            reason = tr("更新包含有不安全的文件: %1").arg(entry.name);
            return false;
        }
    }
    return true;
}

bool CPackageInstaller::Unpack(const QString &zip, const QString &dir, QStringList &files, QString &reason)
{
    files.clear();
    if (!CheckPackage(zip, reason))
        return false;
    if (!QDir().mkpath(dir)) {
        reason = tr("创建目录失败: %1").arg(dir);
        return false;
    }
    Note(tr("正在解压缩..."));
    Note(QStringLiteral("decompress path:") + dir);
    if (JlCompress::extractDir(zip, dir).isEmpty()) {
        reason = tr("解压缩失败: %1").arg(zip);
        return false;
    }
    // What actually landed on disk is checked again, by its resolved path.
    const QString root = resolved(dir);
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        if (info.isSymLink() || !(info.isFile() || info.isDir()) || !inside(root, info.canonicalFilePath())
            || info.canonicalFilePath() == root) {
            reason = tr("更新包含有不安全的文件: %1").arg(QDir(dir).relativeFilePath(info.filePath()));
            return false;
        }
        if (info.isFile()) {
            files << QDir(dir).relativeFilePath(info.filePath());
            Note(QStringLiteral("file:") + files.last());
        }
    }
    files.sort();
    Note(tr("解压缩完成，共%1个文件...").arg(files.size()));
    return true;
}

bool CPackageInstaller::Replace(const QString &fromDir, const QStringList &files, const QString &toDir,
                                const QString &backupDir, QString &reason)
{
    struct Step
    {
        QString strTarget;
        QString strBackup; // empty when there was no old file
        bool bPlaced = false;
    };
    QList<Step> steps;
    QStringList createdDirs;
    const QString root = resolved(toDir);
    QDir fs;

    const auto makeFolder = [&](const QString &folder) {
        // Remember each folder made here, top first, to remove it on failure.
        QStringList missing;
        for (QFileInfo f(folder); !f.exists(); f = QFileInfo(f.absolutePath()))
            missing.prepend(f.absoluteFilePath());
        if (missing.isEmpty())
            return QFileInfo(folder).isDir();
        if (!fs.mkpath(folder))
            return false;
        createdDirs += missing;
        Note(tr("创建目录:") + folder);
        return true;
    };

    bool ok = true;
    Note(tr("开始文件替换..."));
    for (const QString &rel : files) {
        const QString from = fromDir + QLatin1Char('/') + rel;
        const QString target = toDir + QLatin1Char('/') + rel;
        Note(QStringLiteral("newfile:") + from);
        Note(QStringLiteral("oldfile:") + target);
        // A folder of the program that is a link to elsewhere is not written through.
        if (!inside(root, resolvedParent(target))) {
            reason = tr("目标不在程序目录内: %1").arg(rel);
            ok = false;
            break;
        }
        if (!makeFolder(QFileInfo(target).absolutePath()) || !inside(root, resolvedParent(target))) {
            reason = tr("创建目录失败: %1").arg(QFileInfo(target).absolutePath());
            ok = false;
            break;
        }
        Step step;
        step.strTarget = target;
        const QFileInfo old(target);
        // A folder of the program is never swept away by a file of the same name.
        if (old.isDir() && !old.isSymLink()) {
            reason = tr("替换失败") + QStringLiteral(": ") + rel;
            ok = false;
            break;
        }
        if (old.exists() || old.isSymLink()) {
            step.strBackup = backupDir + QLatin1Char('/') + rel;
            if (!makeFolder(QFileInfo(step.strBackup).absolutePath()) || !fs.rename(target, step.strBackup)) {
                Note(tr("删除失败"));
                reason = tr("替换失败") + QStringLiteral(": ") + rel;
                ok = false;
                break;
            }
            Note(tr("删除成功"));
        }
        steps << step;
        if (!fs.rename(from, target)) {
            Note(tr("替换失败"));
            reason = tr("替换失败") + QStringLiteral(": ") + rel;
            ok = false;
            break;
        }
        steps.last().bPlaced = true;
        Note(tr("替换文件成功！"));
    }
    if (ok) {
        Note(tr("完成文件替换"));
        return true;
    }

    // Back to the old program, newest change first.
    bool restored = true;
    for (int i = steps.size() - 1; i >= 0; --i) {
        const Step &step = steps.at(i);
        if (step.bPlaced && !QFile::remove(step.strTarget))
            restored = false;
        if (!step.strBackup.isEmpty()) {
            Note(tr("还原文件: ") + step.strTarget);
            if (!fs.rename(step.strBackup, step.strTarget))
                restored = false;
        }
    }
    for (int i = createdDirs.size() - 1; i >= 0; --i)
        fs.rmdir(createdDirs.at(i));
    if (!restored)
        reason += QStringLiteral("; ") + tr("旧文件还原失败，保留在 %1").arg(backupDir);
    return false;
}

bool CPackageInstaller::Install(const QString &zip, const QString &programDir, QString &reason)
{
    const QString temp = programDir + QLatin1Char('/') + QLatin1String(kTempFolder);
    // Left over from an earlier run that stopped half-way: never install from it.
    if (QFileInfo::exists(temp) && !QDir(temp).removeRecursively()) {
        reason = tr("创建目录失败: %1").arg(temp);
        return false;
    }
    if (!QDir().mkpath(temp)) {
        reason = tr("创建目录失败: %1").arg(temp);
        return false;
    }
    Note(tr("创建临时目录成功！"));
    const QString unpacked = temp + QLatin1String("/package");
    const QString backup = temp + QLatin1String("/backup");
    QStringList files;
    bool ok = Unpack(zip, unpacked, files, reason);
    // The work folder itself is no place for the program's files.
    for (const QString &file : qAsConst(files)) {
        if (ok && file.section(QLatin1Char('/'), 0, 0) == QLatin1String(kTempFolder)) {
            reason = tr("更新包含有不安全的文件: %1").arg(file);
            ok = false;
        }
    }
    ok = ok && Replace(unpacked, files, programDir, backup, reason);
    // Old files that could not be put back stay in the backup folder.
    const bool keep = !ok && hasFiles(backup);
    if (!keep) {
        QDir(temp).removeRecursively();
        Note(tr("删除临时目录：") + temp);
    }
    return ok;
}
