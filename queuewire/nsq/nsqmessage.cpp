#include "nsqmessage.h"

#include "bigendian.h"

namespace nsq {

bool NsqMessage::decode(const std::string &data)
{
    if (data.size() < minLength)
        return false;
    timestamp = readBigEndian<int64_t>(data.data());
    attempts = readBigEndian<uint16_t>(data.data() + 8);
    id = data.substr(10, 16);
    body = data.substr(26);
    return true;
}

} // namespace nsq
