#include "udisk.h"
#include "diskeject.h"
#include "mountwatch.h"
#include "udevwatch.h"

#include <QDebug>

namespace {
const char kProgVendor[] = "VID_0483";
const char kProgProduct[] = "PID_5751";
// Interface class of HID devices, as it ends a Windows device path.
const char kHidClass[] = "{4D1E55B2-F16F-11CF-88CB-001111000030}";
} // namespace

uDisk::uDisk(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DontShowOnScreen);
    m_pMounts = new CMountWatch(this);
    m_pUdev = new CUdevWatch(this);
    // Without udev (containers) the mount table is also read on the slow timer,
    // so a missed notification costs at most one poll interval.
    if (!m_pUdev->HasMonitor())
        m_pMounts->SetPollMounts(true);

    connect(m_pMounts, &CMountWatch::sigCome, this, &uDisk::sigUDiskCome);
    connect(m_pMounts, &CMountWatch::sigRemove, this, &uDisk::sigUDiskRemove);
    connect(m_pUdev, &CUdevWatch::sigBlockChanged, m_pMounts, &CMountWatch::RescanMounts);
    connect(m_pUdev, &CUdevWatch::sigPortCome, this, &uDisk::sigPortCome);
    connect(m_pUdev, &CUdevWatch::sigPortRemove, this, &uDisk::sigPortRemove);
    connect(m_pUdev, &CUdevWatch::sigHidCome, this, [this]() { emit sigHidCome(); });
    connect(m_pUdev, &CUdevWatch::sigHidRemove, this, &uDisk::OnHidRemove);
}

uDisk::~uDisk() = default;

bool uDisk::nativeEventFilter(const QByteArray &, void *, long *)
{
    return false;
}

void uDisk::SetSearchDirs(const QStringList &dirs)
{
    m_pMounts->SetSearchDirs(dirs);
}

QStringList uDisk::SearchDirs() const
{
    return m_pMounts->SearchDirs();
}

bool uDisk::EjectDisk(const QString &root, QString &msg)
{
    return CDiskEject::Eject(root, msg);
}

QChar uDisk::FirstDriveFromMask(quint32 unitmask)
{
    int i = 0;
    for (; i < 26; ++i) {
        if (unitmask & (1u << i))
            break;
    }
    return QChar('A' + i);
}

bool uDisk::ParseDevicePath(const QString &devPath, QString &instance)
{
    const QStringList parts = devPath.toUpper().split(QLatin1Char('#'));
    if (parts.size() < 3)
        return false;
    const QStringList ids = parts.at(1).split(QLatin1Char('&'));
    const QStringList inst = parts.at(2).split(QLatin1Char('&'));
    if (ids.size() < 2 || inst.size() < 2)
        return false;
    if (ids.at(0) != QLatin1String(kProgVendor) || ids.at(1) != QLatin1String(kProgProduct))
        return false;
    instance = inst.at(1);
    return true;
}

QString uDisk::HidDevicePath(const QString &hidId, const QString &node)
{
    // HID_ID is "bus:vendor:product", the ids in eight hex digits.
    const QStringList ids = hidId.split(QLatin1Char(':'));
    const QString vendor = ids.size() == 3 ? ids.at(1).right(4) : QStringLiteral("0000");
    const QString product = ids.size() == 3 ? ids.at(2).right(4) : QStringLiteral("0000");
    return QStringLiteral("\\\\?\\HID#VID_%1&PID_%2#0&%3&0&0000#%4")
        .arg(vendor, product, node, QLatin1String(kHidClass))
        .toUpper();
}

void uDisk::OnHidRemove(const QString &devPath)
{
    qDebug() << "nativeEventFilter" << devPath;
    QString instance;
    if (ParseDevicePath(devPath, instance))
        emit sigHidRemove(instance);
}
