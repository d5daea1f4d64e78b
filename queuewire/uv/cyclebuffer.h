#pragma once
// Fixed-size ring; every byte of it is usable (a count tells full from empty).
#include "packetbuffer.h"

#include <vector>

namespace uv {

class CycleBuffer : public PacketBuffer
{
public:
    explicit CycleBuffer(uint64_t capacity);

    int append(const char *data, uint64_t size) override;
    int readBufferN(std::string &out, uint64_t n) override;
    int clearBufferN(uint64_t n) override;
    int clear() override;
    uint64_t readSize() override { return m_used; }

    uint64_t capacity() const { return m_buffer.size(); }

private:
    std::vector<char> m_buffer;
    uint64_t m_readIndex = 0;
    uint64_t m_writeIndex = 0;
    uint64_t m_used = 0;
};

} // namespace uv
