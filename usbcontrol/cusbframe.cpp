#include "cusbframe.h"

#include "cusbcrc.h"

#include <QCoreApplication>

CUsbFrame::CUsbFrame(quint8 cmd)
{
    m_buf.fill(0);
    m_buf[0] = char(UsbCmd::kHead);
    m_buf[3] = char(cmd);
    m_nLen = 4;
}

bool CUsbFrame::Reserve(int n)
{
    // Two bytes stay free for the CRC.
    if (m_bOverflow || n < 0 || m_nLen + n + 2 > UsbCmd::kMaxFrame) {
        m_bOverflow = true;
        return false;
    }
    return true;
}

CUsbFrame &CUsbFrame::U8(quint8 value)
{
    if (Reserve(1))
        m_buf[size_t(m_nLen++)] = char(value);
    return *this;
}

CUsbFrame &CUsbFrame::U16(quint16 value)
{
    U8(quint8(value));
    return U8(quint8(value >> 8));
}

CUsbFrame &CUsbFrame::U32(quint32 value)
{
    U16(quint16(value));
    return U16(quint16(value >> 16));
}

CUsbFrame &CUsbFrame::Bytes(const QByteArray &data)
{
    if (Reserve(data.size())) {
        std::copy(data.cbegin(), data.cend(), m_buf.begin() + m_nLen);
        m_nLen += data.size();
    }
    return *this;
}

CUsbFrame &CUsbFrame::ShortText(const QByteArray &text)
{
    if (text.size() > UsbCmd::kMaxNameLen) {
        m_bOverflow = true;
        return *this;
    }
    U8(quint8(text.size()));
    return Bytes(text);
}

QByteArray CUsbFrame::Finish() const
{
    if (m_bOverflow)
        return QByteArray();
    // The length field counts the CRC too.
    const quint16 total = quint16(m_nLen + 2);
    std::array<char, UsbCmd::kMaxFrame> buf = m_buf;
    buf[1] = char(total & 0xFF);
    buf[2] = char(total >> 8);
    const quint16 crc = CUsbCrc::Crc16(reinterpret_cast<const uchar *>(buf.data()), quint16(m_nLen));
    buf[size_t(m_nLen)] = char(crc & 0xFF);
    buf[size_t(m_nLen + 1)] = char(crc >> 8);
    return QByteArray(buf.data(), total);
}

QByteArray CUsbFrame::Make(quint8 cmd) { return CUsbFrame(cmd).Finish(); }

CUsbFrame::Check CUsbFrame::Verify(const QByteArray &frame)
{
    if (frame.size() < UsbCmd::kMinFrame)
        return FrameTooShort;
    const int n = frame.size() - 2;
    const quint16 want = quint16(quint8(frame[n]) | (quint8(frame[n + 1]) << 8));
    const quint16 crc = CUsbCrc::Crc16(reinterpret_cast<const uchar *>(frame.constData()), quint16(qMin(n, 0xFFFF)));
    return crc == want ? FrameOk : FrameBadCrc;
}

quint8 CUsbFrame::Command(const QByteArray &frame) { return frame.size() > 3 ? quint8(frame[3]) : 0; }

QString CUsbFrame::HexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString CUsbFrame::RawText(const QByteArray &frame, bool received)
{
    QString text = received ? QCoreApplication::translate("CUsbFrame", "[收到报文] ")
                            : QCoreApplication::translate("CUsbFrame", "[发送报文] ");
    text.reserve(text.size() + frame.size() * 3);
    text += HexText(frame);
    if (!frame.isEmpty())
        text += QLatin1Char(' ');
    return text;
}

CUsbReader::CUsbReader(const QByteArray &frame) : m_frame(frame)
{
    m_nEnd = qMax(4, frame.size() - 2);
}

bool CUsbReader::Take(int n)
{
    if (!m_bOk || n < 0 || n > Left()) {
        m_bOk = false;
        return false;
    }
    return true;
}

quint8 CUsbReader::U8()
{
    if (!Take(1))
        return 0;
    return quint8(m_frame[m_nPos++]);
}

quint16 CUsbReader::U16()
{
    const quint16 lo = U8();
    return quint16(lo | (U8() << 8));
}

quint32 CUsbReader::U32()
{
    const quint32 lo = U16();
    return lo | (quint32(U16()) << 16);
}

QByteArray CUsbReader::Bytes(int n)
{
    if (!Take(n))
        return QByteArray();
    const QByteArray out = m_frame.mid(m_nPos, n);
    m_nPos += n;
    return out;
}

QByteArray CUsbReader::ShortText()
{
    const int n = U8();
    return Bytes(n);
}

QByteArray CUsbReader::Rest() { return Bytes(Left()); }
