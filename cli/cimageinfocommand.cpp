#include "cimageinfocommand.h"

#include "cliexit.h"

#include <csafefile.h>
#include <imagebuilder.h>
#include <imagefile.h>

#include <QDateTime>
#include <QJsonObject>

void CImageInfoCommand::Setup(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The image file."));
    parser.addOption({QStringLiteral("id"), QStringLiteral("Programmer ID an encrypted image is bound to (24 hex digits)."),
                      QStringLiteral("id")});
}

int CImageInfoCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        CCliOut::Error(QStringLiteral("image info needs one image file"));
        return CliExit::Usage;
    }
    QByteArray image;
    QString readErr;
    // Only a regular file: a FIFO or a device would never end.
    if (!CSafeFile::ReadAll(args[0], QString(), image, readErr)) {
        CCliOut::Error(readErr);
        return CliExit::Usage;
    }
    const bool encrypted = CImageFile::IsEncrypted(image);
    const QString id = parser.value(QStringLiteral("id"));
    if (encrypted && id.isEmpty()) {
        CCliOut::Error(QStringLiteral("%1: the image is encrypted; --id names the programmer it is bound to").arg(args[0]));
        return CliExit::Usage;
    }
    CImageTrailer t;
    QString err;
    if (!CImageFile::Open(image, id, t, err)) {
        CCliOut::Error(QStringLiteral("%1: %2").arg(args[0], err));
        return CliExit::Usage;
    }
    const QString built = QDateTime::fromSecsSinceEpoch(t.m_nTime).toString(Qt::ISODate);
    QJsonObject doc{{QStringLiteral("file"), args[0]},
                    {QStringLiteral("size"), image.size()},
                    {QStringLiteral("programSize"), CImageFile::ProgramSize(image.size())},
                    {QStringLiteral("startAddress"), CImageBuilder::CRCText(t.m_nStartAddr)},
                    {QStringLiteral("crc"), CImageBuilder::CRCText(t.m_nCRC)},
                    {QStringLiteral("firstCrc"), CImageBuilder::CRCText(t.m_nFirstCRC)},
                    {QStringLiteral("sum"), CImageBuilder::CRCText(t.m_nSum)},
                    {QStringLiteral("sumOk"), true},
                    {QStringLiteral("limit"), qint64(t.m_nLimit)},
                    {QStringLiteral("version"), qint64(t.m_nVersion)},
                    {QStringLiteral("mcu"), CImageBuilder::ChipName(int(t.m_nChip))},
                    {QStringLiteral("built"), built},
                    {QStringLiteral("encrypted"), encrypted}};
    if (encrypted)
        doc[QStringLiteral("boundTo")] = id;
    out.Document(doc);
    for (auto it = doc.constBegin(); it != doc.constEnd(); ++it)
        out.Line(QStringLiteral("%1: %2").arg(it.key(), -13).arg(it.value().toVariant().toString()));
    return CliExit::Ok;
}
