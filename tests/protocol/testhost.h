#pragma once
// The program side for protocol tests: records every call the links and
// messages make and answers the client's questions from fields the test sets.
#include <cmainhost.h>
#include <packet.h>

#include <progerinfo.h>

#include <QStringList>

class TestHost : public CMainHost
{
public:
    TestHost() { CMainHost::SetInstance(this); }
    ~TestHost() override { CMainHost::SetInstance(nullptr); }

    void Log(const QString &text) override { logs.append(text); }
    bool Logged(const QString &part) const
    {
        for (const QString &line : logs) {
            if (line.contains(part))
                return true;
        }
        return false;
    }

    void OnUsbFrame(const QByteArray &frame, const QString &key) override { frames.append({key, frame}); }
    void AddRemoteProger(const CRemoteKey &key) override { added.append(key); }
    void RemoveRemoteProger(const CRemoteKey &key) override { removed.append(key); }
    void ShowServiceState(CRemoteKey::Kind kind, bool on, const QString &text) override
    {
        states.append({kind, on, text});
    }

    void UpdateRemoteProger(const CRemoteKey &key, const qelmsg::ProgResponse &info) override
    {
        updated.append({key, info});
    }
    void ShowRemoteImages(const CRemoteKey &key, const QList<ImageInfo> &list) override
    {
        imagesKey = key;
        images = list;
    }
    void ShowRemoteConfig(const CRemoteKey &key, const QMap<QString, QString> &map) override
    {
        configKey = key;
        config = map;
    }
    void RefreshRemoteImages(const CRemoteKey &key) override { refreshed.append(key); }
    void ShowBusy(const QString &text) override { busy.append(text); }
    void CloseBusy() override { ++busyClosed; }

    QList<QEL_PROTO_NS::WaitCmd *> *WaitList(const QString &serial) override
    {
        return serial == waitSerial ? &waits : nullptr;
    }
    void AddProgerFiles(const QString &serial, const QList<qelmsg::FilePoint> &list) override
    {
        filesSerial = serial;
        files.append(list);
    }
    void SetTransferProgress(const QString &serial, int percent) override { progress.append({serial, percent}); }

    bool GetSelectedProger(ProgerInfo &info) override
    {
        if (!hasProger)
            return false;
        info = proger;
        return true;
    }
    bool ReadProgerImages(QList<ImageInfo> &list) override
    {
        list = localImages;
        return true;
    }
    bool ReadProgerConfig(QMap<QString, QString> &map) override
    {
        map = localConfig;
        return true;
    }
    bool ClearProgerImage(const QString &name) override
    {
        cleared.append(name);
        return clearResult;
    }
    void OnFileContent(const QEL_PROTO_NS::RecvPacket &, const qelmsg::FileContent &msg, const QByteArray &data) override
    {
        chunks.append({msg, data});
    }
    void OnPullFileDataResp(const qelmsg::PullFileDataResp &msg) override { pulls.append(msg); }
    void OnUploadFileResp(const qelmsg::UploadFileResp &msg) override { uploads.append(msg); }
    void OnLoginResp(const qelmsg::LoginResp &msg) override { logins.append(msg); }
    void OnGetOfflineImgResp(const qelmsg::GetOfflineImgResp &msg) override { offline.append(msg); }

    struct State
    {
        CRemoteKey::Kind kind;
        bool on;
        QString text;
    };
    struct Update
    {
        CRemoteKey key;
        qelmsg::ProgResponse info;
    };
    struct Chunk
    {
        qelmsg::FileContent msg;
        QByteArray data;
    };

    QStringList logs;
    QList<QPair<QString, QByteArray>> frames;
    QList<CRemoteKey> added;
    QList<CRemoteKey> removed;
    QList<State> states;
    QList<Update> updated;
    CRemoteKey imagesKey;
    QList<ImageInfo> images;
    CRemoteKey configKey;
    QMap<QString, QString> config;
    QList<CRemoteKey> refreshed;
    QStringList busy;
    int busyClosed = 0;
    QString waitSerial;
    QList<QEL_PROTO_NS::WaitCmd *> waits;
    QString filesSerial;
    QList<qelmsg::FilePoint> files;
    QList<QPair<QString, int>> progress;

    bool hasProger = false;
    ProgerInfo proger;
    QList<ImageInfo> localImages;
    QMap<QString, QString> localConfig;
    QStringList cleared;
    bool clearResult = true;
    QList<Chunk> chunks;
    QList<qelmsg::PullFileDataResp> pulls;
    QList<qelmsg::UploadFileResp> uploads;
    QList<qelmsg::LoginResp> logins;
    QList<qelmsg::GetOfflineImgResp> offline;
};
