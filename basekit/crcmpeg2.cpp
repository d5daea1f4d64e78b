#include "crcmpeg2.h"

#include <QtEndian>
#include <array>

namespace {
using Tables = std::array<std::array<quint32, 256>, 8>;

// tables[k][b]: byte b entering at the top of the register, followed by k zero bytes.
constexpr Tables makeTables()
{
    Tables t{};
    for (quint32 b = 0; b < 256; ++b) {
        quint32 c = b << 24;
        for (int i = 0; i < 8; ++i)
            c = (c & 0x80000000u) ? (c << 1) ^ CrcMpeg2::Poly : (c << 1);
        t[0][b] = c;
    }
    for (int k = 1; k < 8; ++k)
        for (quint32 b = 0; b < 256; ++b)
            t[k][b] = (t[k - 1][b] << 8) ^ t[0][t[k - 1][b] >> 24];
    return t;
}

constexpr Tables kTables = makeTables();

inline quint32 shift32(quint32 c)
{
    return kTables[3][c >> 24] ^ kTables[2][(c >> 16) & 0xFF] ^ kTables[1][(c >> 8) & 0xFF] ^ kTables[0][c & 0xFF];
}

inline quint32 shift64(quint32 c, quint32 next)
{
    return kTables[7][c >> 24] ^ kTables[6][(c >> 16) & 0xFF] ^ kTables[5][(c >> 8) & 0xFF] ^ kTables[4][c & 0xFF]
        ^ shift32(next);
}
} // namespace

quint32 CrcMpeg2::Update(quint32 crc, const uchar *bytes, quint64 count)
{
    if (!bytes)
        return crc;
    for (; count >= 2; count -= 2, bytes += 8)
        crc = shift64(crc ^ qFromLittleEndian<quint32>(bytes), qFromLittleEndian<quint32>(bytes + 4));
    if (count)
        crc = shift32(crc ^ qFromLittleEndian<quint32>(bytes));
    return crc;
}

quint32 CrcMpeg2::Pad(quint32 crc, quint64 count)
{
    for (; count >= 2; count -= 2)
        crc = shift64(crc ^ 0xFFFFFFFFu, 0xFFFFFFFFu);
    if (count)
        crc = shift32(crc ^ 0xFFFFFFFFu);
    return crc;
}
