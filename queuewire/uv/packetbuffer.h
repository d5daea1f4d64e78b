#pragma once
// Receive buffer of one connection; a frame reader takes whole frames out of it.
#include <cstdint>
#include <string>

namespace uv {

// Base of whatever a frame reader fills.
struct Frame
{
    virtual ~Frame() = default;
};

class PacketBuffer
{
public:
    virtual ~PacketBuffer() = default;
    // 0, or -1 when the data does not fit (nothing is taken then).
    virtual int append(const char *data, uint64_t size) = 0;
    // Copies the first n bytes without removing them; -1 when fewer are held.
    virtual int readBufferN(std::string &out, uint64_t n) = 0;
    // Removes the first n bytes, or all when fewer are held.
    virtual int clearBufferN(uint64_t n) = 0;
    virtual int clear() = 0;
    virtual uint64_t readSize() = 0;

    // Takes one frame with the process-wide reader: 0 taken, -1 not (yet).
    int readFrame(Frame &frame);
};

} // namespace uv
