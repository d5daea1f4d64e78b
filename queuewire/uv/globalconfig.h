#pragma once
// Process-wide receive settings, set once before the first connection.
#include "packetbuffer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace uv {

class GlobalConfig
{
public:
    enum BufferMode { NoBuffer = 0, CycleBufferMode = 1, ListBufferMode = 2 };
    using FrameReader = std::function<int(PacketBuffer &, Frame &)>;

    static void setBufferMode(BufferMode mode);
    static BufferMode bufferMode();
    static void setBufferSize(uint64_t size);
    static uint64_t bufferSize();
    static void setFrameReader(FrameReader reader);
    static const FrameReader &frameReader();

    // A buffer of the configured mode and size; null in mode NoBuffer.
    static std::shared_ptr<PacketBuffer> makeBuffer();
};

} // namespace uv
