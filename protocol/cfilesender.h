#pragma once
// Streams a file of the server's working folder to the station that asked for
// it with "file-read": Base64 chunks of 200 bytes in "file-content" messages,
// the last one with "more" false. The chunks go out a batch per turn of the
// event loop, so the window keeps working, and a TCP peer that does not take
// what it was sent holds its transfer instead of growing our buffers.
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
    // Chunks one transfer sends per turn of the event loop.
    static constexpr int kChunksPerTurn = 64;
    // A transfer waits while its TCP peer has this much not yet taken.
    static constexpr qint64 kPauseBytes = 256 * 1024;
    // A transfer that could not send for this long is given up.
    static constexpr int kStallMs = 30000;
    // Transfers one peer may have running at once; more requests are refused.
    static constexpr int kMaxPerPeer = 4;

    // Starts a transfer; false when the name is refused, the file cannot be
    // opened or the peer has too many running (each logged). Server only: the
    // client receives files.
    static bool Stream(const RecvPacket &request, const qelmsg::FileRead &msg);
    // Transfers still running.
    static int Running();

    // The working folder: data folder + "qel720A_server/" (created when missing).
    static QString WorkDir();
    // The "file-id" the next file gets; one counter for the whole program.
    static int NextFileId();
};

QEL_PROTO_NS_END
