#include "cusbmergeimage.h"

#include "cusbfileframes.h"

#include <csafefile.h>

#include <QFile>

#include <algorithm>
#include <cctype>

namespace {
bool parseHex(const QString &text, quint32 &value)
{
    bool ok = false;
    value = text.toUInt(&ok, 16);
    return ok;
}

// Hex digit pairs; blanks between them are allowed, anything else is not.
bool decodeHex(const QByteArray &text, QByteArray &out)
{
    QByteArray digits;
    digits.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\r')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        digits.append(c);
    }
    if (digits.size() % 2)
        return false;
    out = QByteArray::fromHex(digits);
    return true;
}
} // namespace

bool CUsbMergeImage::ReadSegmentFile(const QString &path, QList<UsbSegment> &segs, QString &err)
{
    QByteArray text;
    QString reason;
    if (!CSafeFile::ReadAll(path, QString(), text, reason)) {
        err = tr("文件读取失败!");
        return false;
    }
    return ParseSegmentText(text, segs, err);
}

bool CUsbMergeImage::ParseSegmentText(const QByteArray &text, QList<UsbSegment> &segs, QString &err)
{
    segs.clear();
    const QList<QByteArray> lines = text.split('\n');
    QList<QByteArray> collected;
    int shortLines = 0;
    int i = 0;
    while (i < lines.size()) {
        const QByteArray line = lines.at(i++).trimmed();
        if (line.isEmpty())
            continue;
        collected.append(line);
        if (line.size() == 4 || line.size() == 5)
            ++shortLines;
        if (shortLines < 2)
            continue;
        UsbSegment seg;
        if (!parseHex(QString::fromLatin1(collected.at(0)), seg.addr)
            || !parseHex(QString::fromLatin1(collected.at(1)), seg.len)) {
            err = tr("文件读取失败!");
            return false;
        }
        if (seg.len > kMaxSegment) {
            err = tr("文件读取失败， 长度错误!");
            return false;
        }
        QByteArray hex;
        while (i < lines.size() && !lines.at(i).trimmed().isEmpty())
            hex += lines.at(i++);
        if (!decodeHex(hex, seg.data) || quint32(seg.data.size()) != seg.len) {
            err = tr("读取文件失败！实际数据长度与声明数据长度不匹配！请检查");
            return false;
        }
        segs.append(seg);
        collected.clear();
        shortLines = 0;
    }
    // Lines that never became a segment would be dropped from the image unseen.
    if (!collected.isEmpty()) {
        err = tr("文件读取失败!");
        return false;
    }
    return true;
}

bool CUsbMergeImage::Load(const QString &bin1, const QString &bin2, const QString &bin3, QString &err)
{
    m_bBin1 = !bin1.isEmpty();
    m_bin1.clear();
    m_bin2.clear();
    m_bin3.clear();
    if (m_bBin1) {
        QString reason;
        if (!CSafeFile::ReadAll(bin1, QString(), m_bin1, reason)) {
            err = tr("文件读取失败!");
            return false;
        }
    }
    if (!bin2.isEmpty() && !ReadSegmentFile(bin2, m_bin2, err))
        return false;
    if (!bin3.isEmpty() && !ReadSegmentFile(bin3, m_bin3, err))
        return false;
    return true;
}

CUsbMergeImage::Result CUsbMergeImage::Merge(QByteArray &out, QString &err)
{
    out.clear();
    // Empty segments hold nothing to place.
    QList<UsbSegment> parts;
    for (const UsbSegment &seg : m_bin2 + m_bin3) {
        if (seg.len > 0)
            parts.append(seg);
    }
    // Without BIN1 the image starts at the lowest segment, so no part lies in front of it.
    m_nBase = 0;
    if (!m_bBin1 && !parts.isEmpty()) {
        m_nBase = parts.first().addr;
        for (const UsbSegment &seg : parts)
            m_nBase = std::min(m_nBase, seg.addr);
    }

    // Every part against every other, in address order, before anything is copied.
    struct Span { quint64 begin, end; };
    QList<Span> spans;
    if (m_bBin1 && !m_bin1.isEmpty())
        spans.append({0, quint64(m_bin1.size())});
    for (const UsbSegment &seg : parts)
        spans.append({seg.addr, quint64(seg.addr) + seg.len});
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.begin < b.begin; });
    quint64 end = 0;
    for (int i = 0; i < spans.size(); ++i) {
        if (i > 0 && spans.at(i).begin < end) {
            err = tr("当前程序数据的地址与长度存在重叠，会覆盖数据，请确认并修改！");
            return Overlap;
        }
        end = std::max(end, spans.at(i).end);
    }
    if (!spans.isEmpty() && end - m_nBase > quint64(CUsbFileFrames::kMaxFileSize)) {
        err = tr("当前程序数据地址超出范围，请确认并修改！");
        return TooLarge;
    }

    out = m_bin1;
    for (const UsbSegment &seg : parts) {
        const int offset = int(seg.addr - m_nBase);
        if (out.size() < offset + int(seg.len))
            out.append(offset + int(seg.len) - out.size(), char(0xFF));
        std::copy(seg.data.cbegin(), seg.data.cend(), out.begin() + offset);
    }
    if (out.isEmpty()) {
        err = tr("当前程序数据为空，请重新加载确认！");
        return Empty;
    }
    return MergeOk;
}
