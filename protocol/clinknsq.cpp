#include "clinknsq.h"

#include "cmainhost.h"
#include "linktopics.h"
#include "packets.h"
#include "prototext.h"

CLinkNsq::~CLinkNsq() = default;

void CLinkNsq::StartService(const QString &uid, const QString &host, int port)
{
    m_strUID = uid;
    RunInst({LinkTopics::Listen(uid)}, host, port);
}

bool CLinkNsq::SendMessage(const QString &topic, const QByteArray &message)
{
    AddPubMessage(topic, message);
    CMainHost::Instance()->Log(ProtoText::tr("topic:%1 发送报文:%3").arg(topic, ProtoText::Message(message)));
    return true;
}

void CLinkNsq::HandleTopicMsg(const QByteArray &body, const QString &topic)
{
    CMainHost::Instance()->DispatchTopic(CRemoteKey::Nsq, topic, body);
}

void CLinkNsq::HandleConnState(bool connected)
{
    CMainHost *host = CMainHost::Instance();
#if QEL_SERVER_SIDE
    const CRemoteKey key = CRemoteKey::ByUID(CRemoteKey::Nsq, LinkTopics::Key(m_strUID));
    if (connected) {
        host->Log(ProtoText::tr("云端服务器已连接"));
        if (!m_strUID.isEmpty()) {
            host->AddRemoteProger(key);
            ns_prog720a::ProgReqPacket request;
            request.SetNsqTopic(LinkTopics::Talk(m_strUID));
            request.Send();
        }
        host->ShowServiceState(CRemoteKey::Nsq, true, m_strUID);
    } else {
        host->Log(ProtoText::tr("云端服务器已断开"));
        if (!m_strUID.isEmpty())
            host->RemoveRemoteProger(key);
        m_strUID.clear();
        host->ShowServiceState(CRemoteKey::Nsq, false, QString());
    }
#else
    host->Log(connected ? ProtoText::tr("云端服务器已连接") : ProtoText::tr("云端服务器已断开"));
    host->ShowServiceState(CRemoteKey::Nsq, connected, m_strUID);
#endif
}
