#include "clinkhid.h"

#include "cframecutter.h"
#include "cmainhost.h"
#include "prototext.h"

#include <QDebug>

namespace {
const unsigned int kVendorA = 0x0483;
const unsigned int kProductA = 0x5751;
const unsigned int kVendorB = 0x0485;
const unsigned int kProductB = 0x5760;
} // namespace

CLinkHid::~CLinkHid() = default;

QList<CHidInfo> CLinkHid::OpenNewDevices()
{
    QList<CHidInfo> all;
    EnumDevices(all, kVendorA, kProductA);
    EnumDevices(all, kVendorB, kProductB);
    QList<CHidInfo> fresh;
    for (const CHidInfo &info : qAsConst(all)) {
        if (!IsOpen(info.m_strPath))
            fresh.append(info);
    }
    if (!fresh.isEmpty())
        StartNewHid(fresh, false);
    return fresh;
}

bool CLinkHid::SendToHid(quint8 type, const QByteArray &message, const QString &key)
{
    CMainHost *host = CMainHost::Instance();
    if (message.size() > CFrameCutter::kMaxHidMessage) {
        host->Log(ProtoText::tr("报文过长(%1字节), 未发送").arg(message.size()));
        return false;
    }
    QByteArray frame = CFrameCutter::MakeHidMessage(type, message);
    qDebug() << "SendHidData" << key;
    const bool ok = SendData(reinterpret_cast<unsigned char *>(frame.data()), quint16(frame.size()), key);
    if (!ok)
        host->Log(ProtoText::tr("数据传输失败"));
    return ok;
}

void CLinkHid::HandleRecvData(const HidRecvData &data)
{
    const QString key = data.strKey;
    CBufInfo *info = m_bufs.Key(key);
    info->m_buf.append(reinterpret_cast<const char *>(data.pData), data.nLen);
    QByteArray &buf = info->m_buf;
    QByteArray frame;
    QByteArray dropped;
    while (buf.size() >= CFrameCutter::kUsbMinFrame) {
        if (CFrameCutter::IsHidMessageHead(buf)) {
            quint8 type = 0;
            const CFrameCutter::Result r = CFrameCutter::NextHidMessage(buf, type, frame, dropped);
            if (r == CFrameCutter::NeedMore)
                return;
            buf.clear();
            if (r == CFrameCutter::Dropped)
                qDebug() << "hid bad sum:" << dropped.toHex(' ');
            else if (type == JsonText)
                CMainHost::Instance()->DispatchHid(frame, key);
            return;
        }
        const CFrameCutter::Result r = CFrameCutter::NextUsb(buf, frame, dropped);
        if (r == CFrameCutter::NeedMore)
            return;
        if (r == CFrameCutter::Dropped) {
            qDebug().noquote() << "hid unsupport frm: " + QString::fromLatin1(dropped.toHex(' '));
            continue;
        }
        // The rest of the read is report padding.
        buf.clear();
        CMainHost::Instance()->OnUsbFrame(frame, key);
        return;
    }
}

void CLinkHid::HandleDevState(bool open, const QString &key)
{
    // A device that went keeps no half frame for the next one with its key.
    if (!open)
        m_bufs.Remove(m_bufs.FindKey(key));
}
