#include "clogfile.h"

#include <csafefile.h>

#include <QFileInfo>

QString CLogFile::FileName(const QDateTime &time)
{
    return time.toString(QStringLiteral("yy-MM-dd-hh.mm.ss")) + QStringLiteral("_log.txt");
}

bool CLogFile::Save(const QString &folder, const QString &text, const QDateTime &time, QString &path)
{
    path = folder + FileName(time);
    if (!QFileInfo(folder).isDir())
        return false;
    QString err;
    return CSafeFile::Write(path, folder, text.toUtf8(), err);
}

QString CLogFile::Line(const QDateTime &time, const QString &text)
{
    return QStringLiteral("[%1] %2").arg(time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")), text);
}
