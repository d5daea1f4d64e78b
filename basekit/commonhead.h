#pragma once
// Six-byte head in front of messages on byte streams: three 0x68 bytes, a fourth
// 0x68 (plain head) or a type byte (typed head), then a 16-bit length, low byte first.
#include "basekit_global.h"

#include <QtGlobal>

class BASEKIT_EXPORT CommonHead
{
public:
    static constexpr int HeadSize = 6;
    static constexpr quint8 Mark = 0x68;

    // Only the low 16 bits of len fit into a head.
    static void MakeHead(char *buf, quint32 len);
    // True when bytes 0..3 are all 0x68; the length is not looked at.
    static bool CheckHead(const char *buf);
    static void MakeShamHead(char *buf, quint8 type, quint32 len);
    // Always reports byte 3 in type; true when bytes 0..2 are all 0x68.
    static bool CheckShamHead(const char *buf, quint8 &type);
    // Length field of either head.
    static quint16 HeadLength(const char *buf);

    // Numbers inside payloads travel in host byte order, at any alignment.
    static quint32 Char2UInt(const char *bytes);
    static void UInt2Char(char *bytes, quint32 value);
    static quint16 Char2Word(const char *bytes);
    static void Word2Char(char *bytes, quint16 value);
};
