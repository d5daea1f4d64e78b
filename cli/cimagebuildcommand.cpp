#include "cimagebuildcommand.h"

#include "cliexit.h"

#include <hextool.h>
#include <imagebuilder.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {
bool ParseNumber(const QString &text, quint32 &value)
{
    bool ok = false;
    value = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? text.mid(2).toUInt(&ok, 16) : text.toUInt(&ok, 10);
    return ok;
}

// "ADDR:FILE", or "FILE" for a HEX file at its own address.
bool ParseProgram(const QString &arg, CBinEntry &entry, QString &err)
{
    const int colon = arg.indexOf(QLatin1Char(':'));
    if (colon > 0 && ParseNumber(arg.left(colon), entry.m_nAddr)) {
        entry.m_strPath = arg.mid(colon + 1);
    } else {
        entry.m_strPath = arg;
        if (QFileInfo(arg).suffix().compare(QLatin1String("hex"), Qt::CaseInsensitive) != 0) {
            err = QStringLiteral("--program %1: a BIN file needs an address (ADDR:FILE)").arg(arg);
            return false;
        }
        if (!HexTool::LowestAddress(arg, entry.m_nAddr, err)) {
            err = QStringLiteral("%1: %2").arg(arg, err);
            return false;
        }
    }
    if (!QFileInfo(entry.m_strPath).isFile()) {
        err = QStringLiteral("%1: no such file").arg(entry.m_strPath);
        return false;
    }
    return true;
}
} // namespace

void CImageBuildCommand::Setup(QCommandLineParser &parser)
{
    parser.addOptions({
        {QStringLiteral("program"), QStringLiteral("A program: ADDR:FILE (BIN or HEX), or FILE.hex at its own address. Repeatable."),
         QStringLiteral("addr:file")},
        {{QStringLiteral("o"), QStringLiteral("output")},
         QStringLiteral("The image file to write (its name is the image name), or the folder for --name."), QStringLiteral("path")},
        {QStringLiteral("name"), QStringLiteral("Image name; \".img\" is appended when missing."), QStringLiteral("name")},
        {QStringLiteral("number"), QStringLiteral("Image number the image is meant for (0-199)."), QStringLiteral("n")},
        {QStringLiteral("mcu"), QStringLiteral("MCU type 1-9 (QM-01 .. QM-09, default 1)."), QStringLiteral("n"), QStringLiteral("1")},
        {QStringLiteral("limit"), QStringLiteral("Burn limit of an encrypted image (default 0 = none)."), QStringLiteral("n"),
         QStringLiteral("0")},
        {QStringLiteral("version"), QStringLiteral("Image version number (default 0)."), QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("encrypt-for"), QStringLiteral("Encrypt the image for the programmer with this 24-digit ID."),
         QStringLiteral("id")},
    });
}

int CImageBuildCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    auto usage = [](const QString &reason) {
        CCliOut::Error(reason);
        return int(CliExit::Usage);
    };
    QString output = parser.value(QStringLiteral("output"));
    QString err;
    int number = -1;
    if (parser.isSet(QStringLiteral("number"))) {
        bool ok = false;
        number = parser.value(QStringLiteral("number")).toInt(&ok, 10);
        if (!ok || !CImageBuilder::CheckIndexRange(number, err))
            return usage(QStringLiteral("--number needs an image number from 0 to %1").arg(CImageBuilder::MaxImageIndex));
    }
    if (parser.isSet(QStringLiteral("name"))) {
        // The panel's name checks; the image is written under that name.
        QString name = parser.value(QStringLiteral("name"));
        if (!CImageBuilder::CheckImageName(name, err))
            return usage(QStringLiteral("--name: %1").arg(err));
        if (output.isEmpty() || QFileInfo(output).isDir() || output.endsWith(QLatin1Char('/')))
            output = QDir(output.isEmpty() ? QStringLiteral(".") : output).filePath(name);
        else if (QFileInfo(output).fileName() != name)
            return usage(QStringLiteral("-o %1 names another image than --name %2").arg(output, name));
    }
    if (output.isEmpty())
        return usage(QStringLiteral("image build needs -o FILE or --name NAME"));
    if (!parser.isSet(QStringLiteral("name")) && QFileInfo(output).isDir())
        return usage(QStringLiteral("-o %1 is a folder; --name names the image in it").arg(output));
    QVector<CBinEntry> entries;
    for (const QString &arg : parser.values(QStringLiteral("program"))) {
        CBinEntry entry;
        if (!ParseProgram(arg, entry, err))
            return usage(err);
        entries.append(entry);
    }
    if (entries.isEmpty())
        return usage(QStringLiteral("image build needs at least one --program"));

    CImageParams params;
    quint32 mcu = 0;
    if (!ParseNumber(parser.value(QStringLiteral("mcu")), mcu) || mcu < 1 || mcu > quint32(CImageBuilder::ChipCount))
        return usage(QStringLiteral("--mcu needs a number from 1 to %1").arg(CImageBuilder::ChipCount));
    params.m_nChip = mcu - 1;
    if (!ParseNumber(parser.value(QStringLiteral("limit")), params.m_nLimit))
        return usage(QStringLiteral("--limit needs a number"));
    if (!ParseNumber(parser.value(QStringLiteral("version")), params.m_nVersion))
        return usage(QStringLiteral("--version needs a number"));
    params.m_strGivenID = parser.value(QStringLiteral("encrypt-for"));
    params.m_bEncrypt = parser.isSet(QStringLiteral("encrypt-for"));

    // The merge file and the history copy stay out of the user's folders.
    QTemporaryDir work;
    if (!work.isValid())
        return usage(QStringLiteral("no temporary folder for the build"));
    CImageBuilder builder(work.path());
    CImageResult result;
    if (!builder.SaveImageFile(entries, params, output, result, err))
        return usage(QStringLiteral("%1: %2").arg(output, err));

    out.Document({{QStringLiteral("file"), output},
                  {QStringLiteral("crc"), result.m_strCRC},
                  {QStringLiteral("startAddress"), CImageBuilder::CRCText(result.m_trailer.m_nStartAddr)},
                  {QStringLiteral("sum"), CImageBuilder::CRCText(result.m_trailer.m_nSum)},
                  {QStringLiteral("name"), QFileInfo(output).fileName()},
                  {QStringLiteral("number"), number},
                  {QStringLiteral("encrypted"), params.m_bEncrypt}});
    out.Line(QStringLiteral("%1: crc %2").arg(output, result.m_strCRC));
    return CliExit::Ok;
}
