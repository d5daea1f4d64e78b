#include "cusbfilereceiver.h"

#include "cusbcrc.h"
#include "cusbfileframes.h"
#include "usbpayload.h"

bool CUsbFileReceiver::Begin(const UsbFileAnnounce &announce)
{
    Clear();
    if (CUsbFileFrames::Count(announce.size) != announce.frames)
        return false;
    m_strName = announce.name;
    m_nSize = announce.size;
    m_nCrc = announce.crc;
    m_nFrames = announce.frames;
    m_bActive = true;
    m_data.reserve(int(announce.size));
    return true;
}

CUsbFileReceiver::Take CUsbFileReceiver::Accept(const UsbFileData &answer)
{
    if (!m_bActive || IsComplete() || answer.frame != m_nNext
        || answer.data.size() != CUsbFileFrames::DataLen(m_nSize, answer.frame))
        return TakeIgnored;
    m_data.append(answer.data);
    ++m_nNext;
    return IsComplete() ? TakeComplete : TakeNext;
}

void CUsbFileReceiver::Clear()
{
    m_strName.clear();
    m_nSize = 0;
    m_nCrc = 0;
    m_nFrames = 0;
    m_nNext = 0;
    m_bActive = false;
    m_data.clear();
}

bool CUsbFileReceiver::Verify() const
{
    return m_bActive && quint32(m_data.size()) == m_nSize && CUsbCrc::Crc32(m_data) == m_nCrc;
}
