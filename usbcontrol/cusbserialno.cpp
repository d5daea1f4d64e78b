#include "cusbserialno.h"

#include "cusbframe.h"
#include "usbpayload.h"

#include <cstring>

namespace {
// Offsets of the record's fields.
constexpr int kField16 = 3;
constexpr int kField16Len = 16;
constexpr int kField10 = 23;
constexpr int kField10Len = 10;
constexpr int kDate = 37;
constexpr int kCount = 43;

void put(QByteArray &rec, int at, const QByteArray &text) { std::memcpy(rec.data() + at, text.constData(), size_t(text.size())); }

QByteArray upToZero(const QByteArray &rec, int at, int len)
{
    const QByteArray field = rec.mid(at, len);
    const int zero = field.indexOf('\0');
    return zero < 0 ? field : field.left(zero);
}
} // namespace

QString CUsbSerialNo::CountDigits(quint64 count)
{
    return QStringLiteral("%1").arg(count, 5, 10, QLatin1Char('0')).left(5);
}

QByteArray CUsbSerialNo::Record(const QDate &date, quint64 passCount)
{
    QByteArray rec(kRecordSize, '\0');
    put(rec, 0, "10_");
    put(rec, kField16, "QEL720A00001");
    put(rec, 19, "_11_");
    put(rec, kField10, "QEL");
    put(rec, 33, "_12_");
    put(rec, kDate, date.toString(QStringLiteral("yyMMdd")).toLatin1().left(6));
    put(rec, kCount, CountDigits(passCount).toLatin1());
    return rec;
}

QByteArray CUsbSerialNo::GenerateSN(const QDate &date, quint64 passCount)
{
    const QByteArray rec = Record(date, passCount);
    return rec.left(3) + upToZero(rec, kField16, kField16Len) + rec.mid(19, 4) + upToZero(rec, kField10, kField10Len)
        + rec.mid(33, 15);
}

int CUsbSerialNo::Align4(QByteArray &sn)
{
    const int add = (4 - sn.size() % 4) % 4;
    sn.append(add, char(0xFF));
    return add;
}

bool CUsbSerialNo::ParseAddress(const QString &text, quint32 &addr)
{
    bool ok = false;
    const QString t = text.trimmed();
    addr = t.isEmpty() ? 0 : t.toUInt(&ok, 16);
    return ok;
}

QByteArray CUsbSerialNo::BuildFrame(int slot, quint32 addr, const QByteArray &sn, QStringList &lines)
{
    QByteArray data = sn;
    const int before = data.size();
    const int added = Align4(data);
    UsbSpecData write;
    write.addr = addr;
    write.data = data;
    const QByteArray frame = write.Frame();
    if (frame.isEmpty())
        return frame;
    if (added > 0)
        lines << tr("SN数据4字节对齐: 原长度%1字节, 补充%2字节0xFF, 对齐后长度%3字节").arg(before).arg(added).arg(data.size());
    lines << tr("烧录器-%1 检查SN写入，SN长度: %2 字节(已4字节对齐)").arg(slot).arg(data.size());
    lines << tr("SN数据内容: %1").arg(CUsbFrame::HexText(data));
    lines << tr("烧录器-%1 下发SN数据进行写入, 长度: %2 字节").arg(slot).arg(data.size());
    return frame;
}
