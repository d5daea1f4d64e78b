#pragma once
// Client side of one TCP link; every connect builds a fresh socket.
#include "socketaddr.h"
#include "tcpconnection.h"

#include <uv.h>

#include <functional>
#include <memory>

namespace uv {

class EventLoop;

class TcpClient
{
public:
    enum ConnectStatus { ConnectSuccess = 0, ConnectFail = 1, ConnectClose = 2 };
    using ConnectStatusCallback = std::function<void(ConnectStatus)>;
    using NewMessageCallback = std::function<void(const char *data, ssize_t size)>;

    TcpClient(EventLoop *loop, bool tcpNoDelay = true);
    ~TcpClient();
    TcpClient(const TcpClient &) = delete;
    TcpClient &operator=(const TcpClient &) = delete;

    void connect(const SocketAddr &addr);
    // -1 (and a log line) when not connected; nothing is queued.
    int write(const char *data, size_t size, AfterWriteCallback callback = nullptr);
    void close(std::function<void()> callback);

    void setConnectStatusCallback(ConnectStatusCallback callback) { m_onConnectStatus = std::move(callback); }
    void setMessageCallback(NewMessageCallback callback) { m_onMessage = std::move(callback); }
    std::shared_ptr<PacketBuffer> currentBuffer();
    bool isConnected() const;
    EventLoop *Loop() { return m_loop; }

private:
    static void onConnect(uv_connect_t *req, int status);
    void connected();
    void connectFailed(int status);
    void connectionClosed();
    void report(ConnectStatus status);
    void dropSocket();

    EventLoop *m_loop;
    uv_tcp_t *m_socket = nullptr;
    uv_tcp_t *m_failingSocket = nullptr; // closing after a failed connect
    SocketAddr::IPV m_ipv = SocketAddr::Ipv4;
    bool m_tcpNoDelay;
    ConnectStatusCallback m_onConnectStatus;
    NewMessageCallback m_onMessage;
    std::shared_ptr<TcpConnection> m_connection;
    std::function<void()> m_onClosedByRequest;
};

} // namespace uv
