#include "csafefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Below(const QString &root, const QString &path)
{
    if (root.isEmpty() || path.isEmpty())
        return false;
    if (path == root || root == QLatin1String("/"))
        return true;
    return path.startsWith(root + QLatin1Char('/'));
}

// The path an open descriptor stands for, every link resolved.
QString DescriptorPath(int fd)
{
    const QString link = QStringLiteral("/proc/self/fd/%1").arg(fd);
    return QFileInfo(link).symLinkTarget();
}

} // namespace

bool CSafeFile::IsInside(const QString &root, const QString &path)
{
    return Below(QFileInfo(root).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
}

bool CSafeFile::OpenRead(QFile &file, const QString &path, const QString &root, QString &err, qint64 maxSize)
{
    if (path.isEmpty()) {
        err = tr("%1 无法打开").arg(path);
        return false;
    }
    // Non-blocking, so a FIFO with no writer cannot hold the open; fstat then
    // tells what was opened.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        err = tr("%1 无法打开").arg(path);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        err = tr("%1 不是普通文件, 已拒绝").arg(path);
        return false;
    }
    if (maxSize >= 0 && st.st_size > maxSize) {
        ::close(fd);
        err = tr("%1 过大(%2字节), 已拒绝").arg(path, QString::number(st.st_size));
        return false;
    }
    if (!root.isEmpty() && !Below(QFileInfo(root).canonicalFilePath(), DescriptorPath(fd))) {
        ::close(fd);
        err = tr("%1 在目录%2之外, 已拒绝").arg(path, root);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        err = tr("%1 无法打开").arg(path);
        return false;
    }
    return true;
}

bool CSafeFile::ReadAll(const QString &path, const QString &root, QByteArray &data, QString &err, qint64 maxSize)
{
    QFile file;
    if (!OpenRead(file, path, root, err, maxSize))
        return false;
    // The file may grow after the size check.
    data = maxSize >= 0 ? file.read(maxSize) : file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err = tr("%1 无法打开").arg(path);
        return false;
    }
    return true;
}

bool CSafeFile::Write(const QString &path, const QString &root, const QByteArray &data, QString &err)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    if (path.isEmpty() || !QDir().mkpath(folder)) {
        err = tr("%1 写入失败").arg(path);
        return false;
    }
    if (!root.isEmpty() && !IsInside(root, folder)) {
        err = tr("%1 在目录%2之外, 已拒绝").arg(path, root);
        return false;
    }
    struct stat st {};
    const bool exists = ::lstat(QFile::encodeName(info.absoluteFilePath()).constData(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        err = tr("%1 不是普通文件, 已拒绝").arg(path);
        return false;
    }
    QTemporaryFile temp(folder + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open() || temp.write(data) != data.size() || !temp.flush() || ::fsync(temp.handle()) != 0) {
        err = tr("%1 写入失败").arg(path);
        return false;
    }
    temp.setPermissions(exists ? QFile::permissions(path) | QFile::WriteOwner
                               : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    temp.close();
    // rename() replaces the entry itself, never what a link at path points to.
    if (::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(info.absoluteFilePath()).constData())
        != 0) {
        err = tr("%1 写入失败").arg(path);
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

bool CSafeFile::Replace(const QString &src, const QString &dst, const QString &root, QString &err)
{
    QByteArray data;
    return ReadAll(src, QString(), data, err) && Write(dst, root, data, err);
}
