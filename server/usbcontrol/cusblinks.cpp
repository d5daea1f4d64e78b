#include "cusblinks.h"

void CUsbSerialLink::HandleConnState(bool open, QString port)
{
    CLinkSerial::HandleConnState(open, port);
    if (!open && m_lost)
        m_lost(port);
}

void CUsbHidLink::HandleDevState(bool open, const QString &key)
{
    CLinkHid::HandleDevState(open, key);
    if (!open && m_lost)
        m_lost(key);
}
