#include "packets.h"

#include "clinkhid.h"
#include "cmainhost.h"
#include "prototext.h"

#include <QDebug>
#include <QFile>

QEL_PROTO_NS_BEGIN

void WriteReqPacket::SetData(quint8 no, const QString &type, const QString &value)
{
    m_nNo = no;
    m_data = {no, type, value};
}

void FWriteReqPacket::SetData(quint8 no, const QString &localPath, const QString &remoteName, qint32 offset)
{
    m_nNo = no;
    m_strLocalPath = localPath;
    m_strRemoteName = remoteName;
    m_nOffset = offset;
}

QByteArray FWriteReqPacket::BuildFrame(bool *more, qint64 *fileSize) const
{
    QByteArray buf(kBufferSize, '\0');
    buf[0] = char(0x0A);
    buf[1] = char(m_nNo);
    int n = 0;
    bool hasMore = false;
    qint64 size = 0;
    QFile file(m_strLocalPath);
    if (file.open(QIODevice::ReadOnly)) {
        size = file.size();
        buf[2] = 1;
        if (m_nOffset >= 0 && m_nOffset < size && file.seek(m_nOffset))
            n = int(qMax<qint64>(0, file.read(buf.data() + kHeadSize, kMaxChunk)));
        hasMore = m_nOffset >= 0 && qint64(m_nOffset) + n < size;
    } else {
        qDebug("open file %s failed", qPrintable(m_strLocalPath));
    }
    buf[3] = hasMore ? 1 : 0;
    const quint32 offset = quint32(m_nOffset);
    for (int i = 0; i < 4; ++i)
        buf[4 + i] = char((offset >> (8 * i)) & 0xFF);
    const QByteArray name = m_strRemoteName.toLatin1().left(kNameSize);
    memcpy(buf.data() + 8, name.constData(), size_t(name.size()));
    buf.resize(kHeadSize + n);
    if (more)
        *more = hasMore;
    if (fileSize)
        *fileSize = size;
    return buf;
}

bool FWriteReqPacket::Send()
{
    qint64 size = 0;
    const QByteArray frame = BuildFrame(nullptr, &size);
    CMainHost *host = CMainHost::Instance();
    CLinkHid *hid = host->m_links.pHid;
    if (!hid || !hid->SendToHid(CLinkHid::FileWrite, frame, m_serial)) {
        host->Log(ProtoText::tr("HID传输数据失败!"));
        return false;
    }
    if (size > 0)
        host->SetTransferProgress(m_serial, ShownProgress(m_nOffset, size, m_strRemoteName, m_strLocalPath));
    return true;
}

int FWriteReqPacket::ShownProgress(qint64 offset, qint64 fileSize, const QString &remoteName, const QString &localPath)
{
    if (fileSize <= 0)
        return 0;
    const int percent = int(qBound<qint64>(0, offset * 100 / fileSize, 100));
    if (!remoteName.endsWith(QLatin1String("img")) && !localPath.endsWith(QLatin1String("bin")))
        return percent;
    return (fileSize >= 8801 && percent < 98) ? percent : 98;
}

QEL_PROTO_NS_END
