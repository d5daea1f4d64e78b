#pragma once
// One programmer of the USB console as the control frames see it: how it is
// reached, its tile, and its pull and download under way. The console derives
// its record from it.
#include "cusbpull.h"
#include "cusbpush.h"

#include <QString>

class CUsbDev
{
public:
    enum Kind : quint8 { KindNone = 0, KindHid = 1, KindVcp = 2 };

    CUsbDev() = default;
    virtual ~CUsbDev();
    CUsbDev(const CUsbDev &) = delete;
    CUsbDev &operator=(const CUsbDev &) = delete;

    // Empty here; the console's record names itself.
    virtual QString name() const;

    // Routes frames: the device path of a HID programmer, the port of a VCP one.
    QString Key() const { return m_nType == KindHid ? m_strName : m_strPort; }

    // Name of its PC-side folder and its key in the record file; empty while
    // a VCP programmer has not told its UID. Device paths hold "/" and worse,
    // so anything but letters, digits, "_", "-" and "." becomes "_".
    QString FolderId() const { return FolderIdOf(m_strName); }
    static QString FolderIdOf(const QString &name);

    quint8 m_nType = KindNone;
    int m_nSlot = -1;
    bool m_bInit = false;
    bool m_bSync = false;
    QString m_strName;     // HID: device path; VCP: UID text once known
    QString m_strPort;     // VCP: port name
    QString m_strSecondId; // HID: second id of the device entry
    // Number of the image being downloaded; the refresh after it switches to
    // this number (-1: the console's image number field).
    int m_nImageNo = -1;
    CUsbPull m_pull;
    CUsbPush m_push;
};
