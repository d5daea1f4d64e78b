#include "ccliout.h"

#include <QJsonDocument>

#include <cstdio>

void CCliOut::Line(const QString &text) const
{
    if (m_bJson)
        return;
    const QByteArray bytes = text.toLocal8Bit() + '\n';
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

void CCliOut::Document(const QJsonObject &doc) const
{
    if (!m_bJson)
        return;
    const QByteArray bytes = QJsonDocument(doc).toJson(QJsonDocument::Indented);
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    fflush(stdout);
}

void CCliOut::Error(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes = QByteArrayLiteral("qelctl: ") + line.toLocal8Bit() + '\n';
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    fflush(stderr);
}
