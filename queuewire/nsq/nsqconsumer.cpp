#include "nsqconsumer.h"

#include "nsqcommand.h"

namespace nsq {

NsqConsumer::NsqConsumer(uv::EventLoop *loop, const std::string &topic, const std::string &channel)
    : loop(loop)
    , topic(topic)
    , channel(channel)
{
}

void NsqConsumer::setAddress(const uv::SocketAddr &addr)
{
    client = std::make_shared<NsqClient>(loop, addr);
    client->setOnConnectStatus([this](uv::TcpClient::ConnectStatus status) { onConnectStatus(status); });
}

void NsqConsumer::start()
{
    if (!client)
        return;
    client->setOnMessage([this](NsqMessage &message) {
        if (messageCallback)
            messageCallback(message);
        client->send(NsqCommand::fin(message.id));
    });
    client->setOnResponse(responseCallback);
    client->setOnError(errorCallback);
    client->connect();
    started = 1;
}

void NsqConsumer::onConnectStatus(uv::TcpClient::ConnectStatus status)
{
    // Every new connection repeats the whole opening.
    if (status != uv::TcpClient::ConnectSuccess)
        return;
    client->send(NsqCommand::sub(topic, channel));
    client->send(NsqCommand::rdy(readyCount));
}

} // namespace nsq
