#include "ckeylock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr off_t kOwnerByte = 0;
constexpr off_t kMailboxByte = 1;

bool setLock(int fd, short type, off_t byte, bool wait)
{
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = byte;
    fl.l_len = 1;
    for (;;) {
        if (::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &fl) == 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}
} // namespace

QString CKeyLock::FileBase(const QString &key)
{
    // Keys are module names; anything else in them becomes "_".
    QString safe = key;
    for (QChar &c : safe) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_') && c != QLatin1Char('-'))
            c = QLatin1Char('_');
    }
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QLatin1String("/qel-sham-") + safe;
}

QString CKeyLock::SegmentFile(const QString &key)
{
    return FileBase(key);
}

CKeyLock::CKeyLock(const QString &key, bool create)
{
    const QByteArray path = QFile::encodeName(FileBase(key) + QLatin1String(".lock"));
    int flags = O_RDWR | O_CLOEXEC | O_NOFOLLOW;
    if (create)
        flags |= O_CREAT;
    m_fd = ::open(path.constData(), flags, 0600);
}

CKeyLock::~CKeyLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool CKeyLock::TryOwn()
{
    return m_fd >= 0 && setLock(m_fd, F_WRLCK, kOwnerByte, false);
}

bool CKeyLock::LockMailbox()
{
    return m_fd >= 0 && setLock(m_fd, F_WRLCK, kMailboxByte, true);
}

void CKeyLock::UnlockMailbox()
{
    if (m_fd >= 0)
        setLock(m_fd, F_UNLCK, kMailboxByte, false);
}

bool CKeyLock::IsOwned(const QString &key)
{
    CKeyLock probe(key, false);
    if (!probe.IsOpen())
        return false;
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = kOwnerByte;
    fl.l_len = 1;
    if (::fcntl(probe.m_fd, F_OFD_GETLK, &fl) != 0)
        return false;
    return fl.l_type != F_UNLCK;
}
