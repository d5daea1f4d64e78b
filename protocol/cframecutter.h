#pragma once
// Where one message ends in the byte streams of the links.
//   TCP:  "hhhh", 16-bit little-endian length n, n message bytes.
//   USB control frames (HID and VCP programmers): 0x68, 16-bit total length
//         (at least 6, at most kMaxUsbFrame), command, payload, CRC.
//   HID JSON messages: "hhhh", 16-bit length n, type, sum of the n bytes, n bytes.
#include <QByteArray>

class CFrameCutter
{
public:
    enum Result {
        NeedMore, // wait for more bytes
        Message,  // one message or frame taken from the front
        Dropped,  // bytes that cannot start a frame were taken from the front
    };

    static constexpr int kTcpHeadSize = 6;
    static constexpr int kHidHeadSize = 8;
    static constexpr int kUsbMinFrame = 6;
    static constexpr int kMaxUsbFrame = 2048;
    // Largest message one head can carry, given the 16-bit byte count of the transports.
    static constexpr int kMaxTcpMessage = 0xFFFF - kTcpHeadSize;
    static constexpr int kMaxHidMessage = 0xFFFF - kHidHeadSize;

    // A bad head empties the whole buffer.
    static Result NextTcp(QByteArray &buf, QByteArray &message);
    static QByteArray MakeTcp(const QByteArray &message);

    // A bad head, an impossible length or a bad CRC drops bytes up to the next 0x68.
    static Result NextUsb(QByteArray &buf, QByteArray &frame, QByteArray &dropped);

    static bool IsHidMessageHead(const QByteArray &buf);
    // type and message of a complete HID JSON message; a bad sum drops it whole.
    static Result NextHidMessage(QByteArray &buf, quint8 &type, QByteArray &message, QByteArray &dropped);
    static QByteArray MakeHidMessage(quint8 type, const QByteArray &message);
};
