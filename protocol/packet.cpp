#include "packet.h"

#include "clinkhid.h"
#include "clinkmqtt.h"
#include "clinknsq.h"
#include "clinktcpc.h"
#include "clinktcps.h"
#include "cmainhost.h"

#include <progerinfo.h>

#include <QDebug>

QEL_PROTO_NS_BEGIN

namespace {
const int kUidLength = 24;
const int kTopicLength = 28;
const QString kC2S = QStringLiteral("_C2S");
const QString kS2C = QStringLiteral("_S2C");
} // namespace

Packet::~Packet() = default;

void Packet::SetProger(ProgerInfo *proger)
{
    m_pProger = proger;
    m_serial = proger ? proger->m_strID : QString();
}

void Packet::SetPeer(const QString &ip, int port)
{
    m_strIP = ip;
    m_nPort = port;
}

void Packet::SetNsqTopic(const QString &topic)
{
    m_strNsqTopic = topic;
}

void Packet::SetMqttTopic(const QString &topic)
{
    m_strMqttTopic = topic;
}

bool SendPacket::Send()
{
    return false;
}

bool SendPacket::Deliver(Route route, const QByteArray &text) const
{
    const CLinkSet &links = CMainHost::Instance()->m_links;
    switch (route) {
    case ToCloud:
        return links.pCloud && links.pCloud->SendMessage(text);
    case ToUsb:
        if (m_serial.isEmpty()) {
            qDebug() << "m_serial.isEmpty()";
            return false;
        }
        return links.pHid && links.pHid->SendToHid(CLinkHid::JsonText, text, m_serial);
    case ToPeer:
        if (!m_strIP.isEmpty() && m_nPort > 0) {
            if (links.pTcpServer)
                return links.pTcpServer->SendMessage(text, m_strIP, m_nPort);
            return links.pTcpStation && links.pTcpStation->SendMessage(text);
        }
        if (!m_strNsqTopic.isEmpty())
            return links.pNsq && links.pNsq->SendMessage(m_strNsqTopic, text);
        if (!m_strMqttTopic.isEmpty())
            return links.pMqtt && links.pMqtt->SendMessage(m_strMqttTopic, text);
        return false;
    }
    return false;
}

void RecvPacket::HandleData() {}

QString RecvPacket::GetString(const QString &key) const
{
    return m_json.value(key).toString();
}

int RecvPacket::GetInt(const QString &key) const
{
    return m_json.value(key).toInt();
}

bool RecvPacket::GetBool(const QString &key) const
{
    return m_json.value(key).toBool();
}

bool RecvPacket::IsOk() const
{
    const QJsonValue ret = m_json.value(QStringLiteral("ret"));
    return ret.isUndefined() || ret.toBool();
}

void RecvPacket::RouteReply(Packet &answer) const
{
    answer.SetPeer(m_strIP, m_nPort);
    answer.SetMqttTopic(ReplyTopic(m_strMqttTopic));
    answer.SetNsqTopic(ReplyTopic(m_strNsqTopic));
    answer.m_pProger = m_pProger;
    answer.m_serial = m_serial;
}

WaitCmd::WaitCmd(SendPacket *packet) : m_pPacket(packet) {}

WaitCmd::~WaitCmd()
{
    delete m_pPacket;
}

quint8 WaitCmd::GetNo() const
{
    return m_pPacket ? m_pPacket->m_nNo : 0;
}

bool WaitCmd::CheckTimeout(int limitTicks)
{
    return ++m_nTicks >= limitTicks;
}

bool WaitCmd::Acknowledge(QList<WaitCmd *> &list, quint8 no)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list[i]->GetNo() == no) {
            delete list.takeAt(i);
            return true;
        }
    }
    return false;
}

QString ReplyTopic(const QString &topic)
{
    if (topic.size() < kTopicLength)
        return QString();
    const QString base = topic.left(topic.size() - 4);
    if (topic.endsWith(kC2S))
        return base + kS2C;
    if (topic.endsWith(kS2C))
        return base + kC2S;
    return QString();
}

QString TopicKey(const QString &topic)
{
    return topic.size() < kTopicLength ? QString() : topic.left(kUidLength);
}

CRemoteKey RemoteKeyOf(const Packet &packet)
{
    if (!packet.m_strIP.isEmpty() && packet.m_nPort > 0)
        return CRemoteKey::ByPeer(packet.m_strIP, packet.m_nPort);
    const QString nsq = TopicKey(packet.m_strNsqTopic);
    if (!nsq.isEmpty())
        return CRemoteKey::ByUID(CRemoteKey::Nsq, nsq);
    const QString mqtt = TopicKey(packet.m_strMqttTopic);
    if (!mqtt.isEmpty())
        return CRemoteKey::ByUID(CRemoteKey::Mqtt, mqtt);
    return CRemoteKey();
}

QEL_PROTO_NS_END
