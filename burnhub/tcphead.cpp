#include "tcphead.h"

#include "commonhead.h"

void TcpHead::MakeHead(char *buffer, quint32 length)
{
    CommonHead::MakeHead(buffer, length);
}

bool TcpHead::CheckHead(const char *buffer)
{
    return CommonHead::CheckHead(buffer);
}
