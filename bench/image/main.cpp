// Image build of an 8 MiB program with encryption (merge, merge_data.bin,
// trailer, AES, image file, history copy) beside a plain copy of the same file,
// each best of five; the built image is opened again to check it.
#include "imagebuilder.h"
#include "imagefile.h"

#include "besttime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <functional>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    constexpr int kSize = 8 << 20;
    QByteArray program(kSize, '\0');
    quint32 x = 0x9E3779B9;
    for (char &c : program) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x);
    }
    const QString bin = dir.filePath("program.bin");
    {
        QFile f(bin);
        if (!f.open(QIODevice::WriteOnly) || f.write(program) != program.size())
            return 1;
    }
    const QString id = QStringLiteral("0123456789ABCDEF01234567");
    const CImageBuilder builder(dir.filePath("work"));
    CImageParams params;
    params.m_bEncrypt = true;
    params.m_nLimit = 100;
    params.m_strProgerID = id;
    const QString image = dir.filePath("work/bench.img");
    CImageResult result;
    QString err;
    const double buildMs = qelbench::Best([&] {
        return builder.SaveImageFile({{0x08000000, bin}}, params, image, result, err);
    }, 5);
    const QString copy = dir.filePath("copy.bin");
    const double copyMs = qelbench::Best([&] {
        QFile::remove(copy);
        return QFile::copy(bin, copy);
    }, 5);

    QFile f(image);
    QByteArray built = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    CImageTrailer trailer;
    const bool ok = buildMs > 0 && CImageFile::Open(built, id, trailer, err) && built.left(kSize) == program;

    out << QStringLiteral("Image build, %1 MiB program, encrypted\n").arg(kSize >> 20);
    out << QStringLiteral("  CImageBuilder::SaveImageFile  %1 ms%2\n")
               .arg(buildMs, 8, 'f', 1)
               .arg(ok ? QString() : QStringLiteral("  FAILED: ") + err);
    out << QStringLiteral("  plain file copy               %1 ms\n").arg(copyMs, 8, 'f', 1);
    out << QStringLiteral("  ratio                         %1x a plain copy (the build writes three files)\n")
               .arg(buildMs / qMax(copyMs, 0.001), 0, 'f', 1);
    return ok ? 0 : 1;
}
