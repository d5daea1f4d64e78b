#include "nsqproducer.h"

#include "nsqcommand.h"

namespace nsq {

NsqProducer::NsqProducer(uv::EventLoop *loop, const uv::SocketAddr &addr)
    : client(loop, addr)
{
    client.setOnMessage([](NsqMessage &) {});
    client.connect();
}

int NsqProducer::publish(const std::string &topic, const std::string &body)
{
    return client.send(NsqCommand::pub(topic, body));
}

} // namespace nsq
