#pragma once
// Network byte order of NSQ's size words, timestamps and attempt counts.
#include <cstdint>
#include <string>

namespace nsq {

template<typename T>
T readBigEndian(const char *data)
{
    T value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value = static_cast<T>((static_cast<uint64_t>(value) << 8) | static_cast<unsigned char>(data[i]));
    return value;
}

template<typename T>
void appendBigEndian(std::string &out, T value)
{
    for (size_t i = sizeof(T); i-- > 0;)
        out.push_back(static_cast<char>((static_cast<uint64_t>(value) >> (8 * i)) & 0xff));
}

} // namespace nsq
