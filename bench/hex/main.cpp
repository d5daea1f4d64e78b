// HEX to BIN on a 16 MiB program (about 47 MB of HEX) with HexTool, objcopy and
// srec_cat in the same run, each best of three; checks that all three give the
// original bytes. Target: HexTool at most half of objcopy's time.
#include "hextool.h"

#include "besttime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

namespace {

QTextStream out(stdout);

bool tool(const QString &program, const QStringList &args)
{
    return QProcess::execute(program, args) == 0;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void report(const char *name, double ms, double mb, bool same, double reference = 0)
{
    out << QStringLiteral("  %1 %2 ms  (%3 MB/s of HEX)%4%5\n")
               .arg(QString::fromLatin1(name), -22)
               .arg(ms, 8, 'f', 1)
               .arg(mb / (ms / 1000), 0, 'f', 0)
               .arg(same ? QString() : QStringLiteral("  OUTPUT DIFFERS"))
               .arg(reference > 0 ? QStringLiteral("  %1x objcopy's time").arg(ms / reference, 0, 'f', 2) : QString());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("qel.hextool.debug=false"));
    QTemporaryDir dir;
    constexpr int kSize = 16 << 20;
    QByteArray program(kSize, '\0');
    quint32 x = 0x2545F491;
    for (char &c : program) { // xorshift: cheap, reproducible data
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    const QString bin = dir.filePath("program.bin");
    const QString hex = dir.filePath("program.hex");
    {
        QFile f(bin);
        if (!f.open(QIODevice::WriteOnly) || f.write(program) != program.size())
            return 1;
    }
    QString err;
    QElapsedTimer t;
    t.start();
    if (!HexTool::FileConvBin2Hex(bin, hex, err)) {
        out << err << "\n";
        return 1;
    }
    const double toHexMs = t.nsecsElapsed() / 1e6;
    const double mb = QFileInfo(hex).size() / 1e6;
    out << QStringLiteral("HEX to BIN, %1 MiB program, %2 MB of HEX\n").arg(kSize >> 20).arg(mb, 0, 'f', 1);

    const QString ours = dir.filePath("ours.bin");
    const double oursMs = qelbench::Best([&] { return HexTool::FileConvHex2Bin(hex, ours, err); });
    QByteArray array;
    const double arrayMs = qelbench::Best([&] { return HexTool::FileConvHex2BinArray(hex, array, err); });

    const QString objcopy = QStandardPaths::findExecutable("objcopy");
    const QString srecCat = QStandardPaths::findExecutable("srec_cat");
    const QString objBin = dir.filePath("objcopy.bin");
    const QString srecBin = dir.filePath("srec.bin");
    const double objMs = objcopy.isEmpty() ? -1 : qelbench::Best([&] { return tool(objcopy, {"-I", "ihex", "-O", "binary", hex, objBin}); });
    const double srecMs = srecCat.isEmpty() ? -1 : qelbench::Best([&] { return tool(srecCat, {hex, "-intel", "-o", srecBin, "-binary"}); });

    report("HexTool to file", oursMs, mb, readAll(ours) == program, objMs);
    report("HexTool to array", arrayMs, mb, array == program, objMs);
    if (objMs > 0)
        report("objcopy", objMs, mb, readAll(objBin) == program);
    else
        out << "  objcopy                not installed\n";
    if (srecMs > 0)
        report("srec_cat", srecMs, mb, readAll(srecBin) == program, objMs);
    else
        out << "  srec_cat               not installed\n";
    out << QStringLiteral("  (BIN to HEX with HexTool: %1 ms)\n").arg(toHexMs, 0, 'f', 1);
    if (objMs > 0)
        out << QStringLiteral("  target: HexTool to file at most 0.50x objcopy's time: %1\n")
                   .arg(oursMs <= objMs / 2 ? "met" : "NOT met");
    return readAll(ours) == program && array == program ? 0 : 1;
}
