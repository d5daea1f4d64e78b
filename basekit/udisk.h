#pragma once
// Tells the programs when programmer disks, HID devices and serial ports come
// and go. On Linux the events come from libudev, from the mount table and from
// a slow scan of the programmer search list (QEL_PROG_DIRS).
#include "basekit_global.h"

#include <QAbstractNativeEventFilter>
#include <QStringList>
#include <QWidget>

class CMountWatch;
class CUdevWatch;

class BASEKIT_EXPORT uDisk : public QWidget, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit uDisk(QWidget *parent = nullptr);
    ~uDisk() override;

    // Kept for programs that install the watcher as a filter; Linux needs no native messages.
    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    // Programmer folders that are not mounts; replaces the list from QEL_PROG_DIRS.
    void SetSearchDirs(const QStringList &dirs);
    QStringList SearchDirs() const;

    // Unmounts (and with udisks2 powers off) the programmer disk mounted at root.
    bool EjectDisk(const QString &root, QString &msg);

    // Letter of the lowest of the 26 drive bits, 'A' for bit 0; the character
    // after 'Z' when no bit is set.
    static QChar FirstDriveFromMask(quint32 unitmask);
    // "...#VID_xxxx&PID_yyyy#a&INSTANCE&...#..." -> true with the instance part
    // only for the programmers' vendor 0483 and product 5751.
    static bool ParseDevicePath(const QString &devPath, QString &instance);
    // A device path of the shape above for a hidraw node; hidId is udev's HID_ID
    // ("0003:00000483:00005751"). The instance part is the node, upper-cased.
    static QString HidDevicePath(const QString &hidId, const QString &node);

signals:
    void sigUDiskCome(QString root);
    void sigUDiskRemove(QString root);
    void sigHidCome();
    void sigHidRemove(QString instance);
    void sigPortCome(QString port);
    void sigPortRemove(QString port);

private:
    void OnHidRemove(const QString &devPath);

    CMountWatch *m_pMounts = nullptr;
    CUdevWatch *m_pUdev = nullptr;
};
