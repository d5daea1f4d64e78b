#include "moduleid.h"

QString ModuleName(int id)
{
    switch (id) {
    case Mod_Qel720AServer:
        return QStringLiteral("qel720A_server");
    case Mod_Qel720AClient:
        return QStringLiteral("qel720A_client");
    case Mod_Qel720A:
        return QStringLiteral("qel720A");
    default:
        break;
    }
    if (id < 0 || id >= ModuleCount)
        return QStringLiteral("Unknown module");
    return QStringLiteral("qelmod_%1").arg(id, 2, 10, QLatin1Char('0'));
}
