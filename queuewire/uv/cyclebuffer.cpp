#include "cyclebuffer.h"

#include <algorithm>
#include <cstring>

namespace uv {

CycleBuffer::CycleBuffer(uint64_t capacity)
    : m_buffer(capacity)
{
}

int CycleBuffer::append(const char *data, uint64_t size)
{
    if (size == 0)
        return 0;
    if (size > m_buffer.size() - m_used)
        return -1;
    const uint64_t first = std::min<uint64_t>(size, m_buffer.size() - m_writeIndex);
    std::memcpy(m_buffer.data() + m_writeIndex, data, first);
    std::memcpy(m_buffer.data(), data + first, size - first);
    m_writeIndex = (m_writeIndex + size) % m_buffer.size();
    m_used += size;
    return 0;
}

int CycleBuffer::readBufferN(std::string &out, uint64_t n)
{
    if (n > m_used)
        return -1;
    const uint64_t first = std::min<uint64_t>(n, m_buffer.size() - m_readIndex);
    out.assign(m_buffer.data() + m_readIndex, first);
    out.append(m_buffer.data(), n - first);
    return 0;
}

int CycleBuffer::clearBufferN(uint64_t n)
{
    if (n >= m_used)
        return clear();
    m_readIndex = (m_readIndex + n) % m_buffer.size();
    m_used -= n;
    return 0;
}

int CycleBuffer::clear()
{
    m_readIndex = m_writeIndex = m_used = 0;
    return 0;
}

} // namespace uv
