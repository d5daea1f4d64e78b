// Bytes from nsqd or nsqlookupd. Byte 0 picks the parser, byte 1 seeds the
// piece sizes a socket would hand over:
//   0: the frame reader over the ring buffer, then message decoding
//   1: the same over the list buffer
//   2: the lookup's JSON node list
//   3: an HTTP response arriving piece by piece, then at the close
#include "cyclebuffer.h"
#include "dataformat.h"
#include "globalconfig.h"
#include "listbuffer.h"
#include "logwriter.h"
#include "nodelookup.h"
#include "nsqmessage.h"
#include "response.h"

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

namespace {

void Require(bool ok)
{
    if (!ok)
        std::abort();
}

void Frames(uv::PacketBuffer &buffer, const std::string &in, std::minstd_rand &rng)
{
    size_t at = 0;
    while (at < in.size()) {
        const size_t n = std::min<size_t>(1 + rng() % 200, in.size() - at);
        if (buffer.append(in.data() + at, n) != 0)
            return; // full: the client drops the connection then
        at += n;
        nsq::DataFormat frame;
        uint64_t before = buffer.readSize();
        while (buffer.readFrame(frame) == 0) {
            Require(frame.type <= nsq::DataFormat::Message && frame.size >= 4);
            Require(frame.body.size() == frame.size - 4);
            Require(before - buffer.readSize() == uint64_t(frame.size) + 4);
            before = buffer.readSize();
            if (frame.type == nsq::DataFormat::Message) {
                nsq::NsqMessage message;
                if (message.decode(frame.body))
                    Require(message.id.size() == 16 && message.body.size() == frame.body.size() - 26);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = [] {
        uv::GlobalConfig::setFrameReader(&nsq::DataFormat::readFrame);
        uv::LogWriter::Instance()->registerLogCallback([](int, const std::string &) {});
        return true;
    }();
    (void)ready;
    if (size < 2)
        return 0;
    std::minstd_rand rng(data[1] + 1u);
    const std::string in(reinterpret_cast<const char *>(data + 2), size - 2);

    switch (data[0] % 4) {
    case 0: {
        uv::CycleBuffer ring(4096);
        Frames(ring, in, rng);
        break;
    }
    case 1: {
        uv::ListBuffer list;
        Frames(list, in, rng);
        break;
    }
    case 2: {
        const nsq::NsqNodesPtr nodes = nsq::NodeLookup::parseNodes(in);
        if (nodes)
            for (const nsq::NsqNode &node : *nodes)
                (void)node.remote_address.size();
        break;
    }
    default: {
        const bool noBody = data[1] & 1;
        std::string got;
        size_t at = 0;
        uv::http::Response::ParseResult r = uv::http::Response::ParseIncomplete;
        while (at < in.size() && r == uv::http::Response::ParseIncomplete) {
            const size_t n = std::min<size_t>(1 + rng() % 300, in.size() - at);
            got.append(in, at, n);
            at += n;
            uv::http::Response response;
            r = response.parse(got, false, noBody);
            if (r == uv::http::Response::ParseComplete)
                Require(response.content().size() <= got.size());
        }
        if (r == uv::http::Response::ParseIncomplete) {
            uv::http::Response response;
            response.parse(got, true, noBody);
            response.getHead("Content-Length");
        }
        break;
    }
    }
    return 0;
}
