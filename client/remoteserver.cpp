#include "remoteserver.h"

#include "clientdefs.h"

#include <cmainhost.h>
#include <cpubactions.h>
#include <packets.h>

namespace {
const QString kGroup = QStringLiteral("CLOUD");
}

remoteServer::remoteServer(QObject *parent) : QObject(parent), m_pull(ClientDefs::WorkDir())
{
    m_link.onState = [this](bool connected, bool wasConnected) { OnConnState(connected, wasConnected); };
}

remoteServer::~remoteServer()
{
    m_link.onState = nullptr;
    m_pull.Abort();
}

QString remoteServer::CloudHost()
{
    return CPubActions(true).GetString(kGroup, QStringLiteral("HOST"), QStringLiteral("127.0.0.1"), ClientDefs::IniFile());
}

int remoteServer::CloudPort()
{
    return CPubActions(true).GetInt(kGroup, QStringLiteral("PORT"), 61690, ClientDefs::IniFile());
}

QString remoteServer::Account(QString &password)
{
    CPubActions ini(true);
    password = ini.GetString(kGroup, QStringLiteral("PASSWORD"), QString(), ClientDefs::IniFile());
    return ini.GetString(kGroup, QStringLiteral("USER"), QStringLiteral("qelstation"), ClientDefs::IniFile());
}

void remoteServer::Login()
{
    if (m_link.IsConnected()) {
        SendLogin();
        return;
    }
    m_bLoginPending = true;
    m_bClosing = false;
    m_link.Connect(CloudHost(), CloudPort());
}

void remoteServer::SendLogin()
{
    QString password;
    const QString user = Account(password);
    LoginQelvoSPacket login;
    login.SetData({user, password});
    m_bLoginSent = login.Send();
    if (!m_bLoginSent)
        emit sigLogin(false, QString());
}

void remoteServer::Close()
{
    m_bLoginPending = false;
    m_bLoginSent = false;
    m_bImageAsked = false;
    m_bClosing = true;
    EndPulls(QString());
    m_link.CloseClient();
}

bool remoteServer::GetOfflineImage(const QString &user, const QString &imageName)
{
    GetOfflineIMGReqPacket request;
    request.SetData({user, imageName});
    m_bImageAsked = request.Send();
    return m_bImageAsked;
}

bool remoteServer::PullFile(const QString &name, QString &reason)
{
    if (!m_link.IsConnected() || !m_pull.Start(name, reason))
        return false;
    PullFileDataPacket request;
    request.SetData({name, 0});
    return request.Send();
}

void remoteServer::OnConnState(bool connected, bool wasConnected)
{
    emit sigConnState(connected);
    if (connected) {
        if (m_bLoginPending) {
            m_bLoginPending = false;
            SendLogin();
        }
        return;
    }
    // A failed attempt, or a connection that went.
    if (m_bLoginPending || m_bLoginSent) {
        m_bLoginPending = false;
        m_bLoginSent = false;
        if (!m_bClosing)
            emit sigLogin(false, QString());
    }
    m_bImageAsked = false;
    if (wasConnected && !m_bClosing)
        EndPulls(tr("云端服务器已断开"));
}

void remoteServer::EndPulls(const QString &reason)
{
    const QStringList names = m_pull.Abort();
    if (reason.isEmpty())
        return;
    for (const QString &name : names)
        emit sigPullFailed(name, reason);
}

void remoteServer::HandleLoginResp(const qelmsg::LoginResp &answer)
{
    if (!m_bLoginSent)
        return; // nobody asked
    m_bLoginSent = false;
    emit sigLogin(answer.ret, answer.reason);
}

void remoteServer::HandleGetOfflineImgResp(const qelmsg::GetOfflineImgResp &answer)
{
    if (!m_bImageAsked)
        return;
    m_bImageAsked = false;
    emit sigOfflineImage(answer);
}

void remoteServer::HandlePullFileDataResp(const qelmsg::PullFileDataResp &answer)
{
    const CCloudPull::Result r = m_pull.Accept(answer);
    switch (r.step) {
    case CCloudPull::Ignored:
        break;
    case CCloudPull::Next: {
        PullFileDataPacket request;
        request.SetData({answer.name, r.nextOffset});
        if (!request.Send()) {
            m_pull.Abort();
            emit sigPullFailed(answer.name, tr("云端服务器已断开"));
        }
        break;
    }
    case CCloudPull::Done:
        emit sigPullDone(answer.name, r.path);
        break;
    case CCloudPull::Failed:
        emit sigPullFailed(answer.name, r.reason);
        break;
    }
}
