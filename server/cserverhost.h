#pragma once
// The server as the links and the received messages see it: log lines,
// remote programmers and what their stations answer go to the main window.
// Calls may come from link threads; everything reaches the window on its own
// thread.
#include "cmainhost.h"
#include "myproger.h"

#include <QPointer>

class MainWindow;
class remoteServer;

class CServerHost : public CMainHost
{
public:
    explicit CServerHost(MainWindow *window);
    ~CServerHost() override;

    static MyProger ProgerOf(const CRemoteKey &key);

    void Log(const QString &text) override;
    // Control frames of HID and VCP programmers go to the USB console.
    void OnUsbFrame(const QByteArray &frame, const QString &key) override;
    void AddRemoteProger(const CRemoteKey &key) override;
    void RemoveRemoteProger(const CRemoteKey &key) override;
    void ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &text) override;
    void UpdateRemoteProger(const CRemoteKey &key, const qelmsg::ProgResponse &info) override;
    void ShowRemoteImages(const CRemoteKey &key, const QList<ImageInfo> &images) override;
    void ShowRemoteConfig(const CRemoteKey &key, const QMap<QString, QString> &config) override;
    void RefreshRemoteImages(const CRemoteKey &key) override;
    void OnFileLoaded(const CRemoteKey &key, const QString &name, bool ok) override;

    // Cloud answers go to this cloud client (the window's by default); it
    // also becomes the link cloud requests go out on.
    void SetCloud(remoteServer *cloud);
    void OnLoginResp(const qelmsg::LoginResp &msg) override;
    void OnReadRecordResp(const qelmsg::ReadRecordResp &msg) override;
    void OnPullFileDataResp(const qelmsg::PullFileDataResp &msg) override;
    void OnRecordAppendResp(const qelmsg::RecordAppendResp &msg) override;
    void OnUploadFileResp(const qelmsg::UploadFileResp &msg) override;
    void OnFindDBLoginResp(const qelmsg::FindDBLoginResp &msg) override;
    void OnGetUserOIIResp(const qelmsg::GetUserOIIResp &msg) override;
    void OnUpdateIMGRecResp(const qelmsg::UpdateIMGRecResp &msg) override;
    void OnDeleteIMGResp(const qelmsg::DeleteIMGResp &msg) override;
    void OnShareIMGResp(const qelmsg::ShareIMGResp &msg) override;

private:
    // Runs f on the window's thread (at once when already there).
    template <typename F> void OnWindow(F f);

    QPointer<MainWindow> m_pWindow;
    QPointer<remoteServer> m_pCloud;
};
