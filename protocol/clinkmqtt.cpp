#include "clinkmqtt.h"

#include "cmainhost.h"
#include "linktopics.h"
#include "packets.h"
#include "prototext.h"

CLinkMQTT::~CLinkMQTT() = default;

void CLinkMQTT::StartService(const QString &uid, const QString &host, int port)
{
    m_strUID = uid;
    RunInst({LinkTopics::Listen(uid)}, host, port);
}

bool CLinkMQTT::SendMessage(const QString &topic, const QByteArray &message)
{
    AddPubMessage(topic, message);
    CMainHost::Instance()->Log(ProtoText::tr("topic:%1 发送报文:%3").arg(topic, ProtoText::Message(message)));
    return true;
}

void CLinkMQTT::HandleTopicMsg(const QString &topic, const QByteArray &message)
{
    CMainHost::Instance()->DispatchTopic(CRemoteKey::Mqtt, topic, message);
}

void CLinkMQTT::HandleConnState(bool connected, QString, int)
{
    CMainHost *host = CMainHost::Instance();
#if QEL_SERVER_SIDE
    const CRemoteKey key = CRemoteKey::ByUID(CRemoteKey::Mqtt, LinkTopics::Key(m_strUID));
    if (connected) {
        host->Log(ProtoText::tr("云端服务器已连接"));
        if (!m_strUID.isEmpty()) {
            host->AddRemoteProger(key);
            ns_prog720a::ProgReqPacket request;
            request.SetMqttTopic(LinkTopics::Talk(m_strUID));
            request.Send();
        }
        host->ShowServiceState(CRemoteKey::Mqtt, true, m_strUID);
    } else {
        host->Log(ProtoText::tr("云端服务器已断开"));
        if (!m_strUID.isEmpty())
            host->RemoveRemoteProger(key);
        m_strUID.clear();
        host->ShowServiceState(CRemoteKey::Mqtt, false, QString());
    }
#else
    host->Log(connected ? ProtoText::tr("MQTT云端服务器已连接") : ProtoText::tr("MQTT云端服务器已断开"));
    host->ShowServiceState(CRemoteKey::Mqtt, connected, m_strUID);
#endif
}
