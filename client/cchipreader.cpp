#include "cchipreader.h"

#include <QtEndian>

#include <array>

namespace {
constexpr int kValuesAt = 3;
constexpr int kValueBytes = 12;

std::array<quint16, 256> makeTable()
{
    std::array<quint16, 256> table{};
    for (int i = 0; i < 256; ++i) {
        quint16 crc = quint16(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
        table[size_t(i)] = crc;
    }
    return table;
}
} // namespace

quint16 CChipReader::Crc16Modbus(const QByteArray &bytes)
{
    static const std::array<quint16, 256> table = makeTable();
    quint16 crc = 0xFFFF;
    for (const char c : bytes)
        crc = quint16((crc >> 8) ^ table[(crc ^ quint8(c)) & 0xFF]);
    return crc;
}

QByteArray CChipReader::Request()
{
    QByteArray frame = QByteArray::fromHex("010300000006");
    const quint16 crc = Crc16Modbus(frame);
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

CChipReader::Result CChipReader::Feed(const QByteArray &bytes, CChipValues &values)
{
    m_buf.append(bytes);
    if (m_buf.size() < kValuesAt)
        return NeedMore;
    Result result = Ok;
    if (quint8(m_buf.at(1)) != 3)
        result = BadFunction;
    else if (quint8(m_buf.at(2)) < kValueBytes)
        result = BadLength;
    else if (m_buf.size() < kValuesAt + kValueBytes)
        return NeedMore;
    if (result == Ok) {
        const uchar *p = reinterpret_cast<const uchar *>(m_buf.constData()) + kValuesAt;
        values.version = qFromLittleEndian<quint32>(p);
        values.crc1 = qFromLittleEndian<quint32>(p + 4);
        values.crc2 = qFromLittleEndian<quint32>(p + 8);
    }
    m_buf.clear();
    return result;
}
