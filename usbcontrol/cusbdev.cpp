#include "cusbdev.h"

CUsbDev::~CUsbDev() = default;

QString CUsbDev::name() const { return QString(); }

QString CUsbDev::FolderIdOf(const QString &name)
{
    QString id;
    id.reserve(name.size());
    for (const QChar c : name) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_') || c == QLatin1Char('-')
            || c == QLatin1Char('.');
        id.append(plain ? c : QLatin1Char('_'));
    }
    // "." and ".." are folders of their own.
    if (!id.isEmpty() && id.count(QLatin1Char('.')) == id.size())
        id.replace(QLatin1Char('.'), QLatin1Char('_'));
    return id;
}
