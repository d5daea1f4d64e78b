#pragma once
// Subscription of one topic and channel on one nsqd; every decoded message is finished.
#include "nsqclient.h"

#include <functional>
#include <memory>
#include <string>

namespace nsq {

class NsqConsumer
{
public:
    using MessageCallback = std::function<void(NsqMessage &)>;

    NsqConsumer(uv::EventLoop *loop, const std::string &topic, const std::string &channel);

    // Builds a fresh client for this address (an earlier one is dropped).
    void setAddress(const uv::SocketAddr &addr);
    void setReadyCount(int count) { readyCount = count; }
    void setMessageCallback(MessageCallback callback) { messageCallback = std::move(callback); }
    void setResponseCallback(NsqClient::OnBody callback) { responseCallback = std::move(callback); }
    void setErrorCallback(NsqClient::OnBody callback) { errorCallback = std::move(callback); }
    void start();

    const std::string &getTopic() const { return topic; }
    const std::string &getChannel() const { return channel; }

private:
    void onConnectStatus(uv::TcpClient::ConnectStatus status);

    uv::EventLoop *loop;
    int started = 0;
    std::shared_ptr<NsqClient> client;
    std::string topic;
    std::string channel;
    int readyCount = 1;
    MessageCallback messageCallback;
    NsqClient::OnBody responseCallback;
    NsqClient::OnBody errorCallback;
};

} // namespace nsq
