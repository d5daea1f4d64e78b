#pragma once
// CRC-32/MPEG-2 over 32-bit words read least significant byte first, the way an
// STM32 hardware CRC unit sees them. Slice-by-8 tables, two words per step.
#include <QtGlobal>

class CrcMpeg2
{
public:
    static constexpr quint32 Init = 0xFFFFFFFFu;
    static constexpr quint32 Poly = 0x04C11DB7u;

    // Continues crc over count words starting at bytes (any alignment).
    static quint32 Update(quint32 crc, const uchar *bytes, quint64 count);
    // Continues crc over count erased-flash words (0xFFFFFFFF).
    static quint32 Pad(quint32 crc, quint64 count);
};
