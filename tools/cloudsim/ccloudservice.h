#pragma once
// The cloud service's answers: one request text in, at most one answer text
// out. Requests that are not JSON objects, carry an unknown "cmd" or name
// files badly are logged and dropped; nothing is written outside the store.
#include "ccloudstore.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>

#include <functional>

// What the service remembers of one connection.
struct CCloudSession
{
    QString strPeer;                   // "address:port", for the log
    QString strUser;                   // after a good "login"
    QSet<QString> granted;             // offline images this connection may pull
    QHash<QString, QByteArray> pulls;  // name -> the bytes being pulled
};

class CCloudService
{
public:
    using Logger = std::function<void(const QString &text)>;

    struct Options
    {
        int nPullChunk = 32768;  // bytes per "pull-filedata-resp"
        qint64 nUploadKeep = 0;  // most bytes kept of one upload chunk (0 = all)
        qint64 nClockOffset = 0; // seconds added to the clock
    };
    // A stored file larger than this is refused.
    static constexpr qint64 kMaxFileSize = qint64(64) * 1024 * 1024;

    CCloudService(CCloudStore &store, const Options &options, Logger log);

    // The answer to text, or empty when there is none.
    QByteArray Handle(CCloudSession &session, const QByteArray &text);
    qint64 Now() const;

private:
    QJsonObject Login(CCloudSession &s, const QJsonObject &o);
    QJsonObject UploadRecord(CCloudSession &s, const QJsonObject &o);
    QJsonObject ReadRecord(CCloudSession &s, const QJsonObject &o);
    QJsonObject PullFile(CCloudSession &s, const QJsonObject &o);
    QJsonObject AppendRecord(CCloudSession &s, const QJsonObject &o);
    QJsonObject UploadFile(CCloudSession &s, const QJsonObject &o);
    QJsonObject FindDBLogin(CCloudSession &s, const QJsonObject &o);
    QJsonObject UserImages(CCloudSession &s, const QJsonObject &o);
    QJsonObject UpdateImageRecord(CCloudSession &s, const QJsonObject &o);
    QJsonObject DeleteImage(CCloudSession &s, const QJsonObject &o);
    QJsonObject ShareImage(CCloudSession &s, const QJsonObject &o);
    QJsonObject GetOfflineImage(CCloudSession &s, const QJsonObject &o);

    CCloudStore &m_store;
    Options m_options;
    Logger m_log;
};
