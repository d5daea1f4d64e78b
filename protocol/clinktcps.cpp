#include "clinktcps.h"

#include "cframecutter.h"
#include "cmainhost.h"
#include "packets.h"
#include "prototext.h"

#include <QPointer>

CLinkTcpS::~CLinkTcpS() = default;

bool CLinkTcpS::SendMessage(const QByteArray &message, const QString &ip, int port)
{
    CMainHost *host = CMainHost::Instance();
    if (message.size() > CFrameCutter::kMaxTcpMessage) {
        host->Log(ProtoText::tr("报文过长(%1字节), 未发送").arg(message.size()));
        return false;
    }
    QByteArray frame = CFrameCutter::MakeTcp(message);
    SendData(frame.data(), quint16(frame.size()), ip, port);
    host->Log(ProtoText::tr("%1:%2 发送报文:%3").arg(ip, QString::number(port), ProtoText::Message(message)));
    return true;
}

void CLinkTcpS::HandleRecvData(const ns_streamhost::RecvData &data)
{
    CBufInfo *info = m_bufs.Peer(data.strIP, data.nPort);
    info->m_buf.append(data.pData, data.nLen);
    QByteArray message;
    while (CFrameCutter::NextTcp(info->m_buf, message) == CFrameCutter::Message) {
        // Handling may close the service and with it this peer's buffer.
        const QByteArray taken = message;
        CMainHost::Instance()->DispatchTcp(taken, data.strIP, data.nPort);
        info = m_bufs.FindPeer(data.strIP, data.nPort);
        if (!info)
            return;
    }
    if (info->m_buf.isEmpty())
        m_bufs.Remove(info);
}

void CLinkTcpS::HandleConnState(bool connected, QString ip, int port)
{
    CMainHost *host = CMainHost::Instance();
    const CRemoteKey key = CRemoteKey::ByPeer(ip, port);
    if (!connected) {
        m_bufs.Remove(m_bufs.FindPeer(ip, port));
        host->Log(QStringLiteral("%1:%2 ").arg(ip).arg(port) + ProtoText::tr("已断开 "));
        host->RemoveRemoteProger(key);
        return;
    }
    host->Log(QStringLiteral("%1:%2 ").arg(ip).arg(port) + ProtoText::tr("已连接 "));
    host->AddRemoteProger(key);
#if QEL_SERVER_SIDE
    ns_prog720a::ProgReqPacket request;
    request.SetPeer(ip, port);
    request.Send();
#endif
}

void CLinkTcpS::HandleSendLimit(QString ip, int port, qint64 pending)
{
    CMainHost::Instance()->Log(
        ProtoText::tr("%1:%2 未读取的数据超过%3字节, 已断开").arg(ip, QString::number(port), QString::number(pending)));
}
