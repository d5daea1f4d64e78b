#pragma once
// The program as the links and the received messages see it ("the main
// window"): it logs, dispatches received text, keeps the remote programmers and
// shows what the messages bring. The program installs one object of a subclass;
// until then a default that only writes debug output stands in.
#include "cremotekey.h"
#include "messages.h"
#include "protocolside.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class ProgerInfo;
struct ImageInfo;
class CLinkTcpS;
class CLinkTcpC;
class CLinkMQTT;
class CLinkNsq;
class CLinkHid;

QEL_PROTO_NS_BEGIN
class RecvPacket;
class WaitCmd;
QEL_PROTO_NS_END

// The links messages go out on; set by the program, not owned.
struct CLinkSet
{
    CLinkTcpS *pTcpServer = nullptr;  // server: client stations
    CLinkTcpC *pTcpStation = nullptr; // client: the server station
    CLinkTcpC *pCloud = nullptr;      // the cloud service
    CLinkMQTT *pMqtt = nullptr;
    CLinkNsq *pNsq = nullptr;
    CLinkHid *pHid = nullptr;
};

class CMainHost
{
public:
    CMainHost() = default;
    virtual ~CMainHost();
    CMainHost(const CMainHost &) = delete;
    CMainHost &operator=(const CMainHost &) = delete;

    // The installed host, or the default one; never null.
    static CMainHost *Instance();
    // Installs host (null returns to the default); the caller keeps ownership.
    static void SetInstance(CMainHost *host);

    CLinkSet m_links;

    // ---- received text: log, parse, stamp the origin, handle, delete
    void DispatchTcp(const QByteArray &text, const QString &ip, int port);
    void DispatchCloud(const QByteArray &text, const QString &ip, int port);
    void DispatchTopic(CRemoteKey::Kind via, const QString &topic, const QByteArray &text);
    void DispatchHid(const QByteArray &text, const QString &key);

    // ---- links
    // One line for the log view; may be called from any thread.
    virtual void Log(const QString &text);
    // A control frame from a HID or VCP programmer, for the USB programmer manager.
    virtual void OnUsbFrame(const QByteArray &frame, const QString &key);
    virtual void AddRemoteProger(const CRemoteKey &key);
    virtual void RemoveRemoteProger(const CRemoteKey &key);
    // A remote service or connection went on or off (TCP, MQTT, NSQ); text is
    // the UID or "address:port".
    virtual void ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &text);

    // ---- server: answers of client stations
    virtual void UpdateRemoteProger(const CRemoteKey &key, const qelmsg::ProgResponse &info);
    virtual void ShowRemoteImages(const CRemoteKey &key, const QList<ImageInfo> &images);
    virtual void ShowRemoteConfig(const CRemoteKey &key, const QMap<QString, QString> &config);
    virtual void RefreshRemoteImages(const CRemoteKey &key);
    virtual void ShowBusy(const QString &text);
    virtual void CloseBusy();
    // The station has loaded a file it was sent onto its programmer, or failed to.
    virtual void OnFileLoaded(const CRemoteKey &key, const QString &name, bool ok);

    // ---- server: programmers in HID mode, by device key
    // The requests awaiting answers of that programmer, or null.
    virtual QList<QEL_PROTO_NS::WaitCmd *> *WaitList(const QString &serial);
    virtual void AddProgerFiles(const QString &serial, const QList<qelmsg::FilePoint> &files);
    virtual void SetTransferProgress(const QString &serial, int percent);

    // ---- client: the local programmer a server station works on
    virtual bool GetSelectedProger(ProgerInfo &info);
    virtual bool ReadProgerImages(QList<ImageInfo> &images);
    virtual bool ReadProgerConfig(QMap<QString, QString> &config);
    virtual bool ClearProgerImage(const QString &name);
    // One chunk of a pushed file (name already checked); answer with request.RouteReply.
    virtual void OnFileContent(const QEL_PROTO_NS::RecvPacket &request, const qelmsg::FileContent &msg,
                               const QByteArray &data);

    // ---- cloud answers (names already checked where they name a file)
    virtual void OnLoginResp(const qelmsg::LoginResp &msg);
    virtual void OnReadRecordResp(const qelmsg::ReadRecordResp &msg);
    virtual void OnPullFileDataResp(const qelmsg::PullFileDataResp &msg);
    virtual void OnRecordAppendResp(const qelmsg::RecordAppendResp &msg);
    virtual void OnUploadFileResp(const qelmsg::UploadFileResp &msg);
    virtual void OnFindDBLoginResp(const qelmsg::FindDBLoginResp &msg);
    virtual void OnGetUserOIIResp(const qelmsg::GetUserOIIResp &msg);
    virtual void OnUpdateIMGRecResp(const qelmsg::UpdateIMGRecResp &msg);
    virtual void OnDeleteIMGResp(const qelmsg::DeleteIMGResp &msg);
    virtual void OnShareIMGResp(const qelmsg::ShareIMGResp &msg);
    virtual void OnGetOfflineImgResp(const qelmsg::GetOfflineImgResp &msg);

private:
    // fromCloud: the text came by the cloud connection; the cloud's answers come by no other.
    void Handle(QEL_PROTO_NS::RecvPacket *packet, bool fromCloud = false);
};
