#pragma once
// One way of reaching HID devices (hidraw, or the simulation sockets). Used by
// CReportPipe only; reports and losses reach it on the owning thread.
#include "creportpipe.h"

#include <functional>

class HidBackend
{
public:
    virtual ~HidBackend() = default;

    virtual QList<CHidInfo> Enumerate(quint16 vid, quint16 pid) = 0;
    virtual bool Open(const CHidInfo &info) = 0;
    virtual void Close(const QString &key) = 0;
    virtual bool IsOpen(const QString &key) const = 0;
    // Writes one report of HidSimWire::kReportSize bytes.
    virtual bool Write(const QString &key, const QByteArray &report) = 0;

    std::function<void(const QString &key, const QByteArray &report)> onReport;
    std::function<void(const QString &key)> onLost;
};
