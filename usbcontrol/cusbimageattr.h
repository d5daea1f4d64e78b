#pragma once
// One line of a programmer's "image_attr.dat": name "=" int "-" unsigned.
#include <QList>
#include <QString>

struct CUsbImageAttr
{
    QString m_strName;
    int m_nA = 0;
    quint32 m_nB = 0;

    // False for a line that is not name=a-b.
    static bool ParseLine(const QString &line, CUsbImageAttr &attr);
    // Every well-formed line; ok is false when the file cannot be opened.
    static QList<CUsbImageAttr> ReadFile(const QString &path, bool *ok = nullptr);
};
