#pragma once
// Files sent to the cloud service in chunks ("upload-file-req"): at most 32768
// bytes each, and each answer says from which offset to go on.
#include "messages.h"

#include <QCoreApplication>
#include <QMap>
#include <QPair>
#include <QString>

class CCloudUpload
{
    Q_DECLARE_TR_FUNCTIONS(CCloudUpload)

public:
    static constexpr int kChunk = 32768;
    // Answers in a row that bring the service no further end the upload.
    static constexpr int kMaxStalls = 3;

    enum Step {
        Ignored, // no upload of that file is running
        Send,    // send request
        Done,    // the service holds the whole file
        Failed,  // the upload ended: reason
    };
    struct Result
    {
        Step step = Ignored;
        qelmsg::UploadFileReq request;
        int percent = 0;
        QString reason;
    };

    // The chunk of path at offset, or Failed with the reason.
    static Result Chunk(const QString &uid, const QString &path, qint64 offset);

    // The first chunk; the upload is then known by its file name and uid.
    Result Start(const QString &uid, const QString &path);
    Result Accept(const qelmsg::UploadFileResp &answer);
    // Every running upload ends (the connection went); their uid and name.
    QList<QPair<QString, QString>> Abort();

private:
    struct Item
    {
        QString uid;
        QString path;
        qint64 furthest = 0;
        int stalls = 0;
    };
    static QString Key(const QString &uid, const QString &name) { return uid + QLatin1Char('\n') + name; }

    QMap<QString, Item> m_items;
};
