#include "clientdefs.h"

#include <functool.h>

#include <QDir>

QString ClientDefs::WorkDir()
{
    const QString dir = FuncTool::GetQELDir() + QStringLiteral("qel720A_client/");
    QDir().mkpath(dir);
    return dir;
}
