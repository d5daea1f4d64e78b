#pragma once
// Streams a file of the server's working folder to the station that asked for
// it with "file-read": Base64 chunks of 200 bytes in "file-content" messages,
// sent back to back, the last one with "more" false.
#include "protocolside.h"

#include <QString>

namespace qelmsg {
struct FileRead;
}

QEL_PROTO_NS_BEGIN

class RecvPacket;

class CFileSender
{
public:
    static constexpr int kChunkSize = 200;

    // False when the name is refused or the file cannot be opened (both logged).
    // Server only: the client receives files.
    static bool Stream(const RecvPacket &request, const qelmsg::FileRead &msg);

    // The working folder: data folder + "qel720A_server/" (created when missing).
    static QString WorkDir();
    // The "file-id" the next file gets; one counter for the whole program.
    static int NextFileId();
};

QEL_PROTO_NS_END
