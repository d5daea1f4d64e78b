#include "cremoteservice.h"

#include <clinkmqtt.h>
#include <clinknsq.h>
#include <clinktcps.h>
#include <cmainhost.h>
#include <linktopics.h>
#include <packets.h>

#include <QDebug>

using namespace ns_prog720a;

CRemoteService::CRemoteService(QObject *parent) : QObject(parent)
{
    m_pTcp = std::make_unique<CLinkTcpS>();
    m_pMqtt = std::make_unique<CLinkMQTT>();
    m_pNsq = std::make_unique<CLinkNsq>();
    connect(&m_timer, &QTimer::timeout, this, &CRemoteService::Tick);
}

CRemoteService::~CRemoteService()
{
    StopAll();
    CLinkSet &links = CMainHost::Instance()->m_links;
    if (links.pTcpServer == m_pTcp.get())
        links.pTcpServer = nullptr;
    if (links.pMqtt == m_pMqtt.get())
        links.pMqtt = nullptr;
    if (links.pNsq == m_pNsq.get())
        links.pNsq = nullptr;
    m_pNsq->Exitance();
}

void CRemoteService::AttachLinks(CLinkSet &links)
{
    links.pTcpServer = m_pTcp.get();
    links.pMqtt = m_pMqtt.get();
    links.pNsq = m_pNsq.get();
}

void CRemoteService::SetBroker(const QString &host, int mqttPort, int nsqPort)
{
    m_strBroker = host;
    m_nMqttPort = mqttPort;
    m_nNsqPort = nsqPort;
}

// ---------------------------------------------------------------- services

bool CRemoteService::StartTcp(const QString &ip, int port)
{
    CMainHost *host = CMainHost::Instance();
    if (port <= 0 || port > 65535 || !m_pTcp->StartServer(ip, port, true, nullptr)) {
        host->Log(tr("远程服务启动失败"));
        return false;
    }
    m_strTcp = QStringLiteral("%1:%2").arg(ip, QString::number(port));
    host->Log(tr("远程服务启动成功"));
    UpdateTimer();
    emit sigStateChanged();
    return true;
}

void CRemoteService::StopTcp()
{
    if (!m_pTcp->IsListening())
        return;
    m_pTcp->CloseServer();
    m_strTcp.clear();
    CMainHost::Instance()->Log(tr("远程服务已关闭"));
    UpdateTimer();
    emit sigStateChanged();
}

bool CRemoteService::IsTcpOn() const
{
    return m_pTcp->IsListening();
}

bool CRemoteService::StartMqtt(const QString &uid)
{
    return StartBroker(IsMqttUid(uid), [this, &uid]() { m_pMqtt->StartService(uid, m_strBroker, m_nMqttPort); });
}

void CRemoteService::StopMqtt()
{
    // The connection-state callback removes the station's programmer.
    m_pMqtt->CloseInst();
}

bool CRemoteService::StartNsq(const QString &uid)
{
    return StartBroker(IsNsqUid(uid), [this, &uid]() { m_pNsq->StartService(uid, m_strBroker, m_nNsqPort); });
}

bool CRemoteService::StartBroker(bool uidOk, const std::function<void()> &start)
{
    if (!uidOk) {
        CMainHost::Instance()->Log(tr("请正确输入UID"));
        return false;
    }
    start();
    OnServiceState();
    return true;
}

void CRemoteService::StopNsq()
{
    m_pNsq->CloseInst();
}

QString CRemoteService::MqttUID() const
{
    return m_pMqtt->GetUID();
}

QString CRemoteService::NsqUID() const
{
    return m_pNsq->GetUID();
}

void CRemoteService::StopAll()
{
    StopTcp();
    if (m_pMqtt->IsOnline() || !m_pMqtt->GetUID().isEmpty())
        StopMqtt();
    if (!NsqUID().isEmpty())
        StopNsq();
}

// ---------------------------------------------------------------- liveness

void CRemoteService::UpdateTimer()
{
    // Every service brings stations that may never answer.
    const bool on = IsTcpOn() || !MqttUID().isEmpty() || !NsqUID().isEmpty();
    if (on && !m_timer.isActive()) {
        qDebug() << "start timer";
        m_timer.start(kTickMs);
    } else if (!on && m_timer.isActive()) {
        qDebug() << "stop timer";
        m_timer.stop();
        m_liveness.Clear();
    }
}

void CRemoteService::OnServiceState()
{
    UpdateTimer();
    emit sigStateChanged();
}

void CRemoteService::OnStationAdded(const CRemoteKey &key)
{
    m_liveness.Add(key);
}

void CRemoteService::OnStationAnswered(const CRemoteKey &key)
{
    m_liveness.Answered(key);
}

void CRemoteService::OnStationRemoved(const CRemoteKey &key)
{
    m_liveness.Remove(key);
}

void CRemoteService::Tick()
{
    for (const CRemoteKey &key : m_liveness.Tick())
        emit sigStationGone(key);
}

// ---------------------------------------------------------------- requests

CRemoteKey CRemoteService::KeyOf(const MyProger &proger)
{
    switch (proger.RemoteVia()) {
    case MyProger::ViaTcp:
        return CRemoteKey::ByPeer(proger.m_strRemoteIP, proger.m_nRemotePort);
    case MyProger::ViaMqtt:
        return CRemoteKey::ByUID(CRemoteKey::Mqtt, proger.m_strUID);
    case MyProger::ViaNsq:
        return CRemoteKey::ByUID(CRemoteKey::Nsq, proger.m_strUID);
    case MyProger::ViaNone:
        break;
    }
    return CRemoteKey();
}

void CRemoteService::Route(const MyProger &proger, Packet &packet)
{
    const CLinkSet &links = CMainHost::Instance()->m_links;
    switch (proger.RemoteVia()) {
    case MyProger::ViaTcp:
        packet.SetPeer(proger.m_strRemoteIP, proger.m_nRemotePort);
        break;
    case MyProger::ViaMqtt:
        packet.SetMqttTopic(LinkTopics::Talk(proger.m_strUID));
        break;
    case MyProger::ViaNsq: {
        // The list knows the station by the first 24 characters of its UID;
        // the station listens on its whole UID.
        const QString served = links.pNsq ? links.pNsq->GetUID() : QString();
        const bool same = !served.isEmpty() && LinkTopics::Key(served) == proger.m_strUID;
        packet.SetNsqTopic(LinkTopics::Talk(same ? served : proger.m_strUID));
        break;
    }
    case MyProger::ViaNone:
        break;
    }
}

bool CRemoteService::RequestImages(const MyProger &proger)
{
    ImageReqPacket request;
    Route(proger, request);
    return request.Send();
}

bool CRemoteService::RequestConfig(const MyProger &proger)
{
    ConfigReqPacket request;
    Route(proger, request);
    return request.Send();
}

bool CRemoteService::ClearImage(const MyProger &proger, const QString &name)
{
    ClearImageReqPacket request;
    Route(proger, request);
    request.SetData({name});
    return request.Send();
}
