#pragma once
// The server's connection to the cloud service. It connects on first use to
// the configured endpoint, sends the cloud requests only while connected,
// and hands every answer to whoever waits for it through one signal per
// answer. Pulled files go into the working folder; uploads go on chunk after
// chunk as the service answers.
#include "ccloudpull.h"
#include "ccloudupload.h"
#include "clinktcpc.h"
#include "messages.h"

#include <QMap>
#include <QObject>

#include <functional>

class remoteServer : public QObject
{
    Q_OBJECT
public:
    // Requests made while a connection is being made wait for it, up to this many.
    static constexpr int kMaxPending = 64;

    explicit remoteServer(QObject *parent = nullptr);
    ~remoteServer() override;

    // Endpoint: group "CLOUD" of the server's per-user INI, "HOST" (or the
    // first fallback address that answers) and "PORT".
    static QString CloudHost();
    static int CloudPort();

    // Starts connecting unless connected or connecting.
    void Connect();
    bool IsConnected() const { return m_link.IsConnected(); }
    CLinkTcpC *Link() { return &m_link; }

    // Each sends one request: at once while connected; otherwise it waits
    // while a connection is made and is dropped with a log line if that fails.
    void Login(const QString &user, const QString &password);
    void UploadRecord(const qelmsg::UploadRecord &record);
    void ReadRecords(const QString &user);
    void FindDBLogin(const QString &table, const QString &user, const QString &password);
    void AppendRecord(const qelmsg::RecordAppend &record);
    void GetUserImages(const QString &user);
    void DeleteImage(const QString &user, const QString &name, bool all);
    void ShareImage(const QString &user, const QString &name, int days, int count);
    void UpdateImageRecord(const QString &identity, const QString &name, const QString &crc2);
    // The whole file, from offset 0; false when its first chunk cannot be read.
    bool UploadFile(const QString &uid, const QString &path);
    // Into the working folder, from an empty local file; false for a name that
    // is not a plain file name.
    bool PullFile(const QString &name);

    // ---- answers, as the program's host receives them
    void HandleLoginResp(const qelmsg::LoginResp &answer);
    void HandleReadRecordResp(const qelmsg::ReadRecordResp &answer);
    void HandlePullFileDataResp(const qelmsg::PullFileDataResp &answer);
    void HandleRecordAppendResp(const qelmsg::RecordAppendResp &answer);
    void HandleUploadFileResp(const qelmsg::UploadFileResp &answer);
    void HandleFindDBLoginResp(const qelmsg::FindDBLoginResp &answer);
    void HandleGetUserOIIResp(const qelmsg::GetUserOIIResp &answer);
    void HandleUpdateIMGRecResp(const qelmsg::UpdateIMGRecResp &answer);
    void HandleDeleteIMGResp(const qelmsg::DeleteIMGResp &answer);
    void HandleShareIMGResp(const qelmsg::ShareIMGResp &answer);

signals:
    void sigConnState(bool connected);
    // A request that never went out (the connection could not be made).
    void sigRequestDropped(const QString &cmd);

    void sigLoginResp(const qelmsg::LoginResp &answer);
    void sigReadRecordResp(const qelmsg::ReadRecordResp &answer);
    void sigRecordAppendResp(const qelmsg::RecordAppendResp &answer);
    void sigFindDBLoginResp(const qelmsg::FindDBLoginResp &answer);
    void sigGetUserOIIResp(const qelmsg::GetUserOIIResp &answer);
    void sigUpdateIMGRecResp(const qelmsg::UpdateIMGRecResp &answer);
    void sigDeleteIMGResp(const qelmsg::DeleteIMGResp &answer);
    // shareText is always filled on success.
    void sigShareIMGResp(const qelmsg::ShareIMGResp &answer);

    void sigUploadProgress(const QString &uid, const QString &name, int percent);
    void sigUploadDone(const QString &uid, const QString &name);
    void sigUploadFailed(const QString &uid, const QString &name, const QString &reason);

    void sigPullDone(const QString &name, const QString &path);
    void sigPullFailed(const QString &name, const QString &reason);
    // "ExFactory.sql" or "Repair.sql" complete: table "ExFactory" or "Repair".
    void sigDataBaseFile(const QString &table, const QString &path);

private:
    struct Pending
    {
        QString cmd;
        QByteArray text;
        QString answer;
    };

    template <class P> void Request(const typename P::Msg &data, const char *answer = nullptr);
    // Sends now, or keeps the request until the connection is up.
    void Queue(const Pending &request);
    void Send(const Pending &request);
    // True when an answer of that name was asked for; logs the others.
    bool TakeWaiting(const char *answer);
    // The answer to whoever asked for it, through signal.
    template <class M> void HandOn(const M &answer, void (remoteServer::*signal)(const M &));
    void OnConnState(bool connected, bool wasConnected);
    void EndTransfers(const QString &reason);
    void Log(const QString &text) const;

    CCloudLink m_link;
    bool m_bDialing = false;
    QList<Pending> m_pending;
    QMap<QString, int> m_waiting; // answer name -> requests sent
    CCloudPull m_pull;
    CCloudUpload m_upload;
};
