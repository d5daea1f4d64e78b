#include "nsqcommand.h"

#include "bigendian.h"

#include <cstdint>

namespace nsq {

std::string NsqCommand::magic() { return "  V2"; }

std::string NsqCommand::sub(const std::string &topic, const std::string &channel)
{
    return "SUB " + topic + " " + channel + "\n";
}

std::string NsqCommand::rdy(int count) { return "RDY " + std::to_string(count) + "\n"; }

std::string NsqCommand::fin(const std::string &id) { return "FIN " + id + "\n"; }

std::string NsqCommand::nop() { return "NOP\n"; }

std::string NsqCommand::pub(const std::string &topic, const std::string &body)
{
    std::string out = "PUB " + topic + "\n";
    appendBigEndian<uint32_t>(out, static_cast<uint32_t>(body.size()));
    out += body;
    return out;
}

} // namespace nsq
