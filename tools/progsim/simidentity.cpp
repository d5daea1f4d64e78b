#include "simidentity.h"

#include <QRegularExpression>

bool SimIdentity::IsValidID(const QString &id)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{24}$"));
    return hex.match(id).hasMatch();
}

bool SimIdentity::Check(QString &err) const
{
    if (!IsValidID(strID)) {
        err = QStringLiteral("--id needs 24 hexadecimal digits, got \"%1\"").arg(strID);
        return false;
    }
    // Values end at the line end and must not break the key=value lines.
    for (const QString *value : {&strModel, &strVer, &strHW}) {
        if (value->isEmpty() || value->contains(QLatin1Char('=')) || value->contains(QLatin1Char('\n'))
            || value->contains(QLatin1Char('\r'))) {
            err = QStringLiteral("model, version and hardware must be non-empty words without '=' or line breaks");
            return false;
        }
    }
    return true;
}

QByteArray SimIdentity::FileText() const
{
    return QStringLiteral("ID=%1\r\nVER=%2\r\nHW=%3\r\nMODEL=%4\r\n").arg(strID, strVer, strHW, strModel).toUtf8();
}
