#include "zelldir.h"

#include <QDir>
#include <QFileInfo>

bool ZellDir::MKDir(const QString &path)
{
    if (path.isEmpty())
        return false;
    QDir().mkpath(path);
    return QFileInfo(path).isDir();
}
