#include "cusbfileserver.h"

#include "cusbfileframes.h"
#include "usbpayload.h"

bool CUsbFileServer::Set(const QByteArray &data)
{
    Clear();
    if (data.size() > CUsbFileFrames::kMaxFileSize)
        return false;
    m_data = data;
    m_bSet = true;
    return true;
}

QByteArray CUsbFileServer::InfoFrame() const
{
    UsbFileInfo info;
    info.status = m_bSet ? 0 : 1;
    if (m_bSet) {
        info.size = quint32(m_data.size());
        info.frames = quint16(CUsbFileFrames::Count(m_data.size()));
    }
    return info.Frame();
}

QByteArray CUsbFileServer::DataFrame(int k) const
{
    const int len = CUsbFileFrames::DataLen(m_data.size(), k);
    if (!m_bSet || len == 0)
        return QByteArray();
    UsbFileData d;
    d.cmd = UsbCmd::REQ_FILE_DATA;
    d.frame = quint16(k);
    d.data = m_data.mid(k * UsbCmd::kFileFrame, len);
    return d.Frame();
}
