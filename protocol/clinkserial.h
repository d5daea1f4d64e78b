#pragma once
// One programmer on a USB virtual COM port: control frames are cut from the
// byte stream and handed, with the port name, to the USB programmer manager.
#include "cbufinfo.h"

#include <clinepipe.h>

class CLinkSerial : public CLinePipe
{
public:
    static constexpr int kBaudRate = 115200;

    CLinkSerial() = default;
    ~CLinkSerial() override;

    bool Open(const QString &port);
    void Close(const QString &port);
    bool Send(const QByteArray &frame, const QString &port);

    QString PortName() const { return m_strPort; }
    int Pending() const { return m_buf.m_buf.size(); }

protected:
    void HandleRecvData(const SerialRecvData &data) override;
    void HandleConnState(bool open, QString port) override;

private:
    CBufInfo m_buf;
    QString m_strPort;
};
