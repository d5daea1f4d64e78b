#include "cdata.h"

#include <cstring>

CData::CData(const char *bytes, int length) : m_nLen(bytes && length > 0 ? length : 0)
{
    m_pData = std::make_unique<char[]>(size_t(m_nLen) + 1);
    if (m_nLen > 0)
        memcpy(m_pData.get(), bytes, size_t(m_nLen));
}

CData::~CData() = default;
