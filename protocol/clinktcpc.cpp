#include "clinktcpc.h"

#include "cframecutter.h"
#include "cmainhost.h"
#include "prototext.h"

#include <QDebug>

namespace {
const int kLongCloudText = 1024;
}

CLinkTcpC::~CLinkTcpC() = default;

void CLinkTcpC::Connect(const QString &host, int port)
{
    if (!m_bConnected)
        StartClient(host, port, true, nullptr);
}

bool CLinkTcpC::SendMessage(const QByteArray &message)
{
    if (!m_bConnected)
        return false;
    CMainHost *host = CMainHost::Instance();
    if (message.size() > CFrameCutter::kMaxTcpMessage) {
        host->Log(ProtoText::tr("报文过长(%1字节), 未发送").arg(message.size()));
        return false;
    }
    QByteArray frame = CFrameCutter::MakeTcp(message);
    SendData(frame.data(), quint16(frame.size()), m_strIP, m_nPort);
    if (m_eRole == Station)
        host->Log(ProtoText::tr("%1:%2 发送报文:%3").arg(m_strIP, QString::number(m_nPort), ProtoText::Message(message)));
    else if (message.size() < kLongCloudText)
        qDebug().noquote() << QStringLiteral("%1:%2 发送报文:%3").arg(m_strIP, QString::number(m_nPort), QString::fromUtf8(message));
    else
        qDebug().noquote() << QStringLiteral("%1:%2 发送文件数据").arg(m_strIP).arg(m_nPort);
    return true;
}

void CLinkTcpC::HandleRecvData(const ns_streamdial::RecvData &data)
{
    CBufInfo *info = m_bufs.Peer(data.strIP, data.nPort);
    info->m_buf.append(data.pData, data.nLen);
    QByteArray message;
    while (CFrameCutter::NextTcp(info->m_buf, message) == CFrameCutter::Message) {
        const QByteArray taken = message;
        if (m_eRole == Station)
            CMainHost::Instance()->DispatchTcp(taken, data.strIP, data.nPort);
        else
            CMainHost::Instance()->DispatchCloud(taken, data.strIP, data.nPort);
        info = m_bufs.FindPeer(data.strIP, data.nPort);
        if (!info)
            return;
    }
    if (info->m_buf.isEmpty())
        m_bufs.Remove(info);
}

void CLinkTcpC::HandleConnState(bool connected, QString ip, int port)
{
    m_bConnected = connected;
    if (connected) {
        m_strIP = ip;
        m_nPort = port;
    } else {
        m_bufs.Remove(m_bufs.FindPeer(m_strIP, m_nPort));
        m_strIP.clear();
        m_nPort = 0;
    }
    if (m_eRole == Cloud) {
        qDebug().noquote() << (connected ? QStringLiteral("服务器连接成功") : QStringLiteral("服务器连接断开"));
        return;
    }
    CMainHost *host = CMainHost::Instance();
    host->Log(QStringLiteral("%1:%2 ").arg(ip).arg(port) + (connected ? ProtoText::tr("已连接 ") : ProtoText::tr("已断开 ")));
    host->ShowServiceState(CRemoteKey::Tcp, connected, QStringLiteral("%1:%2").arg(ip).arg(port));
}
