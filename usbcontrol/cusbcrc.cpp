#include "cusbcrc.h"

#include <array>

namespace {
constexpr quint16 kPoly16 = 0x1021;
constexpr quint32 kPoly32 = 0xEDB88320u;

constexpr std::array<quint16, 256> makeCrc16Table()
{
    std::array<quint16, 256> t{};
    for (int b = 0; b < 256; ++b) {
        quint16 c = quint16(b << 8);
        for (int i = 0; i < 8; ++i)
            c = (c & 0x8000) ? quint16((c << 1) ^ kPoly16) : quint16(c << 1);
        t[size_t(b)] = c;
    }
    return t;
}

// Slice-by-4: files of a few MiB are announced at every image download.
using Crc32Tables = std::array<std::array<quint32, 256>, 4>;
constexpr Crc32Tables makeCrc32Tables()
{
    Crc32Tables t{};
    for (quint32 b = 0; b < 256; ++b) {
        quint32 c = b;
        for (int i = 0; i < 8; ++i)
            c = (c & 1) ? (c >> 1) ^ kPoly32 : (c >> 1);
        t[0][b] = c;
    }
    for (int k = 1; k < 4; ++k)
        for (quint32 b = 0; b < 256; ++b)
            t[size_t(k)][b] = (t[size_t(k - 1)][b] >> 8) ^ t[0][t[size_t(k - 1)][b] & 0xFF];
    return t;
}

constexpr std::array<quint16, 256> kCrc16 = makeCrc16Table();
constexpr Crc32Tables kCrc32 = makeCrc32Tables();
} // namespace

quint16 CUsbCrc::Crc16(const uchar *data, quint16 len, quint16 crc)
{
    for (quint16 i = 0; i < len; ++i)
        crc = quint16((crc << 8) ^ kCrc16[((crc >> 8) ^ data[i]) & 0xFF]);
    return crc;
}

quint16 CUsbCrc::Crc16(const QByteArray &data)
{
    // Frames never exceed 2048 bytes; longer input is cut at the 16-bit length.
    return Crc16(reinterpret_cast<const uchar *>(data.constData()), quint16(qMin(data.size(), 0xFFFF)));
}

quint32 CUsbCrc::Crc32Update(quint32 crc, const uchar *data, qint64 len)
{
    while (len >= 4) {
        crc ^= quint32(data[0]) | (quint32(data[1]) << 8) | (quint32(data[2]) << 16) | (quint32(data[3]) << 24);
        crc = kCrc32[3][crc & 0xFF] ^ kCrc32[2][(crc >> 8) & 0xFF] ^ kCrc32[1][(crc >> 16) & 0xFF]
            ^ kCrc32[0][crc >> 24];
        data += 4;
        len -= 4;
    }
    while (len-- > 0)
        crc = (crc >> 8) ^ kCrc32[0][(crc ^ *data++) & 0xFF];
    return crc;
}

quint32 CUsbCrc::Crc32(const QByteArray &data)
{
    return ~Crc32Update(Crc32Init, reinterpret_cast<const uchar *>(data.constData()), data.size());
}
