#pragma once
// The console's links: the HID and serial links of the protocol that also tell
// the console when their device has gone, so its programmer is removed even
// where no device watch reports it (pseudo-terminals, simulated HID devices).
#include <clinkhid.h>
#include <clinkserial.h>

#include <functional>

// Called with the link key of a device that went away.
using CUsbLostFn = std::function<void(const QString &key)>;

class CUsbSerialLink : public CLinkSerial
{
public:
    explicit CUsbSerialLink(CUsbLostFn lost) : m_lost(std::move(lost)) {}

protected:
    void HandleConnState(bool open, QString port) override;

private:
    CUsbLostFn m_lost;
};

class CUsbHidLink : public CLinkHid
{
public:
    explicit CUsbHidLink(CUsbLostFn lost) : m_lost(std::move(lost)) {}

protected:
    void HandleDevState(bool open, const QString &key) override;

private:
    CUsbLostFn m_lost;
};
