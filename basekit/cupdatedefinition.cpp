#include "cupdatedefinition.h"

#include "functool.h"

#include <QJsonDocument>
#include <QJsonObject>

bool CUpdateDefinition::Parse(const QByteArray &json, QString &reason)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        reason = error.error != QJsonParseError::NoError ? error.errorString() : QStringLiteral("not an object");
        return false;
    }
    const QJsonObject updates = doc.object().value(QLatin1String("updates")).toObject();
    QJsonObject entry = updates.value(QLatin1String("linux")).toObject();
    if (entry.isEmpty())
        entry = updates.value(QLatin1String("windows")).toObject();
    strOpenUrl = entry.value(QLatin1String("open-url")).toString();
    strChangelog = entry.value(QLatin1String("changelog")).toString();
    strDownloadUrl = entry.value(QLatin1String("download-url")).toString();
    strLatest = entry.value(QLatin1String("latest-version")).toString().trimmed();
    strMd5 = entry.value(QLatin1String("latest-md5")).toString().trimmed().toLower();
    bMandatory = entry.value(QLatin1String("mandatory-update")).toBool();
    return true;
}

bool CUpdateDefinition::IsNewer(const QString &latest, const QString &current)
{
    return FuncTool::CompareVer(latest, current) > 0;
}
