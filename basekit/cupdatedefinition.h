#pragma once
// The update definition a program's releases are described by: JSON with
// "updates" -> "linux" (else "windows") -> the entry below.
#include "basekit_global.h"

#include <QByteArray>
#include <QString>

struct BASEKIT_EXPORT CUpdateDefinition
{
    QString strOpenUrl;   // "open-url": a page to open instead of downloading
    QString strChangelog; // "changelog"
    QString strDownloadUrl; // "download-url"
    QString strLatest;    // "latest-version"
    QString strMd5;       // "latest-md5", optional
    bool bMandatory = false; // "mandatory-update", optional

    // False with reason when json is not a JSON object; missing members read empty.
    bool Parse(const QByteArray &json, QString &reason);
    // Whether latest is a newer version than current ("v", "V" and ":" ignored,
    // parts compared as numbers, equal parts: the longer one is newer).
    static bool IsNewer(const QString &latest, const QString &current);
};
