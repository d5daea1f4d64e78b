#pragma once
// One contiguous block of bytes read from an Intel HEX file, with its load address.
#include "basekit_global.h"

#include <QByteArray>
#include <QVector>

class BASEKIT_EXPORT ConvBinData
{
public:
    ConvBinData() = default;
    ConvBinData(const QByteArray &data, quint32 addr, quint32 value);
    ConvBinData(const ConvBinData &other) = default;
    ConvBinData(ConvBinData &&other) noexcept = default;
    ConvBinData &operator=(const ConvBinData &other) = default;
    ConvBinData &operator=(ConvBinData &&other) noexcept = default;

    // One past the last byte, in 64 bits so a block that ends at 4 GiB does not wrap to 0.
    quint64 EndAddr() const { return quint64(m_nAddr) + quint64(m_baData.size()); }

    QByteArray m_baData;
    quint32 m_nAddr = 0;
    // Free for the caller (a merge keeps the index of the program list entry here);
    // 0 for blocks read from a HEX file.
    quint32 m_nValue = 0;
};

// Blocks in the order they were first met in the file; the holder owns them.
using ConvBinList = QVector<ConvBinData>;
