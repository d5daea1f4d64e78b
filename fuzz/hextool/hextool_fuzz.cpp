// Any bytes through the HEX reader: a known result code, blocks built only from
// digits that were there, and a layout that puts each block where it belongs.
#include "hextool.h"

#include <QLoggingCategory>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool quiet = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("qel.hextool.debug=false"));
        return true;
    }();
    (void)quiet;

    ConvBinList list;
    const int code = HexTool::ParseHex(reinterpret_cast<const char *>(data), qint64(size), list);
    if (code < HexTool::Ok || code > HexTool::BadDigit || code == HexTool::NoHexFile)
        std::abort();
    quint64 total = 0;
    quint32 low = 0xFFFFFFFFu;
    quint64 high = 0;
    for (const ConvBinData &b : list) {
        total += quint64(b.m_baData.size());
        low = qMin(low, b.m_nAddr);
        high = qMax(high, b.EndAddr());
        if (b.m_baData.isEmpty() || b.m_nValue != 0)
            std::abort();
    }
    if (total * 2 > size)
        std::abort();

    // Lay out only small spans, so the run stays fast.
    if (!list.isEmpty() && high - low <= (1u << 20)) {
        const ConvBinData last = list.last();
        QByteArray bytes;
        if (HexTool::LayOut(list, bytes) != HexTool::Ok || quint64(bytes.size()) != high - low)
            std::abort();
        if (std::memcmp(bytes.constData() + (last.m_nAddr - low), last.m_baData.constData(),
                        size_t(last.m_baData.size()))
            != 0)
            std::abort();
    }
    return 0;
}
