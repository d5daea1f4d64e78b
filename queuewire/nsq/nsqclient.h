#pragma once
// One TCP connection to one nsqd: magic on connect, frames in, NOP on heartbeats,
// reconnect 1500 ms after every failure or drop.
#include "nsqmessage.h"

#include "socketaddr.h"
#include "tcpclient.h"
#include "timer.h"

#include <functional>
#include <memory>
#include <string>

namespace nsq {

class NsqClient
{
public:
    using OnMessage = std::function<void(NsqMessage &)>;
    using OnBody = std::function<void(const std::string &)>;
    using OnConnectStatus = std::function<void(uv::TcpClient::ConnectStatus)>;

    static constexpr uint64_t ReconnectDelayMs = 1500;
    static constexpr uint64_t ReceiveBufferSize = 1024 * 1024;

    NsqClient(uv::EventLoop *loop, const uv::SocketAddr &address);
    NsqClient(const NsqClient &) = delete;
    NsqClient &operator=(const NsqClient &) = delete;

    void connect();
    int send(const std::string &data);
    bool isConnected() const { return tcp.isConnected(); }

    void setOnMessage(OnMessage callback) { onMessage = std::move(callback); }
    void setOnResponse(OnBody callback) { onResponse = std::move(callback); }
    void setOnError(OnBody callback) { onError = std::move(callback); }
    void setOnConnectStatus(OnConnectStatus callback) { onConnectStatus = std::move(callback); }

private:
    void onData(const char *data, ssize_t size);
    void onStatus(uv::TcpClient::ConnectStatus status);
    void scheduleReconnect();

    uv::EventLoop *m_loop;
    std::shared_ptr<uv::SocketAddr> address;
    uv::TcpClient tcp;
    OnMessage onMessage;
    OnBody onResponse;
    OnBody onError;
    OnConnectStatus onConnectStatus;
    // Owned here, so a client that goes away takes its pending retry with it.
    std::unique_ptr<uv::Timer> m_retry;
};

} // namespace nsq
