#include "cusbpush.h"

#include "cusbcrc.h"
#include "cusbfileframes.h"
#include "usbpayload.h"

bool CUsbPush::Prepare(const QString &name, const QByteArray &data)
{
    Clear();
    if (data.size() > CUsbFileFrames::kMaxFileSize || name.isEmpty() || name.toUtf8().size() > UsbCmd::kMaxNameLen)
        return false;
    m_strName = name;
    m_nSize = quint32(data.size());
    m_nCrc = CUsbCrc::Crc32(data);
    m_nFrames = quint16(CUsbFileFrames::Count(data.size()));
    m_frames = CUsbFileFrames::Cut(data);
    return true;
}

void CUsbPush::Clear()
{
    m_strName.clear();
    m_nSize = 0;
    m_nCrc = 0;
    m_nFrames = 0;
    m_frames.clear();
}

QByteArray CUsbPush::AttrFrame() const
{
    UsbFileAnnounce a;
    a.size = m_nSize;
    a.frames = m_nFrames;
    a.crc = m_nCrc;
    a.name = m_strName;
    return a.Frame();
}

CUsbPush::FrameAnswer CUsbPush::Answer(int k, QByteArray &frame) const
{
    frame.clear();
    if (k < 0 || k + 1 > m_frames.size())
        return FrameConflict;
    if (m_frames.at(k).isEmpty())
        return FrameMissing;
    UsbFileData d;
    d.cmd = UsbCmd::FT_REQ_CMD;
    d.frame = quint16(k);
    d.data = m_frames.at(k);
    frame = d.Frame();
    return FrameOk;
}

int CUsbPush::Percent(int k) const { return CUsbFileFrames::Percent(k, m_nFrames); }

QByteArray CUsbPush::Data() const
{
    QByteArray data;
    data.reserve(int(m_nSize));
    for (const QByteArray &frame : m_frames)
        data += frame;
    return data;
}
