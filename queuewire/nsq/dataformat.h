#pragma once
// One NSQ frame: 4-byte big-endian size (type + data), 4-byte big-endian type, data.
#include "packetbuffer.h"

#include <cstdint>
#include <string>

namespace nsq {

struct DataFormat : uv::Frame
{
    enum FrameType : uint32_t { Response = 0, Error = 1, Message = 2 };

    uint32_t headLength = 8;
    uint32_t size = 0;
    uint32_t type = 0;
    std::string body;

    // The connection's frame reader: 0 when a frame was taken out of the buffer.
    static int readFrame(uv::PacketBuffer &buffer, uv::Frame &frame);
};

} // namespace nsq
