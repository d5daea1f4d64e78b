#include "dataformat.h"

#include "bigendian.h"
#include "logwriter.h"

namespace nsq {

int DataFormat::readFrame(uv::PacketBuffer &buffer, uv::Frame &frame)
{
    auto &out = static_cast<DataFormat &>(frame);
    std::string head;
    if (buffer.readBufferN(head, 8) != 0)
        return -1;
    const uint32_t size = readBigEndian<uint32_t>(head.data());
    const uint32_t type = readBigEndian<uint32_t>(head.data() + 4);
    // A size below 4 cannot even hold the type word: the stream is no NSQ stream.
    if (type > Message || size < 4) {
        uv::LogWriter::Instance()->error("err parse buffer.");
        buffer.clear();
        return -1;
    }
    if (buffer.readSize() < uint64_t(size) + 4)
        return -1;
    buffer.clearBufferN(8);
    out.headLength = 8;
    out.size = size;
    out.type = type;
    buffer.readBufferN(out.body, size - 4);
    buffer.clearBufferN(size - 4);
    return 0;
}

} // namespace nsq
