#include "globalconfig.h"

#include "cyclebuffer.h"
#include "listbuffer.h"

#include <atomic>

namespace uv {

namespace {
std::atomic<int> g_mode{GlobalConfig::NoBuffer};
std::atomic<uint64_t> g_size{1024 * 1024};
// Written once before any connection exists, then only read.
GlobalConfig::FrameReader g_reader;
} // namespace

void GlobalConfig::setBufferMode(BufferMode mode) { g_mode = mode; }
GlobalConfig::BufferMode GlobalConfig::bufferMode() { return static_cast<BufferMode>(g_mode.load()); }
void GlobalConfig::setBufferSize(uint64_t size) { g_size = size; }
uint64_t GlobalConfig::bufferSize() { return g_size; }
void GlobalConfig::setFrameReader(FrameReader reader) { g_reader = std::move(reader); }
const GlobalConfig::FrameReader &GlobalConfig::frameReader() { return g_reader; }

std::shared_ptr<PacketBuffer> GlobalConfig::makeBuffer()
{
    switch (bufferMode()) {
    case CycleBufferMode: return std::make_shared<CycleBuffer>(bufferSize());
    case ListBufferMode: return std::make_shared<ListBuffer>();
    default: return nullptr;
    }
}

int PacketBuffer::readFrame(Frame &frame)
{
    const auto &reader = GlobalConfig::frameReader();
    return reader ? reader(*this, frame) : -1;
}

} // namespace uv
