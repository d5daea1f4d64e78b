#include "udevwatch.h"
#include "udisk.h"

#include <QDebug>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <libudev.h>

namespace {
constexpr int kPollMs = 2000;

// A tty that stands for hardware; virtual consoles and pseudo-terminals live
// under /devices/virtual and have no parent device.
bool IsHardwarePort(struct udev_device *dev)
{
    const char *path = udev_device_get_devpath(dev);
    if (path && QByteArray(path).startsWith("/devices/virtual/"))
        return false;
    return udev_device_get_parent(dev) != nullptr;
}

QString HidPathOf(struct udev_device *dev)
{
    struct udev_device *hid = udev_device_get_parent_with_subsystem_devtype(dev, "hid", nullptr);
    const char *id = hid ? udev_device_get_property_value(hid, "HID_ID") : nullptr;
    const char *node = udev_device_get_devnode(dev);
    if (!node)
        return QString();
    return uDisk::HidDevicePath(QString::fromLatin1(id ? id : ""), QString::fromLocal8Bit(node));
}
} // namespace

CUdevWatch::CUdevWatch(QObject *parent) : QObject(parent)
{
    m_pUdev = udev_new();
    if (!m_pUdev) {
        qWarning() << "CUdevWatch: udev not available";
        return;
    }
    // Without the daemon the netlink monitor stays silent, so poll instead.
    if (QFileInfo::exists(QStringLiteral("/run/udev/control"))) {
        m_pMonitor = udev_monitor_new_from_netlink(m_pUdev, "udev");
        if (m_pMonitor) {
            udev_monitor_filter_add_match_subsystem_devtype(m_pMonitor, "tty", nullptr);
            udev_monitor_filter_add_match_subsystem_devtype(m_pMonitor, "hidraw", nullptr);
            udev_monitor_filter_add_match_subsystem_devtype(m_pMonitor, "block", nullptr);
            if (udev_monitor_enable_receiving(m_pMonitor) == 0) {
                m_pNotifier = new QSocketNotifier(udev_monitor_get_fd(m_pMonitor), QSocketNotifier::Read, this);
                connect(m_pNotifier, &QSocketNotifier::activated, this, &CUdevWatch::OnMonitor);
            } else {
                udev_monitor_unref(m_pMonitor);
                m_pMonitor = nullptr;
            }
        }
    }
    if (!m_pNotifier) {
        m_pPoll = new QTimer(this);
        connect(m_pPoll, &QTimer::timeout, this, &CUdevWatch::Rescan);
        m_pPoll->start(kPollMs);
    }
    Scan(m_ports, m_hids);
}

CUdevWatch::~CUdevWatch()
{
    delete m_pNotifier;
    if (m_pMonitor)
        udev_monitor_unref(m_pMonitor);
    if (m_pUdev)
        udev_unref(m_pUdev);
}

void CUdevWatch::OnMonitor()
{
    struct udev_device *dev = udev_monitor_receive_device(m_pMonitor);
    if (!dev)
        return;
    const QByteArray subsystem = udev_device_get_subsystem(dev);
    udev_device_unref(dev);
    if (subsystem == "block")
        emit sigBlockChanged();
    else
        Rescan();
}

void CUdevWatch::Scan(QSet<QString> &ports, QMap<QString, QString> &hids) const
{
    if (!m_pUdev)
        return;
    for (const char *subsystem : {"tty", "hidraw"}) {
        struct udev_enumerate *en = udev_enumerate_new(m_pUdev);
        if (!en)
            continue;
        udev_enumerate_add_match_subsystem(en, subsystem);
        udev_enumerate_scan_devices(en);
        struct udev_list_entry *entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(en))
        {
            struct udev_device *dev = udev_device_new_from_syspath(m_pUdev, udev_list_entry_get_name(entry));
            if (!dev)
                continue;
            if (qstrcmp(subsystem, "tty") == 0) {
                if (IsHardwarePort(dev))
                    ports.insert(QString::fromLocal8Bit(udev_device_get_sysname(dev)));
            } else if (const char *node = udev_device_get_devnode(dev)) {
                hids.insert(QString::fromLocal8Bit(node), HidPathOf(dev));
            }
            udev_device_unref(dev);
        }
        udev_enumerate_unref(en);
    }
}

void CUdevWatch::Rescan()
{
    QSet<QString> ports;
    QMap<QString, QString> hids;
    Scan(ports, hids);

    for (const QString &name : qAsConst(m_ports))
        if (!ports.contains(name))
            emit sigPortRemove(name);
    const QSet<QString> oldPorts = m_ports;
    m_ports = ports;
    for (const QString &name : qAsConst(ports))
        if (!oldPorts.contains(name))
            emit sigPortCome(name);

    for (auto it = m_hids.cbegin(); it != m_hids.cend(); ++it)
        if (!hids.contains(it.key()))
            emit sigHidRemove(it.value());
    const QMap<QString, QString> oldHids = m_hids;
    m_hids = hids;
    for (auto it = hids.cbegin(); it != hids.cend(); ++it)
        if (!oldHids.contains(it.key()))
            emit sigHidCome(it.key());
}
