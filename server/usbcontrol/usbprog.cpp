#include "usbprog.h"

namespace ns_prog720a {

USBProg::USBProg(quint8 kind, const QString &key, const QString &secondId)
{
    m_nType = kind;
    if (kind == KindHid) {
        m_strName = key;
        m_strSecondId = secondId;
    } else {
        m_strPort = key;
    }
}

USBProg::~USBProg()
{
    CloseLink();
}

CUsbSerialLink *USBProg::Link(const CUsbLostFn &lost)
{
    if (!m_pLink)
        m_pLink = std::make_unique<CUsbSerialLink>(lost);
    return m_pLink.get();
}

void USBProg::CloseLink()
{
    if (!m_pLink)
        return;
    // Closing reports the port as gone; that is no news to the console.
    std::unique_ptr<CUsbSerialLink> link = std::move(m_pLink);
    link->Close(m_strPort);
}

} // namespace ns_prog720a
