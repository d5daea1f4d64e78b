#include "imagefile.h"

#include "functool.h"
#include "imagecipher.h"

#include <QtEndian>
#include <cstring>

namespace {

quint32 word(const QByteArray &image, int at)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(image.constData()) + at);
}

void putWord(QByteArray &image, int at, quint32 value)
{
    qToLittleEndian(value, reinterpret_cast<uchar *>(image.data()) + at);
}

// Adds the four 16-bit lanes of a SWAR accumulator.
quint32 foldLanes(quint64 lanes)
{
    return quint32((lanes & 0xFFFF) + ((lanes >> 16) & 0xFFFF) + ((lanes >> 32) & 0xFFFF) + (lanes >> 48));
}

} // namespace

quint32 CImageFile::ByteSum(const char *data, qint64 size)
{
    const auto *p = reinterpret_cast<const uchar *>(data);
    quint32 sum = 0;
    // Eight bytes per step into four 16-bit lanes; each step adds at most 510 to a
    // lane, so 128 steps fit before the lanes are folded.
    constexpr quint64 kEven = 0x00FF00FF00FF00FFull;
    while (size >= 8) {
        quint64 lanes = 0;
        const qint64 steps = qMin<qint64>(size / 8, 128);
        for (qint64 i = 0; i < steps; ++i) {
            quint64 x;
            std::memcpy(&x, p + 8 * i, 8);
            lanes += (x & kEven) + ((x >> 8) & kEven);
        }
        sum += foldLanes(lanes);
        p += 8 * steps;
        size -= 8 * steps;
    }
    while (size-- > 0)
        sum += *p++;
    return sum;
}

bool CImageFile::Compose(QByteArray &program, CImageTrailer &trailer, const QString &id)
{
    const int s = program.size();
    program.append(QByteArray(TrailerSize, '\0'));
    putWord(program, s + TimeOffset, trailer.m_nTime);
    putWord(program, s + 8, trailer.m_nLimit);
    putWord(program, s + 12, trailer.m_nVersion);
    putWord(program, s + 16, trailer.m_nFirstCRC);
    putWord(program, s + 20, trailer.m_nCRC);
    putWord(program, s + 24, trailer.m_nChip);
    putWord(program, s + 28, trailer.m_nStartAddr);
    trailer.m_nSum = ByteSum(program.constData(), s + SumOffset);
    putWord(program, s + SumOffset, trailer.m_nSum);
    putWord(program, s + MarkOffset, trailer.m_bEncrypt ? EncryptMark : 0);
    return !trailer.m_bEncrypt || CImageCipher::EncryptImage(program, id);
}

bool CImageFile::ReadTrailer(const QByteArray &image, CImageTrailer &trailer)
{
    const int s = ProgramSize(image.size());
    if (s < 0)
        return false;
    trailer.m_nTime = word(image, s + TimeOffset);
    trailer.m_nLimit = word(image, s + 8);
    trailer.m_nVersion = word(image, s + 12);
    trailer.m_nFirstCRC = word(image, s + 16);
    trailer.m_nCRC = word(image, s + 20);
    trailer.m_nChip = word(image, s + 24);
    trailer.m_nStartAddr = word(image, s + 28);
    trailer.m_nSum = word(image, s + SumOffset);
    trailer.m_bEncrypt = word(image, s + MarkOffset) == EncryptMark;
    return true;
}

bool CImageFile::IsEncrypted(const QByteArray &image)
{
    return image.size() >= 4 && word(image, image.size() - 4) == EncryptMark;
}

bool CImageFile::Open(QByteArray &image, const QString &id, CImageTrailer &trailer, QString &err)
{
    const int s = ProgramSize(image.size());
    // The builder pads the program to whole AES blocks, encrypted or not.
    if (s < 0 || s % 16 != 0) {
        err = tr("镜像文件长度错误");
        return false;
    }
    const quint32 mark = word(image, s + MarkOffset);
    if (mark != 0 && mark != EncryptMark) {
        err = tr("镜像加密标志错误");
        return false;
    }
    const bool encrypted = mark == EncryptMark;
    QByteArray plain = image;
    if (encrypted && !CImageCipher::DecryptImage(plain, id)) {
        err = tr("下载器ID格式有误,加密镜像必须绑定下载器!");
        return false;
    }
    if (word(plain, s + SumOffset) != ByteSum(plain.constData(), s + SumOffset)) {
        // Under a wrong key the whole image decrypts to noise, checksum included.
        err = encrypted ? tr("请确认当前下载器是否匹配！此为加密镜像，校验码不匹配！") : tr("镜像校验和错误");
        return false;
    }
    ReadTrailer(plain, trailer);
    if (trailer.m_nCRC != FuncTool::CalcBytesCRCNum(QByteArray::fromRawData(plain.constData(), s))) {
        err = tr("镜像CRC错误");
        return false;
    }
    image = plain;
    return true;
}

bool CImageFile::Restamp(QByteArray &image, quint32 time)
{
    const int s = ProgramSize(image.size());
    if (s < 0)
        return false;
    putWord(image, s + TimeOffset, time);
    putWord(image, s + SumOffset, ByteSum(image.constData(), s + SumOffset));
    return true;
}

bool CImageFile::ReKey(QByteArray &image, const QString &fromID, const QString &toID, quint32 time,
                       QString &err)
{
    CImageTrailer trailer;
    QByteArray work = image;
    if (!Open(work, fromID, trailer, err))
        return false;
    Restamp(work, time);
    if (trailer.m_bEncrypt && !CImageCipher::EncryptImage(work, toID)) {
        err = tr("下载器ID格式有误,加密镜像必须绑定下载器!");
        return false;
    }
    image = work;
    return true;
}
