#pragma once
// The CRC-32/MPEG-2 rule over 32-bit words, bit by bit, as a programmer computes
// it: the reference the table-driven version is checked and measured against.
#include <QByteArray>
#include <QtEndian>
#include <cstddef>

namespace qeltest {

inline quint32 CrcWordsContinue(quint32 crc, quint32 word)
{
    for (int bit = 31; bit >= 0; --bit) {
        const bool top = crc & 0x80000000u;
        crc <<= 1;
        if (top)
            crc ^= 0x04C11DB7;
        if ((word >> bit) & 1)
            crc ^= 0x04C11DB7;
    }
    return crc;
}

inline quint32 CrcWordsBitwise(const quint32 *words, std::size_t count)
{
    quint32 crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < count; ++i)
        crc = CrcWordsContinue(crc, words[i]);
    return crc;
}

// The same over the whole little-endian words of bytes (trailing bytes ignored).
inline quint32 CrcWordsBitwise(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFF;
    for (int i = 0; i + 4 <= bytes.size(); i += 4) {
        const quint32 word = qFromLittleEndian<quint32>(bytes.constData() + i);
        crc = CrcWordsContinue(crc, word);
    }
    return crc;
}

} // namespace qeltest
