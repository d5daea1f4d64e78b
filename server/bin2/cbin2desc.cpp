#include "cbin2desc.h"

#include <csafefile.h>

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
const QString kRoot = QStringLiteral("qel-xiechang-xml");
const QString kParamDesc = QStringLiteral("param-desc");
const QString kValue = QStringLiteral("value");

QString RowName(int row)
{
    return QStringLiteral("参数%1").arg(row + 1);
}

int IntOf(const QStringRef &text, int fallback)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : fallback;
}
} // namespace

QString CBin2Desc::PathFor(const QString &bin2Path)
{
    QString path = bin2Path;
    path.chop(qMin(4, path.size()));
    return path + QStringLiteral(".xml");
}

CBin2Desc::ReadResult CBin2Desc::ReadFile(const QString &path, CBin2Params &params, CBin2Counts &counts, QString &err)
{
    params.Clear();
    counts = CBin2Counts();
    QByteArray xml;
    if (!CSafeFile::ReadAll(path, QString(), xml, err, kMaxFileSize))
        return NotOpened;
    return ReadText(xml, params, counts, err);
}

CBin2Desc::ReadResult CBin2Desc::ReadText(const QByteArray &xml, CBin2Params &params, CBin2Counts &counts, QString &err)
{
    params.Clear();
    counts = CBin2Counts();
    QXmlStreamReader reader(xml);
    bool inDesc = false;
    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef name = reader.name();
        const QXmlStreamAttributes attrs = reader.attributes();
        if (name == QLatin1String("data-format")) {
            params.SetFormatOnly(attrs.value(kValue) == QString::fromUtf8(CBin2Params::kHexText));
        } else if (name == QLatin1String("param-cnt")) {
            counts.nCount = qMax(0, IntOf(attrs.value(kValue), 0));
            params.SetCount(counts.nCount);
        } else if (name == QLatin1String("param-bytes")) {
            counts.nBytes = qMax(0, IntOf(attrs.value(kValue), 0));
        } else if (name == kParamDesc) {
            inDesc = true;
        } else if (inDesc && attrs.hasAttribute(QStringLiteral("desc")) && attrs.hasAttribute(QStringLiteral("no"))) {
            const int row = IntOf(attrs.value(QStringLiteral("no")), -1);
            if (row < 0 || row >= CBin2Params::kMaxParams)
                continue;
            CBin2Param &p = params.Row(row);
            p.strDesc = attrs.value(QStringLiteral("desc")).toString();
            p.nType = IntOf(attrs.value(QStringLiteral("dataType")), 0);
            if (p.nType < 0 || p.nType >= CBin2Params::kTypeCount)
                p.nType = 0;
            p.strValue = attrs.value(kValue).toString();
            p.strNotes = attrs.value(QStringLiteral("notes")).toString();
        }
    }
    if (reader.hasError()) {
        err = reader.errorString();
        return XmlError;
    }
    return Read;
}

QByteArray CBin2Desc::Format(const QString &bin2Path, const QString &addr, const CBin2Params &params)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(kRoot);
    const auto valueElement = [&w](const QString &name, const QString &value) {
        w.writeStartElement(name);
        w.writeAttribute(kValue, value);
        w.writeEndElement();
    };
    valueElement(QStringLiteral("bin2-path"), bin2Path);
    valueElement(QStringLiteral("bin2-addr"), QStringLiteral("0x") + addr);
    valueElement(QStringLiteral("data-format"),
                 QString::fromUtf8(params.IsHex() ? CBin2Params::kHexText : CBin2Params::kDecimalText));
    valueElement(QStringLiteral("param-cnt"), QString::number(params.Count()));
    valueElement(QStringLiteral("param-bytes"), QString::number(params.ByteCount()));
    w.writeStartElement(kParamDesc);
    for (int i = 0; i < params.Count(); ++i) {
        const CBin2Param &p = params.At(i);
        w.writeStartElement(RowName(i));
        w.writeAttribute(QStringLiteral("no"), QString::number(i));
        w.writeAttribute(QStringLiteral("desc"), p.strDesc);
        w.writeAttribute(QStringLiteral("dataType"), QString::number(p.nType));
        w.writeAttribute(kValue, p.strValue);
        w.writeAttribute(QStringLiteral("notes"), p.strNotes);
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}
