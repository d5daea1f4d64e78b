#pragma once
// The station's connection to the cloud service, for offline images only: it
// logs in with the station's account, asks for a shared image and pulls it
// into the working folder piece by piece.
#include <ccloudpull.h>
#include <clinktcpc.h>
#include <messages.h>

#include <QObject>

#include <functional>

class remoteServer : public QObject
{
    Q_OBJECT
public:
    explicit remoteServer(QObject *parent = nullptr);
    ~remoteServer() override;

    // Endpoint and account: group "CLOUD" of the client's INI, keys HOST
    // (127.0.0.1), PORT (61690), USER and PASSWORD.
    static QString CloudHost();
    static int CloudPort();
    static QString Account(QString &password);

    CLinkTcpC *Link() { return &m_link; }
    bool IsConnected() const { return m_link.IsConnected(); }

    // Connects when needed, then sends "login"; the outcome comes as sigLogin.
    void Login();
    // Closes the connection; a running pull ends and its partial file goes.
    void Close();
    // "get-offline-img-req"; false when not connected.
    bool GetOfflineImage(const QString &user, const QString &imageName);
    // Pulls name from offset 0 into the working folder; false with the reason.
    bool PullFile(const QString &name, QString &reason);

    // ---- answers, as the host receives them
    void HandleLoginResp(const qelmsg::LoginResp &answer);
    void HandleGetOfflineImgResp(const qelmsg::GetOfflineImgResp &answer);
    void HandlePullFileDataResp(const qelmsg::PullFileDataResp &answer);

signals:
    void sigLogin(bool ok, const QString &reason);
    void sigOfflineImage(const qelmsg::GetOfflineImgResp &answer);
    void sigPullDone(const QString &name, const QString &path);
    void sigPullFailed(const QString &name, const QString &reason);
    void sigConnState(bool connected);

private:
    void OnConnState(bool connected, bool wasConnected);
    void SendLogin();
    void EndPulls(const QString &reason);

    CCloudLink m_link;
    CCloudPull m_pull;
    bool m_bLoginPending = false; // connecting in order to log in
    bool m_bLoginSent = false;    // "loginResp" awaited
    bool m_bImageAsked = false;   // "get-offline-img-resp" awaited
    bool m_bClosing = false;
};
