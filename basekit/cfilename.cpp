#include "cfilename.h"

#include <QDir>
#include <QFileInfo>

bool CFileName::IsPlain(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxLength || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool CFileName::InFolder(const QString &folder, const QString &name, QString &path)
{
    path.clear();
    if (!IsPlain(name) || folder.isEmpty())
        return false;
    const QString dir = QDir::cleanPath(QDir(folder).absolutePath());
    const QString candidate = QDir::cleanPath(dir + QLatin1Char('/') + name);
    if (QFileInfo(candidate).absolutePath() != dir)
        return false;
    path = candidate;
    return true;
}
