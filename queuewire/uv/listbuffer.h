#pragma once
// Unbounded byte queue; the alternative to the ring when frames may be large.
#include "packetbuffer.h"

#include <deque>

namespace uv {

class ListBuffer : public PacketBuffer
{
public:
    int append(const char *data, uint64_t size) override;
    int readBufferN(std::string &out, uint64_t n) override;
    int clearBufferN(uint64_t n) override;
    int clear() override;
    uint64_t readSize() override { return m_bytes.size(); }

private:
    std::deque<char> m_bytes;
};

} // namespace uv
