#include "cremoteactions.h"

#include "cremoteservice.h"
#include "cserverhost.h"
#include "serverdefs.h"
#include "serverdlg.h"
#include "serverevents.h"

#include <cpubactions.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>

CRemoteActions::CRemoteActions(QWidget *window, QAction *tcp, QAction *mqtt, QAction *nsq, QLabel *state)
    : QObject(window), m_pWindow(window), m_pTcp(tcp), m_pMqtt(mqtt), m_pNsq(nsq), m_pState(state)
{
    m_pService = std::make_unique<CRemoteService>();
    CPubActions ini(true);
    const QString file = ServerDefs::IniFile();
    m_pService->SetBroker(ini.GetString(QStringLiteral("REMOTE"), QStringLiteral("BROKER"), QStringLiteral("127.0.0.1"), file),
                          ini.GetInt(QStringLiteral("REMOTE"), QStringLiteral("MQTTPORT"), 61613, file),
                          ini.GetInt(QStringLiteral("REMOTE"), QStringLiteral("NSQPORT"), 4161, file));
    m_pTcpDlg = std::make_unique<serverdlg>(window);
    m_pMqttDlg = std::make_unique<servertopicdlg>(window);
    m_pNsqDlg = std::make_unique<servertopicdlg>(window);
    for (QAction *action : {tcp, mqtt, nsq})
        action->setCheckable(true);
    connect(m_pService.get(), &CRemoteService::sigStateChanged, this, &CRemoteActions::ShowState);
    // Dropped after the current callback, like a station that went.
    connect(m_pService.get(), &CRemoteService::sigStationGone, this,
            [](const CRemoteKey &key) { ServerEvents::PostProgerGone(CServerHost::ProgerOf(key)); });
    // An unattended server (the demo, a line PC) listens from start-up: "address:port".
    const QString listen = ini.GetString(QStringLiteral("REMOTE"), QStringLiteral("TCPLISTEN"), QString(), file).trimmed();
    const int colon = listen.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        m_pTcpDlg->edit_ip->setText(listen.left(colon));
        m_pTcpDlg->edit_port->setText(listen.mid(colon + 1));
        m_pService->StartTcp(m_pTcpDlg->Address(), m_pTcpDlg->Port());
    }
    ShowState();
}

CRemoteActions::~CRemoteActions()
{
    // The services stop without showing it; the dialogs are the window's
    // children too and go before the window deletes them.
    m_pService->disconnect(this);
    m_pService.reset();
    m_pTcpDlg.reset();
    m_pMqttDlg.reset();
    m_pNsqDlg.reset();
}

bool CRemoteActions::Handle(QAction *action)
{
    if (!action)
        return false;
    if (action == m_pTcp)
        ToggleTcp();
    else if (action == m_pMqtt || action == m_pNsq)
        ToggleBroker(action == m_pNsq);
    else
        return false;
    return true;
}

void CRemoteActions::ToggleTcp()
{
    if (m_pService->IsTcpOn()) {
        m_pService->StopTcp();
    } else if (m_pTcpDlg->exec() == QDialog::Accepted) {
        m_pService->StartTcp(m_pTcpDlg->Address(), m_pTcpDlg->Port());
    }
    ShowState();
}

void CRemoteActions::ToggleBroker(bool nsq)
{
    CRemoteService *service = m_pService.get();
    const bool on = !(nsq ? service->NsqUID() : service->MqttUID()).isEmpty();
    servertopicdlg *dlg = nsq ? m_pNsqDlg.get() : m_pMqttDlg.get();
    if (on) {
        if (nsq)
            service->StopNsq();
        else
            service->StopMqtt();
    } else if (dlg->exec() == QDialog::Accepted) {
        if (nsq)
            service->StartNsq(dlg->UID());
        else
            service->StartMqtt(dlg->UID());
    }
    ShowState();
}

void CRemoteActions::ShowState()
{
    const bool tcp = m_pService->IsTcpOn();
    const QString mqtt = m_pService->MqttUID();
    const QString nsq = m_pService->NsqUID();
    if (m_pTcp) {
        m_pTcp->setChecked(tcp);
        m_pTcp->setText(tcp ? tr("关闭远程服务") : tr("开启远程服务"));
    }
    if (m_pMqtt) {
        m_pMqtt->setChecked(!mqtt.isEmpty());
        m_pMqtt->setText(mqtt.isEmpty() ? tr("开启远程MQTT服务") : tr("关闭远程MQTT服务"));
    }
    if (m_pNsq) {
        m_pNsq->setChecked(!nsq.isEmpty());
        m_pNsq->setText(nsq.isEmpty() ? tr("开启远程NSQ服务") : tr("关闭远程NSQ服务"));
    }
    if (!m_pState)
        return;
    // The label names the service changed last that is on, else the TCP state.
    if (!nsq.isEmpty())
        m_pState->setText(tr("远程NSQ服务已开启-%1").arg(nsq));
    else if (!mqtt.isEmpty())
        m_pState->setText(tr("远程MQTT服务已开启-%1").arg(mqtt));
    else if (tcp)
        m_pState->setText(tr("远程服务已开启-%1:%2").arg(m_pTcpDlg->Address(), QString::number(m_pTcpDlg->Port())));
    else
        m_pState->setText(tr("远程服务已关闭"));
}
