#pragma once
// All programmers attached by USB-HID. Received reports are joined per device;
// a control frame goes to the USB programmer manager, a JSON message (8-byte
// head) to the parser. As a device pads its last report, whatever follows the
// first frame of a read is dropped.
#include "cbufinfo.h"

#include <creportpipe.h>

#include <QByteArray>

class CLinkHid : public CReportPipe
{
public:
    enum MessageType : quint8 { JsonText = 0, FileWrite = 1 };

    CLinkHid() = default;
    ~CLinkHid() override;

    // Enumerates the programmers' two vendor/product pairs and opens the devices
    // not open yet; returns those.
    QList<CHidInfo> OpenNewDevices();
    // 8-byte head (four 0x68, length, type, sum) + message to the device.
    bool SendToHid(quint8 type, const QByteArray &message, const QString &key);

    int BufferCount() const { return m_bufs.Size(); }

protected:
    void HandleRecvData(const HidRecvData &data) override;
    void HandleDevState(bool open, const QString &key) override;

private:
    CBufList m_bufs;
};
