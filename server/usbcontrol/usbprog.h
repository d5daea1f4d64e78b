#pragma once
// One programmer of the USB console: the frame state of CUsbDev plus how the
// console reaches it (the serial link of a VCP programmer) and where its files
// are kept on this PC.
#include "cusbdev.h"
#include "cusblinks.h"

#include <QByteArray>

#include <deque>
#include <memory>

namespace ns_prog720a {

class USBProg : public CUsbDev
{
public:
    // kind KindHid with the device path and the device's second id, or
    // KindVcp with the port name.
    USBProg(quint8 kind, const QString &key, const QString &secondId = QString());
    ~USBProg() override;

    QString name() const override { return m_strName; }

    // The serial link that owns the port, created on first use.
    CUsbSerialLink *Link(const CUsbLostFn &lost);
    CUsbSerialLink *LinkIfOpen() const { return m_pLink.get(); }
    void CloseLink();

    // The console's send queue of this programmer; times in µs on its clock.
    struct Outgoing
    {
        QByteArray frame;
        qint64 nDue;
    };
    std::deque<Outgoing> m_out;
    qint64 m_nHoldUntil = 0; // a pause holds back the frames queued after it
    qint64 m_nNextSend = 0;  // frames keep the console's send gap apart

private:
    std::unique_ptr<CUsbSerialLink> m_pLink;
};

} // namespace ns_prog720a
