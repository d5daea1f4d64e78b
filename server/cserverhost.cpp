#include "cserverhost.h"

#include "cremoteactions.h"
#include "cremoteservice.h"
#include "cusbprogmanager.h"
#include "mainwindow.h"
#include "remoteserver.h"
#include "serverevents.h"

#include <QMetaObject>

CServerHost::CServerHost(MainWindow *window) : m_pWindow(window)
{
    CMainHost::SetInstance(this);
    if (window && window->RemoteActions())
        window->RemoteActions()->Service()->AttachLinks(m_links);
    SetCloud(window ? window->Cloud() : nullptr);
}

CServerHost::~CServerHost()
{
    if (CMainHost::Instance() == this)
        CMainHost::SetInstance(nullptr);
}

template <typename F> void CServerHost::OnWindow(F f)
{
    if (!m_pWindow)
        return;
    QPointer<MainWindow> window = m_pWindow;
    QMetaObject::invokeMethod(
        window.data(),
        [window, f]() {
            if (window)
                f(window.data());
        },
        Qt::AutoConnection);
}

MyProger CServerHost::ProgerOf(const CRemoteKey &key)
{
    switch (key.kind) {
    case CRemoteKey::Tcp:
        return MyProger::TcpRemote(key.strIP, key.nPort);
    case CRemoteKey::Mqtt:
        return MyProger::UidRemote(MyProger::ViaMqtt, key.strUID);
    case CRemoteKey::Nsq:
        return MyProger::UidRemote(MyProger::ViaNsq, key.strUID);
    case CRemoteKey::None:
        break;
    }
    return MyProger();
}

void CServerHost::Log(const QString &text)
{
    ServerEvents::PostLog(text);
}

void CServerHost::OnUsbFrame(const QByteArray &frame, const QString &key)
{
    OnWindow([frame, key](MainWindow *w) {
        if (w->UsbManager())
            w->UsbManager()->OnFrame(frame, key);
    });
}

void CServerHost::AddRemoteProger(const CRemoteKey &key)
{
    if (!key.IsValid())
        return;
    const MyProger proger = ProgerOf(key);
    OnWindow([proger, key](MainWindow *w) {
        w->AddRemoteProger(proger);
        w->RemoteActions()->Service()->OnStationAdded(key);
    });
}

void CServerHost::RemoveRemoteProger(const CRemoteKey &key)
{
    if (!key.IsValid())
        return;
    OnWindow([key](MainWindow *w) { w->RemoteActions()->Service()->OnStationRemoved(key); });
    ServerEvents::PostProgerGone(ProgerOf(key));
}

void CServerHost::ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &text)
{
    const char *name = kind == CRemoteKey::Tcp ? "TCP" : (kind == CRemoteKey::Mqtt ? "MQTT" : "NSQ");
    ServerEvents::PostLog(QStringLiteral("%1 %2 %3").arg(QLatin1String(name), on ? QStringLiteral("on") : QStringLiteral("off"), text));
    OnWindow([](MainWindow *w) { w->RemoteActions()->Service()->OnServiceState(); });
}

void CServerHost::UpdateRemoteProger(const CRemoteKey &key, const qelmsg::ProgResponse &info)
{
    if (!key.IsValid())
        return;
    // Any answer keeps the station; one without a programmer brings the reason only.
    OnWindow([key](MainWindow *w) { w->RemoteActions()->Service()->OnStationAnswered(key); });
    if (info.id.isEmpty()) {
        if (!info.reason.isEmpty())
            Log(QStringLiteral("%1: %2").arg(key.Text(), info.reason));
        return;
    }
    MyProger proger = ProgerOf(key);
    proger.m_strRoot = info.path;
    proger.m_strID = info.id;
    proger.m_strModel = info.model;
    proger.m_strVer = info.ver;
    OnWindow([proger](MainWindow *w) { w->AddRemoteProger(proger); });
}

void CServerHost::ShowRemoteImages(const CRemoteKey &key, const QList<ImageInfo> &images)
{
    const MyProger proger = ProgerOf(key);
    OnWindow([proger, images](MainWindow *w) { w->ShowRemoteImages(proger, images); });
}

void CServerHost::RefreshRemoteImages(const CRemoteKey &key)
{
    const MyProger proger = ProgerOf(key);
    OnWindow([proger](MainWindow *w) { w->RefreshRemoteImages(proger); });
}

void CServerHost::OnFileLoaded(const CRemoteKey &key, const QString &name, bool ok)
{
    const MyProger proger = ProgerOf(key);
    OnWindow([proger, name, ok](MainWindow *w) { w->OnRemoteFileLoaded(proger, name, ok); });
}

void CServerHost::ShowRemoteConfig(const CRemoteKey &key, const QMap<QString, QString> &config)
{
    const MyProger proger = ProgerOf(key);
    OnWindow([proger, config](MainWindow *w) { w->ShowRemoteConfig(proger, config); });
}

void CServerHost::SetCloud(remoteServer *cloud)
{
    m_pCloud = cloud;
    m_links.pCloud = cloud ? cloud->Link() : nullptr;
}

// The cloud link reads on the window's thread: answers go straight on.
#define QEL_CLOUD_ANSWER(Handler, Msg)                                                             \
    void CServerHost::On##Handler(const qelmsg::Msg &msg)                                          \
    {                                                                                              \
        if (m_pCloud)                                                                              \
            m_pCloud->Handle##Handler(msg);                                                        \
    }
QEL_CLOUD_ANSWER(LoginResp, LoginResp)
QEL_CLOUD_ANSWER(ReadRecordResp, ReadRecordResp)
QEL_CLOUD_ANSWER(PullFileDataResp, PullFileDataResp)
QEL_CLOUD_ANSWER(RecordAppendResp, RecordAppendResp)
QEL_CLOUD_ANSWER(UploadFileResp, UploadFileResp)
QEL_CLOUD_ANSWER(FindDBLoginResp, FindDBLoginResp)
QEL_CLOUD_ANSWER(GetUserOIIResp, GetUserOIIResp)
QEL_CLOUD_ANSWER(UpdateIMGRecResp, UpdateIMGRecResp)
QEL_CLOUD_ANSWER(DeleteIMGResp, DeleteIMGResp)
QEL_CLOUD_ANSWER(ShareIMGResp, ShareIMGResp)
#undef QEL_CLOUD_ANSWER
