#include "cusbimageattr.h"

#include <csafefile.h>
#include <functool.h>

#include "usblog.h"

#include <QDebug>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>

bool CUsbImageAttr::ParseLine(const QString &line, CUsbImageAttr &attr)
{
    // The name runs to the last "=", so a name may hold one itself.
    static const QRegularExpression re(QStringLiteral("^(.+)=(-?\\d+)-(\\d+)$"));
    const QRegularExpressionMatch m = re.match(line.trimmed());
    if (!m.hasMatch())
        return false;
    bool okA = false;
    bool okB = false;
    const int a = m.captured(2).toInt(&okA);
    const quint32 b = m.captured(3).toUInt(&okB);
    if (!okA || !okB)
        return false;
    attr.m_strName = m.captured(1);
    attr.m_nA = a;
    attr.m_nB = b;
    return true;
}

QList<CUsbImageAttr> CUsbImageAttr::ReadFile(const QString &path, bool *ok)
{
    QList<CUsbImageAttr> list;
    QFile file;
    QString err;
    if (!CSafeFile::OpenRead(file, path, QString(), err)) {
        qCDebug(lcUsbControl) << "ReadImgAttrFile" << err;
        if (ok)
            *ok = false;
        return list;
    }
    const QByteArray bytes = file.readAll();
    // Programmers write UTF-8 or, like their image index, GBK.
    QTextCodec::ConverterState state;
    QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0)
        text = FuncTool::GBK2UTF8(bytes);
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        CUsbImageAttr attr;
        if (ParseLine(line, attr))
            list.append(attr);
    }
    if (ok)
        *ok = true;
    return list;
}
