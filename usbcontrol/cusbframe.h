#pragma once
// One USB control frame: 0x68, total length (u16), command, payload, CRC-16
// (low byte first). Multi-byte fields are little-endian.
#include "usbcmd.h"

#include <QByteArray>
#include <QString>
#include <array>

// Builds one frame in a zeroed 2048-byte buffer. A payload that would not fit
// marks the frame invalid, and Finish() then gives an empty array.
class CUsbFrame
{
public:
    enum Check { FrameOk, FrameTooShort, FrameBadCrc };

    explicit CUsbFrame(quint8 cmd);

    CUsbFrame &U8(quint8 value);
    CUsbFrame &U16(quint16 value);
    CUsbFrame &U32(quint32 value);
    CUsbFrame &Bytes(const QByteArray &data);
    // One length byte, then the bytes; longer than 255 bytes is invalid.
    CUsbFrame &ShortText(const QByteArray &text);

    bool IsValid() const { return !m_bOverflow; }
    int Size() const { return m_nLen + 2; }
    QByteArray Finish() const;

    // A frame without payload.
    static QByteArray Make(quint8 cmd);
    // Blocks below 6 bytes cannot hold a frame; the CRC covers all but the last two bytes.
    static Check Verify(const QByteArray &frame);
    static quint8 Command(const QByteArray &frame);
    // "68 06 00 C1 1C 23"
    static QString HexText(const QByteArray &bytes);
    // Raw-frame display: "[发送报文] " or "[收到报文] ", then "%02X " per byte.
    static QString RawText(const QByteArray &frame, bool received);

private:
    bool Reserve(int n);

    std::array<char, UsbCmd::kMaxFrame> m_buf;
    int m_nLen = 0;
    bool m_bOverflow = false;
};

// Reads the payload of a received frame (bytes 4 .. size-3). A read past the
// payload yields zero and clears Ok(), so a short frame from a device is caught
// once, after all fields were read.
class CUsbReader
{
public:
    explicit CUsbReader(const QByteArray &frame);

    quint8 U8();
    quint16 U16();
    quint32 U32();
    QByteArray Bytes(int n);
    // Length byte, then that many bytes.
    QByteArray ShortText();
    QByteArray Rest();

    int Left() const { return m_nEnd - m_nPos; }
    bool Ok() const { return m_bOk; }

private:
    bool Take(int n);

    const QByteArray &m_frame;
    int m_nPos = 4;
    int m_nEnd = 4;
    bool m_bOk = true;
};
