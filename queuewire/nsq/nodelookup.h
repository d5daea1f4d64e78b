#pragma once
// Asks an nsqlookupd (HTTP "GET /nodes") for the nsqd nodes it knows.
#include "nsqnode.h"

#include "httpclient.h"

#include <functional>
#include <memory>
#include <string>

namespace uv {
class EventLoop;
}

namespace nsq {

class NodeLookup
{
public:
    // Receives the node list, or null on any failure.
    using Completion = std::function<void(NsqNodesPtr)>;

    explicit NodeLookup(uv::EventLoop *loop);
    ~NodeLookup();

    // host must be a literal IPv4 address. Runs on the loop's thread.
    void lookupNodes(const std::string &host, int port, Completion completion);

    // The "producers" of a lookup answer; null (and a log line) when it does not parse.
    static NsqNodesPtr parseNodes(const std::string &body);

private:
    uv::EventLoop *m_loop;
    std::unique_ptr<uv::http::HttpClient> m_client;
};

} // namespace nsq
