#include "commonhead.h"

#include <cstring>

namespace {
void writeHead(char *buf, quint8 fourth, quint32 len)
{
    if (!buf)
        return;
    buf[0] = buf[1] = buf[2] = char(CommonHead::Mark);
    buf[3] = char(fourth);
    buf[4] = char(len & 0xFF);
    buf[5] = char((len >> 8) & 0xFF);
}

bool isMark(char c) { return quint8(c) == CommonHead::Mark; }
} // namespace

void CommonHead::MakeHead(char *buf, quint32 len)
{
    writeHead(buf, Mark, len);
}

bool CommonHead::CheckHead(const char *buf)
{
    return buf && isMark(buf[0]) && isMark(buf[1]) && isMark(buf[2]) && isMark(buf[3]);
}

void CommonHead::MakeShamHead(char *buf, quint8 type, quint32 len)
{
    writeHead(buf, type, len);
}

bool CommonHead::CheckShamHead(const char *buf, quint8 &type)
{
    if (!buf) {
        type = 0;
        return false;
    }
    type = quint8(buf[3]);
    return isMark(buf[0]) && isMark(buf[1]) && isMark(buf[2]);
}

quint16 CommonHead::HeadLength(const char *buf)
{
    return buf ? quint16(quint8(buf[4]) | (quint8(buf[5]) << 8)) : 0;
}

quint32 CommonHead::Char2UInt(const char *bytes)
{
    quint32 v = 0;
    if (bytes)
        std::memcpy(&v, bytes, sizeof v);
    return v;
}

void CommonHead::UInt2Char(char *bytes, quint32 value)
{
    if (bytes)
        std::memcpy(bytes, &value, sizeof value);
}

quint16 CommonHead::Char2Word(const char *bytes)
{
    quint16 v = 0;
    if (bytes)
        std::memcpy(&v, bytes, sizeof v);
    return v;
}

void CommonHead::Word2Char(char *bytes, quint16 value)
{
    if (bytes)
        std::memcpy(bytes, &value, sizeof value);
}
