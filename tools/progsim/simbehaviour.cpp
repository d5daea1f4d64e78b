#include "simbehaviour.h"

#include <cctype>

#include <QStringList>

quint8 SimBehaviour::ResultOf(int run) const
{
    if (nFailEvery > 0 && run % nFailEvery == 0)
        return nFailCode;
    if (results.isEmpty())
        return 0;
    return results.at((run - 1) % results.size());
}

bool SimBehaviour::ParseNumber(const QString &text, quint32 max, quint32 &value)
{
    QString digits = text.trimmed();
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    // toULongLong takes a sign or blanks; a number here is digits only.
    for (const QChar c : digits) {
        if (!(base == 16 ? c.isDigit() || QStringLiteral("abcdefABCDEF").contains(c) : c.isDigit()))
            return false;
    }
    bool ok = false;
    const qulonglong n = digits.toULongLong(&ok, base);
    if (!ok || n > max)
        return false;
    value = quint32(n);
    return true;
}

bool SimBehaviour::ParseCodes(const QString &text, QVector<quint8> &codes)
{
    QVector<quint8> list;
    for (const QString &part : text.split(QLatin1Char(','))) {
        quint32 code = 0;
        if (!ParseNumber(part, 0xFF, code))
            return false;
        list.append(quint8(code));
    }
    codes = list;
    return !codes.isEmpty();
}

bool SimBehaviour::ParseCounters(const QString &text, quint32 &pass, quint32 &fail)
{
    const QStringList parts = text.split(QLatin1Char('/'));
    return parts.size() == 2 && ParseNumber(parts.at(0), 0xFFFFFFFFu, pass)
        && ParseNumber(parts.at(1), 0xFFFFFFFFu, fail);
}

bool SimBehaviour::ParseFlashData(const QString &text, quint32 &addr, QByteArray &bytes)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon <= 0 || !ParseNumber(text.left(colon), 0xFFFFFFFFu, addr))
        return false;
    const QByteArray hex = text.mid(colon + 1).toLatin1();
    if (hex.isEmpty() || hex.size() % 2 != 0)
        return false;
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    bytes = QByteArray::fromHex(hex);
    return true;
}
