#pragma once
// Serial ports and HID devices as the kernel sees them, kept up to date from a
// libudev monitor, or by slow polling where no udev daemon relays events
// (containers). Each change is reported once, as a difference between scans.
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <memory>

class QSocketNotifier;
class QTimer;
struct udev;
struct udev_monitor;

class CUdevWatch : public QObject
{
    Q_OBJECT
public:
    explicit CUdevWatch(QObject *parent = nullptr);
    ~CUdevWatch() override;

    // Whether a udev daemon delivers events; otherwise the owner relies on polling.
    bool HasMonitor() const { return m_pNotifier != nullptr; }

public slots:
    void Rescan();

signals:
    void sigPortCome(const QString &name);
    void sigPortRemove(const QString &name);
    void sigHidCome(const QString &node);
    // devPath has the shape of a Windows HID interface path (see uDisk::HidDevicePath).
    void sigHidRemove(const QString &devPath);
    void sigBlockChanged();

private:
    void OnMonitor();
    void Scan(QSet<QString> &ports, QMap<QString, QString> &hids) const;

    struct udev *m_pUdev = nullptr;
    struct udev_monitor *m_pMonitor = nullptr;
    QSocketNotifier *m_pNotifier = nullptr;
    QTimer *m_pPoll = nullptr;
    QSet<QString> m_ports;
    // hidraw node -> device path; kept because sysfs is gone by the time a removal is seen.
    QMap<QString, QString> m_hids;
};
