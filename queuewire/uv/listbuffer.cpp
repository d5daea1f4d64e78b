#include "listbuffer.h"

namespace uv {

int ListBuffer::append(const char *data, uint64_t size)
{
    m_bytes.insert(m_bytes.end(), data, data + size);
    return 0;
}

int ListBuffer::readBufferN(std::string &out, uint64_t n)
{
    if (n > m_bytes.size())
        return -1;
    out.assign(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(n));
    return 0;
}

int ListBuffer::clearBufferN(uint64_t n)
{
    if (n >= m_bytes.size())
        return clear();
    m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(n));
    return 0;
}

int ListBuffer::clear()
{
    m_bytes.clear();
    return 0;
}

} // namespace uv
