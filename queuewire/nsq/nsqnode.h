#pragma once
// One nsqd node as the lookup reports it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nsq {

struct NsqNode
{
    std::string remote_address; // kept, not used for connecting
    uint16_t tcp_port = 0;
    uint16_t http_port = 0;
};

using NsqNodes = std::vector<NsqNode>;
// Shared read-only between the consumer and producer threads.
using NsqNodesPtr = std::shared_ptr<const NsqNodes>;

} // namespace nsq
