#pragma once
// Plain six-byte frame head of the TCP links ("hhhh" + 16-bit length).
#include "burnhub_global.h"

#include <QtGlobal>

class BURNHUB_EXPORT TcpHead
{
public:
    static void MakeHead(char *buffer, quint32 length);
    static bool CheckHead(const char *buffer);
};
