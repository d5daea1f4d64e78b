#include "serverdefs.h"

#include "functool.h"

#include <QDir>

QString ServerDefs::WorkDir()
{
    const QString dir = FuncTool::GetQELDir() + QStringLiteral("qel720A_server/");
    QDir().mkpath(dir);
    return dir;
}
