#include "convbindata.h"

ConvBinData::ConvBinData(const QByteArray &data, quint32 addr, quint32 value)
    : m_baData(data), m_nAddr(addr), m_nValue(value)
{
}
