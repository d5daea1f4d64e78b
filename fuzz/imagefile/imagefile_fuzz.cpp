// Files a programmer or a peer hands over. Byte 0 picks the reader, the rest
// is the file:
//   0: CImageFile::Open with a fixed programmer ID
//   1: BurnHub::ReadSysFile (identity file), from a file in a temporary folder
//   2: the image index (config/image.dat) of a programmer rooted there
#include "burnhub.h"
#include "imagefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

void Quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

const QString kId = QStringLiteral("00000000000000000000ABCD");

bool Put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        qInstallMessageHandler(Quiet);
        Require(dir.isValid());
        qputenv("QEL_DATA_DIR", dir.path().toLocal8Bit());
        QDir().mkpath(dir.path() + QStringLiteral("/prog/config"));
        BurnHub::Instance()->SetProgRoot(dir.path() + QStringLiteral("/prog/"));
        return true;
    }();
    (void)ready;
    if (size < 1)
        return 0;
    const QByteArray file(reinterpret_cast<const char *>(data + 1), int(size - 1));

    switch (data[0] % 3) {
    case 0: {
        QByteArray image = file;
        CImageTrailer trailer;
        QString err;
        if (CImageFile::Open(image, kId, trailer, err)) {
            // The trailer read is the one of the plain image handed back.
            CImageTrailer read;
            Require(CImageFile::ReadTrailer(image, read) && read.m_nCRC == trailer.m_nCRC);
            Require(image.size() == file.size());
            if (!CImageFile::IsEncrypted(file)) {
                // A plain image opens as it is.
                QByteArray again = image;
                CImageTrailer second;
                Require(CImageFile::Open(again, kId, second, err) && again == file);
            }
        } else {
            Require(!err.isEmpty() && image == file);
        }
        break;
    }
    case 1: {
        const QString path = dir.path() + QStringLiteral("/qelprogrammer.dat");
        Require(Put(path, file));
        QMap<QString, QString> map;
        const bool any = BurnHub::ReadSysFile(path, map);
        Require(any == !map.isEmpty());
        ProgerInfo info;
        BurnHub::IsRightProger(path, info);
        break;
    }
    default: {
        Require(Put(dir.path() + QStringLiteral("/prog/config/image.dat"), file));
        QMap<int, ImageInfo> map;
        QString err;
        Require(BurnHub::Instance()->ReadImageIndex(map, err));
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            Require(it.key() == it->m_nIndex);
        break;
    }
    }
    return 0;
}
