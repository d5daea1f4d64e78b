// Byte streams through CFrameCutter, fed in pieces as a socket or a HID read
// would hand them over. Byte 0 picks the cutter and whether the rest is taken
// as raw stream bytes or as messages to frame first; byte 1 seeds the piece
// sizes.
//  raw:     every call makes progress or waits, and what it gives out is well formed;
//  framed:  the pieces give back exactly the messages that were framed.
#include "cframecutter.h"
#include "cusbframe.h"

#include <QByteArray>
#include <QList>

#include <cstdlib>
#include <random>

namespace {

enum Cutter { Tcp, Usb, Hid };

int Word(const QByteArray &b, int at)
{
    return quint8(b[at]) | (quint8(b[at + 1]) << 8);
}

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

// Takes whatever the cutter can from buf; false when it waits for more.
bool TakeOne(Cutter cutter, QByteArray &buf, QList<QByteArray> &out)
{
    const int before = buf.size();
    QByteArray piece;
    QByteArray dropped;
    CFrameCutter::Result r = CFrameCutter::NeedMore;
    switch (cutter) {
    case Tcp:
        r = CFrameCutter::NextTcp(buf, piece);
        if (r == CFrameCutter::Message)
            Require(piece.size() <= CFrameCutter::kMaxTcpMessage && before - buf.size() == piece.size() + CFrameCutter::kTcpHeadSize);
        break;
    case Usb:
        r = CFrameCutter::NextUsb(buf, piece, dropped);
        if (r == CFrameCutter::Message) {
            Require(piece.size() >= CFrameCutter::kUsbMinFrame && piece.size() <= CFrameCutter::kMaxUsbFrame);
            Require(quint8(piece[0]) == 0x68 && Word(piece, 1) == piece.size());
            Require(before - buf.size() == piece.size());
        }
        if (r == CFrameCutter::Dropped)
            Require(!dropped.isEmpty() && before - buf.size() == dropped.size());
        break;
    case Hid: {
        // As the HID link does: JSON messages behind "hhhh", control frames otherwise.
        if (!CFrameCutter::IsHidMessageHead(buf)) {
            r = CFrameCutter::NextUsb(buf, piece, dropped);
            if (r == CFrameCutter::Message)
                piece.prepend('F');
            break;
        }
        quint8 type = 0;
        r = CFrameCutter::NextHidMessage(buf, type, piece, dropped);
        if (r == CFrameCutter::Message) {
            Require(CFrameCutter::MakeHidMessage(type, piece).size() == before - buf.size());
            piece.prepend(char(type));
        }
        if (r == CFrameCutter::Dropped)
            Require(dropped.size() >= CFrameCutter::kHidHeadSize && before - buf.size() == dropped.size());
        break;
    }
    }
    if (r == CFrameCutter::NeedMore) {
        Require(buf.size() == before);
        return false;
    }
    Require(buf.size() < before); // progress, or the link loops for ever
    if (r == CFrameCutter::Message)
        out.append(piece);
    return true;
}

QList<QByteArray> Feed(Cutter cutter, const QByteArray &stream, std::minstd_rand &rng)
{
    QList<QByteArray> out;
    QByteArray buf;
    int at = 0;
    while (at < stream.size()) {
        const int n = 1 + int(rng() % 97);
        buf.append(stream.mid(at, n));
        at += n;
        while (TakeOne(cutter, buf, out)) {
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const Cutter cutter = Cutter(data[0] % 3);
    const bool framed = data[0] & 0x80;
    std::minstd_rand rng(data[1] + 1u);
    const QByteArray rest(reinterpret_cast<const char *>(data + 2), int(size - 2));

    if (!framed) {
        Feed(cutter, rest, rng);
        return 0;
    }

    // Cut the rest at each 0x0A into messages, frame them, and expect them back.
    QList<QByteArray> sent;
    QByteArray stream;
    for (const QByteArray &part : rest.split('\n')) {
        QByteArray m = part;
        switch (cutter) {
        case Tcp:
            if (m.isEmpty()) // an empty last message waits for more bytes
                continue;
            stream += CFrameCutter::MakeTcp(m);
            break;
        case Usb: {
            // 0x68, length, command, payload, CRC.
            m = m.left(CFrameCutter::kMaxUsbFrame - CFrameCutter::kUsbMinFrame);
            const QByteArray f = CUsbFrame(0xC2).Bytes(m).Finish();
            stream += f;
            m = f;
            break;
        }
        case Hid:
            stream += CFrameCutter::MakeHidMessage(1, m);
            m.prepend(char(1));
            break;
        }
        sent.append(m);
    }
    Require(Feed(cutter, stream, rng) == sent);
    return 0;
}
