#include "cframecutter.h"

#include <cusbframe.h>
#include <tcphead.h>

namespace {
const char kHead = char(0x68);

int Word(const QByteArray &buf, int at)
{
    return quint8(buf[at]) | (quint8(buf[at + 1]) << 8);
}

quint8 Sum(const char *bytes, int count)
{
    quint8 sum = 0;
    for (int i = 0; i < count; ++i)
        sum = quint8(sum + quint8(bytes[i]));
    return sum;
}
} // namespace

CFrameCutter::Result CFrameCutter::NextTcp(QByteArray &buf, QByteArray &message)
{
    // A head announcing nothing stays until more bytes arrive.
    if (buf.size() <= kTcpHeadSize)
        return NeedMore;
    if (!TcpHead::CheckHead(buf.constData())) {
        buf.clear();
        return Dropped;
    }
    const int length = Word(buf, 4);
    if (buf.size() < length + kTcpHeadSize)
        return NeedMore;
    message = buf.mid(kTcpHeadSize, length);
    buf.remove(0, length + kTcpHeadSize);
    return Message;
}

QByteArray CFrameCutter::MakeTcp(const QByteArray &message)
{
    QByteArray out(kTcpHeadSize + message.size(), '\0');
    TcpHead::MakeHead(out.data(), quint32(message.size()));
    memcpy(out.data() + kTcpHeadSize, message.constData(), size_t(message.size()));
    return out;
}

CFrameCutter::Result CFrameCutter::NextUsb(QByteArray &buf, QByteArray &frame, QByteArray &dropped)
{
    if (buf.size() < kUsbMinFrame)
        return NeedMore;
    if (buf[0] != kHead) {
        const int next = buf.indexOf(kHead, 1);
        const int count = next < 0 ? buf.size() : next;
        dropped = buf.left(count);
        buf.remove(0, count);
        return Dropped;
    }
    const int length = Word(buf, 1);
    if (length < kUsbMinFrame || length > kMaxUsbFrame) {
        dropped = buf.left(1);
        buf.remove(0, 1);
        return Dropped;
    }
    if (buf.size() < length)
        return NeedMore;
    // A false head with a plausible length would swallow the real frame behind
    // it: a bad CRC gives up only the head byte, and the search goes on from there.
    if (CUsbFrame::Verify(buf.left(length)) != CUsbFrame::FrameOk) {
        dropped = buf.left(1);
        buf.remove(0, 1);
        return Dropped;
    }
    frame = buf.left(length);
    buf.remove(0, length);
    return Message;
}

bool CFrameCutter::IsHidMessageHead(const QByteArray &buf)
{
    return buf.size() >= 4 && buf[0] == kHead && buf[1] == kHead && buf[2] == kHead && buf[3] == kHead;
}

CFrameCutter::Result CFrameCutter::NextHidMessage(QByteArray &buf, quint8 &type, QByteArray &message,
                                                  QByteArray &dropped)
{
    if (buf.size() < kHidHeadSize || !IsHidMessageHead(buf))
        return NeedMore;
    const int length = Word(buf, 4);
    if (buf.size() < kHidHeadSize + length)
        return NeedMore;
    const QByteArray body = buf.mid(kHidHeadSize, length);
    if (Sum(body.constData(), body.size()) != quint8(buf[7])) {
        dropped = buf.left(kHidHeadSize + length);
        buf.remove(0, kHidHeadSize + length);
        return Dropped;
    }
    type = quint8(buf[6]);
    message = body;
    buf.remove(0, kHidHeadSize + length);
    return Message;
}

QByteArray CFrameCutter::MakeHidMessage(quint8 type, const QByteArray &message)
{
    QByteArray out(kHidHeadSize, kHead);
    out[4] = char(message.size() & 0xFF);
    out[5] = char((message.size() >> 8) & 0xFF);
    out[6] = char(type);
    out[7] = char(Sum(message.constData(), message.size()));
    out.append(message);
    return out;
}
