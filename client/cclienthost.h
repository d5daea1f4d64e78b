#pragma once
// The client as the links and the received messages see it: log lines go to
// the remote page, a server station's questions are answered from the current
// programmer, pushed files are joined and loaded into it. Link callbacks reach
// this object on the GUI thread.
#include "cstationprogers.h"

#include <cmainhost.h>

#include <packets.h>

#include <QCoreApplication>
#include <QMap>

#include <memory>

#include <functional>

class remoteServer;

class CClientHost : public CMainHost
{
    Q_DECLARE_TR_FUNCTIONS(CClientHost)
public:
    // progers: the page's list, which outlives the host.
    explicit CClientHost(const CStationProgers *progers);
    ~CClientHost() override;

    void Log(const QString &text) override;
    bool GetSelectedProger(ProgerInfo &info) override;
    bool ReadProgerImages(QList<ImageInfo> &images) override;
    bool ReadProgerConfig(QMap<QString, QString> &config) override;
    bool ClearProgerImage(const QString &name) override;
    void OnFileContent(const RecvPacket &request, const qelmsg::FileContent &msg, const QByteArray &data) override;
    // Control frames of the station's HID and VCP programmers.
    void OnUsbFrame(const QByteArray &frame, const QString &key) override;
    // The verdict of a file a HID or VCP programmer was sent: a pushed file's
    // "file-download" answer goes out now.
    void OnUsbFileResult(const QString &key, const QString &name, bool ok);

    // The page's busy box while a pushed file arrives (true shows it).
    std::function<void(bool)> m_onBusy;
    // A connection went on or off: the page's buttons follow it.
    std::function<void(CRemoteKey::Kind, bool)> m_onState;
    void ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &text) override;

    // The cloud connection of the offline-image fetch (null: none); not owned.
    void SetCloud(remoteServer *cloud);
    void OnLoginResp(const qelmsg::LoginResp &msg) override;
    void OnGetOfflineImgResp(const qelmsg::GetOfflineImgResp &msg) override;
    void OnPullFileDataResp(const qelmsg::PullFileDataResp &msg) override;

private:
    // Loads a received file into the programmer by its kind; the reason on failure.
    bool LoadReceived(const QString &path, const QString &name, int imageIndex, QString &err);
    void Busy(bool on);

    const CStationProgers *m_pProgers;
    remoteServer *m_pCloud = nullptr;
    // "file-download" answers waiting for a HID or VCP programmer (one file at a
    // time each), by its key: the answer and the pushed file's name.
    QMap<QString, QPair<std::shared_ptr<FileDownloadPacket>, QString>> m_pendingDownloads;
};
