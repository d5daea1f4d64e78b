#pragma once
// Body of a message frame: timestamp, attempts, 16-byte id, message body.
#include <cstdint>
#include <string>

namespace nsq {

struct NsqMessage
{
    uint32_t minLength = 26;
    int64_t timestamp = 0; // nanoseconds, as nsqd sends it
    uint16_t attempts = 0;
    std::string id;
    std::string body;

    // False when the data is shorter than the fixed part.
    bool decode(const std::string &data);
};

} // namespace nsq
