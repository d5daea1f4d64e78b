#pragma once
// Checksums of the USB control frames: CRC-16/CCITT-FALSE over every frame and
// the reflected CRC-32 (IEEE 802.3) of a file announced for download.
#include <QByteArray>
#include <QtGlobal>

class CUsbCrc
{
public:
    static constexpr quint16 Crc16Init = 0xFFFF;
    static constexpr quint32 Crc32Init = 0xFFFFFFFFu;

    // Continues crc over len bytes (no final XOR).
    static quint16 Crc16(const uchar *data, quint16 len, quint16 crc = Crc16Init);
    static quint16 Crc16(const QByteArray &data);

    // Register form for streaming: start with Crc32Init, finish with ~crc.
    static quint32 Crc32Update(quint32 crc, const uchar *data, qint64 len);
    static quint32 Crc32(const QByteArray &data);
};
