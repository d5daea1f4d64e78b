#include "cconvcommand.h"

#include "cliexit.h"

#include <hextool.h>

#include <QFileInfo>
#include <QJsonObject>

QString CConvCommand::Name() const
{
    return m_dir == HexToBin ? QStringLiteral("hex2bin") : QStringLiteral("bin2hex");
}

QString CConvCommand::Summary() const
{
    return m_dir == HexToBin ? QStringLiteral("Convert an Intel HEX file to a binary file.")
                             : QStringLiteral("Convert a binary file to Intel HEX from address 0.");
}

void CConvCommand::Setup(QCommandLineParser &parser)
{
    parser.addPositionalArgument(QStringLiteral("input"), QStringLiteral("The file to convert."));
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The file to write."));
}

int CConvCommand::Run(const QCommandLineParser &parser, const CCliOut &out)
{
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        CCliOut::Error(QStringLiteral("%1 needs an input and an output file").arg(Name()));
        return CliExit::Usage;
    }
    const QString &in = args[0];
    const QString &dst = args[1];
    if (!QFileInfo(in).isFile()) {
        CCliOut::Error(QStringLiteral("%1: no such file").arg(in));
        return CliExit::Usage;
    }
    QString message;
    int code = HexTool::Ok;
    bool ok = false;
    if (m_dir == HexToBin) {
        ok = HexTool::FileConvHex2Bin(in, dst, message);
        if (!ok) {
            // The reader's own code for scripts; the message already names the line.
            ConvBinList blocks;
            code = HexTool::ReadHexFile(in, blocks);
            if (code == HexTool::Ok)
                code = HexTool::WriteFailed;
        }
    } else {
        ok = HexTool::FileConvBin2Hex(in, dst, message);
        if (!ok)
            code = HexTool::WriteFailed;
    }
    out.Document({{QStringLiteral("ok"), ok},
                  {QStringLiteral("code"), code},
                  {QStringLiteral("message"), message},
                  {QStringLiteral("input"), in},
                  {QStringLiteral("output"), dst}});
    if (!ok) {
        if (!out.Json())
            CCliOut::Error(QStringLiteral("%1: %2 (code %3)").arg(in, message).arg(code));
        return CliExit::Usage;
    }
    out.Line(QStringLiteral("%1 -> %2").arg(in, dst));
    return CliExit::Ok;
}
