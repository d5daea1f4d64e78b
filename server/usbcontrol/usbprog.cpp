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

QString USBProg::FolderIdOf(const QString &name)
{
    QString id;
    id.reserve(name.size());
    for (const QChar c : name) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') || c == QLatin1Char('-')
            || c == QLatin1Char('.');
        id.append(plain ? c : QLatin1Char('_'));
    }
    // "." and ".." are folders of their own.
    if (!id.isEmpty() && id.count(QLatin1Char('.')) == id.size())
        id.replace(QLatin1Char('.'), QLatin1Char('_'));
    return id;
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
