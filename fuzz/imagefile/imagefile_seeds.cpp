// Seeds for the image target: a plain and an encrypted image composed by
// CImageFile itself, each behind the target's selector byte 0.
#include "imagefile.h"

#include <QFile>

#include <cstdio>

static bool Write(const QString &path, const QByteArray &image)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(QByteArray(1, '\0') + image) == image.size() + 1;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString id = QStringLiteral("00000000000000000000ABCD");
    bool ok = true;
    for (bool encrypt : {false, true}) {
        QByteArray program;
        for (int i = 0; i < 64; ++i)
            program.append(char(i * 7));
        CImageTrailer trailer;
        trailer.m_nTime = 1700000000u;
        trailer.m_nVersion = 3;
        trailer.m_nChip = 0x10;
        trailer.m_nStartAddr = 0x08000000u;
        trailer.m_bEncrypt = encrypt;
        ok = CImageFile::Compose(program, trailer, id) && ok;
        ok = Write(dir + (encrypt ? QStringLiteral("/image-encrypted") : QStringLiteral("/image-plain")), program) && ok;
    }
    return ok ? 0 : 1;
}
