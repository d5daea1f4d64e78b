#pragma once
// The chip page's exchange: one read request (Modbus function 3, six
// registers from 0) and its answer, which carries the program version and two
// CRCs as 32-bit little-endian values.
#include <QByteArray>
#include <QtGlobal>

struct CChipValues
{
    quint32 version = 0;
    quint32 crc1 = 0;
    quint32 crc2 = 0;
};

class CChipReader
{
public:
    enum Result { NeedMore, Ok, BadFunction, BadLength };

    // 01 03 00 00 00 06 and its CRC-16/MODBUS, low byte first.
    static QByteArray Request();
    // CRC-16/MODBUS: initial 0xFFFF, reflected polynomial 0xA001.
    static quint16 Crc16Modbus(const QByteArray &bytes);

    // Starts a new answer (a new request was sent).
    void Reset() { m_buf.clear(); }
    // Adds received bytes; anything but NeedMore ends the answer. The answer's
    // own CRC is not checked.
    Result Feed(const QByteArray &bytes, CChipValues &values);

private:
    QByteArray m_buf;
};
