#pragma once
// Publisher on one nsqd; its answers are not looked at.
#include "nsqclient.h"

#include <string>

namespace nsq {

class NsqProducer
{
public:
    // Connects at once.
    NsqProducer(uv::EventLoop *loop, const uv::SocketAddr &addr);

    // -1 when the connection is down: the publication is lost for this node.
    int publish(const std::string &topic, const std::string &body);
    bool isConnected() const { return client.isConnected(); }

private:
    NsqClient client;
};

} // namespace nsq
