#include "mountwatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kPollMs = 2000;
// A mount is announced in pieces; let the table settle before reading it.
constexpr int kSettleMs = 200;
const char kIdentityFile[] = "sys/qelprogrammer.dat";
} // namespace

CMountWatch::CMountWatch(QObject *parent) : QObject(parent)
{
    m_pDebounce = new QTimer(this);
    m_pDebounce->setSingleShot(true);
    m_pDebounce->setInterval(kSettleMs);
    connect(m_pDebounce, &QTimer::timeout, this, &CMountWatch::RescanMounts);

    // The kernel flags /proc/self/mountinfo with POLLPRI|POLLERR on every change.
    m_fdMountInfo = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (m_fdMountInfo >= 0) {
        m_pNotifier = new QSocketNotifier(m_fdMountInfo, QSocketNotifier::Exception, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, [this]() {
            char buf[4096];
            ::lseek(m_fdMountInfo, 0, SEEK_SET);
            while (::read(m_fdMountInfo, buf, sizeof buf) > 0) {
            }
            m_pDebounce->start();
        });
    } else {
        m_bPollMounts = true;
    }

    m_pPoll = new QTimer(this);
    connect(m_pPoll, &QTimer::timeout, this, &CMountWatch::OnPoll);
    m_pPoll->start(kPollMs);

    m_mounts = MountedRoots();
    SetSearchDirs(QString::fromLocal8Bit(qgetenv("QEL_PROG_DIRS")).split(QLatin1Char(':'), Qt::SkipEmptyParts));
}

CMountWatch::~CMountWatch()
{
    delete m_pNotifier;
    if (m_fdMountInfo >= 0)
        ::close(m_fdMountInfo);
}

QString CMountWatch::RootOf(const QString &path)
{
    QString root = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root;
}

QSet<QString> CMountWatch::MountedRoots()
{
    QSet<QString> roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || volume.isRoot())
            continue;
        roots.insert(RootOf(volume.rootPath()));
    }
    return roots;
}

void CMountWatch::RescanMounts()
{
    const QSet<QString> now = MountedRoots();
    for (const QString &root : qAsConst(m_mounts))
        if (!now.contains(root))
            emit sigRemove(root);
    const QSet<QString> before = m_mounts;
    m_mounts = now;
    for (const QString &root : now)
        if (!before.contains(root))
            emit sigCome(root);
}

void CMountWatch::SetSearchDirs(const QStringList &dirs)
{
    m_searchDirs.clear();
    for (const QString &dir : dirs)
        if (!dir.trimmed().isEmpty())
            m_searchDirs << RootOf(dir.trimmed());
    m_progDirs = PresentProgDirs();
}

QSet<QString> CMountWatch::PresentProgDirs() const
{
    QSet<QString> present;
    for (const QString &dir : m_searchDirs)
        if (QFileInfo(dir + QLatin1String(kIdentityFile)).isFile())
            present.insert(dir);
    return present;
}

void CMountWatch::RescanSearchDirs()
{
    const QSet<QString> now = PresentProgDirs();
    for (const QString &dir : qAsConst(m_progDirs))
        if (!now.contains(dir))
            emit sigRemove(dir);
    const QSet<QString> before = m_progDirs;
    m_progDirs = now;
    for (const QString &dir : m_searchDirs)
        if (now.contains(dir) && !before.contains(dir))
            emit sigCome(dir);
}

void CMountWatch::OnPoll()
{
    if (m_bPollMounts)
        RescanMounts();
    RescanSearchDirs();
}
