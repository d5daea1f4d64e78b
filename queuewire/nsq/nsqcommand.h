#pragma once
// The bytes of every command this client sends.
#include <string>

namespace nsq {

class NsqCommand
{
public:
    static std::string magic();
    static std::string sub(const std::string &topic, const std::string &channel);
    static std::string rdy(int count);
    static std::string fin(const std::string &id);
    static std::string nop();
    static std::string pub(const std::string &topic, const std::string &body);
};

} // namespace nsq
