#include "hextool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>
#include <array>
#include <cstring>

Q_LOGGING_CATEGORY(lcHexTool, "qel.hextool")

namespace {

// Character classes of the reader, built once: hex digit values, 0x10 for white
// space, 0xFF for anything else.
constexpr uchar kSpace = 0x10;
constexpr uchar kOther = 0xFF;

struct CharTable
{
    std::array<uchar, 256> v{};
    constexpr CharTable()
    {
        for (int i = 0; i < 256; ++i)
            v[size_t(i)] = kOther;
        for (int i = 0; i < 10; ++i)
            v[size_t('0' + i)] = uchar(i);
        for (int i = 0; i < 6; ++i) {
            v[size_t('a' + i)] = uchar(10 + i);
            v[size_t('A' + i)] = uchar(10 + i);
        }
        for (char c : {' ', '\t', '\n', '\v', '\f', '\r'})
            v[size_t(uchar(c))] = kSpace;
    }
};
constexpr CharTable kChars;

inline bool isSpace(char c) { return kChars.v[uchar(c)] == kSpace; }

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Appends one record line (":" ... checksum CR LF) to out.
void putRecord(QByteArray &out, quint8 type, quint16 addr, const uchar *data, int n)
{
    char line[1 + 2 * (4 + 255 + 1) + 2];
    char *p = line;
    uchar sum = 0;
    auto put = [&](uchar b) {
        *p++ = kHexDigits[b >> 4];
        *p++ = kHexDigits[b & 0x0F];
        sum = uchar(sum + b);
    };
    *p++ = ':';
    put(uchar(n));
    put(uchar(addr >> 8));
    put(uchar(addr));
    put(type);
    for (int i = 0; i < n; ++i)
        put(data[i]);
    put(uchar(-sum));
    *p++ = '\r';
    *p++ = '\n';
    out.append(line, int(p - line));
}

// Writes count bytes of 0xFF.
bool writeFill(QFile &f, quint64 count)
{
    static const QByteArray ff(1 << 16, char(0xFF));
    while (count > 0) {
        const qint64 n = qint64(qMin<quint64>(count, quint64(ff.size())));
        if (f.write(ff.constData(), n) != n)
            return false;
        count -= quint64(n);
    }
    return true;
}

bool writeAll(QFile &f, const QByteArray &bytes)
{
    return f.write(bytes) == bytes.size();
}

// Fills buf unless the file ends first; -1 on a read error.
qint64 readFull(QFile &f, uchar *buf, qint64 size)
{
    qint64 have = 0;
    while (have < size) {
        const qint64 got = f.read(reinterpret_cast<char *>(buf + have), size - have);
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        have += got;
    }
    return have;
}

} // namespace

namespace {
using H = HexTool;

// Reads records up to the end record; stop is left at the record being read.
int parseRecords(const char *text, qint64 size, ConvBinList &list, const char *&stop)
{
    const char *p = text;
    const char *const end = text + (text ? size : 0);
    quint32 base = 0;
    // The block that grows; only blocks of this call are ever continued.
    QByteArray *cur = nullptr;
    quint64 curEnd = 0;
    uchar rec[(H::MaxLine - 1) / 2];

    for (;;) {
        while (p < end && isSpace(*p))
            ++p;
        if (p == end) {
            stop = end;
            return H::NoEndRecord;
        }
        const char *tok = p;
        stop = tok;
        while (p < end && !isSpace(*p))
            ++p;
        const qint64 len = p - tok;
        if (len > H::MaxLine)
            return H::LineTooLong;
        if (len < 11)
            return H::LineTooShort;
        if (tok[0] != ':')
            return H::NoStartMark;
        if (len % 2 == 0)
            return H::BadLength;

        const int count = int(len - 1) / 2;
        const uchar *digits = reinterpret_cast<const uchar *>(tok + 1);
        uchar sum = 0;
        uchar bad = 0;
        for (int i = 0; i < count; ++i) {
            const uchar hi = kChars.v[digits[2 * i]];
            const uchar lo = kChars.v[digits[2 * i + 1]];
            bad |= hi | lo;
            rec[i] = uchar(hi << 4 | (lo & 0x0F));
            sum = uchar(sum + rec[i]);
        }
        if (bad & 0xF0)
            return H::BadDigit;
        const int n = rec[0];
        if (count != n + 5)
            return H::BadLength;
        if (sum != 0)
            return H::BadChecksum;

        const uchar *data = rec + 4;
        switch (rec[3]) {
        case 0: {
            if (n == 0)
                break; // nothing to place; an empty record must not open a block
            const quint32 addr = base + (quint32(rec[1]) << 8 | rec[2]);
            if (cur && addr == curEnd) {
                cur->append(reinterpret_cast<const char *>(data), n);
            } else {
                // Anything but the next address opens a block at its own address,
                // including data below the end of the current one.
                list.append(ConvBinData(QByteArray(reinterpret_cast<const char *>(data), n), addr, 0));
                cur = &list.last().m_baData;
                qCDebug(lcHexTool, "new binData, addr = 0x%08X", addr);
            }
            curEnd = quint64(addr) + quint64(n);
            break;
        }
        case 1:
            return H::Ok;
        case 2:
        case 4:
            if (n < 2)
                return H::BadLength;
            base = quint32(data[0]) << 8 | data[1];
            base <<= rec[3] == 2 ? 4 : 16;
            break;
        case 3:
        case 5:
            break;
        default:
            return H::BadType;
        }
    }
}
} // namespace

int HexTool::ParseHex(const char *text, qint64 size, ConvBinList &list, int *line)
{
    const char *stop = text;
    const int code = parseRecords(text, size, list, stop);
    if (line)
        *line = code == Ok ? 0 : int(std::count(text, stop, '\n')) + 1;
    return code;
}

int HexTool::ReadHexFile(const QString &hexPath, ConvBinList &list, int *line)
{
    if (line)
        *line = 0;
    QFile f(hexPath);
    if (hexPath.isEmpty() || !f.open(QIODevice::ReadOnly))
        return NoHexFile;
    const qint64 size = f.size();
    if (size > 0) {
        if (const uchar *map = f.map(0, size))
            return ParseHex(reinterpret_cast<const char *>(map), size, list, line);
    }
    // Not mappable (a pipe, a device): read it whole.
    const QByteArray all = f.readAll();
    return ParseHex(all.constData(), all.size(), list, line);
}

QString HexTool::ResultMessage(int code)
{
    switch (code) {
    case Ok: return tr("HEX文件转换bin数据成功!");
    case LineTooLong: return tr("HEX文件转换出错，数据太长");
    case LineTooShort: return tr("HEX文件转换出错，数据太短");
    case NoStartMark: return tr("HEX文件转换出错，无符号");
    case BadType: return tr("HEX文件转换出错，类型出错，不存在");
    case BadLength: return tr("HEX文件转换出错，数据长度字段和内容的总长度不对应");
    case BadChecksum: return tr("HEX文件转换出错，校验错误");
    case NoHexFile: return tr("HEX文件转换出错，HEX文件不存在");
    case BadBinPath: return tr("HEX文件转换出错，BIN文件路径不正确");
    case WriteFailed: return tr("HEX文件转换出错，写数据出错");
    case NoEndRecord: return tr("HEX文件转换出错，HEX文件没有结束符");
    case BadDigit: return tr("HEX文件转换出错，含有非十六进制字符");
    case SpanTooLarge: return tr("HEX文件转换出错，地址范围过大");
    default: return tr("HEX文件转换出错!");
    }
}

bool HexTool::FileConvHex2BinData(const QString &hexPath, ConvBinList &list, QString &err)
{
    int line = 0;
    const int code = ReadHexFile(hexPath, list, &line);
    err = ResultMessage(code);
    // Which line to look at, for a file that was read at all.
    if (line > 0)
        err += tr(" (第%1行)").arg(line);
    return code == Ok;
}

bool HexTool::ReadBlocks(const QString &hexPath, ConvBinList &list, QString &err)
{
    if (!FileConvHex2BinData(hexPath, list, err))
        return false;
    if (list.isEmpty()) {
        err = tr("转换数据为空!");
        return false;
    }
    return true;
}

bool HexTool::LowestAddress(const QString &hexPath, quint32 &addr, QString &err)
{
    ConvBinList list;
    if (!ReadBlocks(hexPath, list, err))
        return false;
    addr = Lowest(list);
    return true;
}

quint32 HexTool::Lowest(const ConvBinList &list)
{
    quint32 lowest = list.isEmpty() ? 0 : list.first().m_nAddr;
    for (const ConvBinData &block : list)
        lowest = qMin(lowest, block.m_nAddr);
    return lowest;
}

int HexTool::LayOut(ConvBinList &list, QByteArray &bytes)
{
    bytes.clear();
    if (list.isEmpty())
        return Ok;
    const quint32 base = Lowest(list);
    quint64 top = 0;
    for (const ConvBinData &block : list)
        top = qMax(top, block.EndAddr() - base);
    if (top > MaxSpan)
        return SpanTooLarge;
    if (list.size() == 1) {
        bytes = std::move(list.first().m_baData); // the common case: no copy
        return Ok;
    }
    bytes = QByteArray(int(top), char(0xFF));
    char *out = bytes.data();
    for (const ConvBinData &block : list)
        std::memcpy(out + (block.m_nAddr - base), block.m_baData.constData(), size_t(block.m_baData.size()));
    return Ok;
}

bool HexTool::FileConvHex2BinArray(const QString &hexPath, QByteArray &bytes, QString &err)
{
    ConvBinList list;
    if (!ReadBlocks(hexPath, list, err))
        return false;
    const int code = LayOut(list, bytes);
    if (code != Ok) {
        err = ResultMessage(code);
        return false;
    }
    return true;
}

bool HexTool::FileConvHex2Bin(const QString &hexPath, const QString &binPath, QString &err)
{
    ConvBinList list;
    if (!ReadBlocks(hexPath, list, err))
        return false;

    // Blocks below the running position are left out of the single file.
    const quint32 first = list.first().m_nAddr;
    quint64 position = first;
    for (const ConvBinData &block : list) {
        if (block.m_nAddr >= position)
            position = block.EndAddr();
    }
    if (position - first > MaxSpan) {
        err = ResultMessage(SpanTooLarge);
        return false;
    }

    bool ok = true;
    QDir().mkpath(QFileInfo(binPath).absolutePath());
    QFile bin(binPath);
    if (bin.exists())
        bin.setPermissions(bin.permissions() | QFile::ReadOwner | QFile::WriteOwner);
    if (binPath.isEmpty() || !bin.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err += tr("目标文件打开失败 ") + binPath;
        ok = false;
    } else {
        position = first;
        bool written = true;
        for (const ConvBinData &block : list) {
            if (block.m_nAddr < position)
                continue;
            written = written && writeFill(bin, block.m_nAddr - position) && writeAll(bin, block.m_baData);
            position = block.EndAddr();
        }
        written = bin.flush() && written;
        if (!written) {
            err += ResultMessage(WriteFailed);
            ok = false;
        }
        bin.close();
    }

    if (list.size() > 1) {
        QDir parts(binPath + QStringLiteral(".parts/"));
        if (parts.exists())
            parts.removeRecursively();
        QDir().mkpath(parts.path());
        for (const ConvBinData &block : list) {
            const QString name = QString::asprintf("%08X.bin", block.m_nAddr);
            QFile part(parts.filePath(name));
            if (!part.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                err += tr("part文件打开失败 ") + part.fileName();
                ok = false;
                continue;
            }
            if (!writeAll(part, block.m_baData) || !part.flush()) {
                err += ResultMessage(WriteFailed);
                ok = false;
            }
        }
    }
    return ok;
}

bool HexTool::FileConvBin2Hex(const QString &binPath, const QString &hexPath, QString &err)
{
    QFile bin(binPath);
    if (binPath.isEmpty() || !bin.open(QIODevice::ReadOnly)) {
        err = tr("BIN文件不存在!");
        return false;
    }
    QFile hex(hexPath);
    if (hexPath.isEmpty() || !hex.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err = tr("HEX文件路径错误!");
        return false;
    }

    // Whole 64 KiB pages at a time, so an address record only falls between reads.
    constexpr qint64 kPage = 1 << 16;
    std::vector<uchar> page(kPage);
    QByteArray out;
    out.reserve(int(kPage / 16 * 45 + 64));
    const uchar zero[2] = {0, 0};
    putRecord(out, 4, 0, zero, 2);
    quint64 offset = 0;
    bool ok = true;
    for (;;) {
        const qint64 got = readFull(bin, page.data(), kPage);
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (offset > 0 && offset % kPage == 0) {
            const uchar upper[2] = {uchar(offset >> 24), uchar(offset >> 16)};
            putRecord(out, 4, 0, upper, 2);
        }
        for (qint64 at = 0; at < got; at += 16) {
            const int n = int(qMin<qint64>(16, got - at));
            putRecord(out, 0, quint16(offset + quint64(at)), page.data() + at, n);
        }
        offset += quint64(got);
        if (!writeAll(hex, out)) {
            ok = false;
            break;
        }
        out.resize(0); // keeps the reserved capacity
        if (got < kPage)
            break;
    }
    if (ok) {
        const uchar start[4] = {0x00, 0x00, 0x00, 0xC1};
        putRecord(out, 5, 0, start, 4);
        putRecord(out, 1, 0, nullptr, 0);
        ok = writeAll(hex, out) && hex.flush();
    }
    if (!ok) {
        err = ResultMessage(WriteFailed);
        return false;
    }
    err = tr("BIN文件转换HEX文件成功!");
    return true;
}
