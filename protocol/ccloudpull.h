#pragma once
// Files pulled from the cloud service in pieces ("pull-filedata"), written into
// one folder. Only answers for names asked for are taken, each piece must
// start where the local file ends, and a pull that fails leaves no partial file.
#include "messages.h"

#include <QMap>
#include <QString>
#include <QStringList>

class CCloudPull
{
public:
    // A pulled file larger than this is refused (a service cannot fill the disk).
    static constexpr qint64 kMaxFileSize = qint64(256) * 1024 * 1024;

    enum Step {
        Ignored, // no pull of that name is running
        Next,    // ask for the piece at nextOffset
        Done,    // the file is complete at path
        Failed,  // the pull ended: reason; the local file is gone
    };
    struct Result
    {
        Step step = Ignored;
        qint64 nextOffset = 0;
        QString path;
        QString reason;
    };

    explicit CCloudPull(const QString &folder) : m_strFolder(folder) {}

    // Starts (or restarts) the pull of name from offset 0: the local copy is
    // deleted first. False with the reason for a name that is not a plain file
    // name or a local copy that cannot be replaced.
    bool Start(const QString &name, QString &reason);
    Result Accept(const qelmsg::PullFileDataResp &answer);
    bool IsPulling(const QString &name) const { return m_written.contains(name); }
    // Every running pull ends (the connection went); partial files are removed.
    QStringList Abort();

private:
    Result Fail(const QString &name, const QString &path, const QString &reason);

    QString m_strFolder;
    QMap<QString, qint64> m_written; // name -> bytes in the local file
};
