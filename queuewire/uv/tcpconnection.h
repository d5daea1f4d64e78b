#pragma once
// One established TCP stream: reads, writes and its own receive buffer.
#include "packetbuffer.h"

#include <uv.h>

#include <functional>
#include <memory>
#include <string>

namespace uv {

class EventLoop;

struct WriteInfo
{
    int status; // 0 written, negative libuv error, -1 not connected
    const char *buf;
    size_t size;
};

using OnMessageCallback = std::function<void(const char *data, ssize_t size)>;
using AfterWriteCallback = std::function<void(WriteInfo &)>;

class TcpConnection
{
public:
    using OnCloseCallback = std::function<void()>;

    // Takes over an open socket and starts reading it.
    TcpConnection(EventLoop *loop, const std::string &name, uv_tcp_t *socket);
    ~TcpConnection();
    TcpConnection(const TcpConnection &) = delete;
    TcpConnection &operator=(const TcpConnection &) = delete;

    int write(const char *data, size_t size, AfterWriteCallback callback);
    // The close callback follows once the socket is closed.
    void close();

    void setMessageCallback(OnMessageCallback callback) { m_onMessage = std::move(callback); }
    void setCloseCallback(OnCloseCallback callback) { m_onClose = std::move(callback); }
    bool isConnected() const { return m_connected; }
    const std::string &Name() const { return m_name; }
    std::shared_ptr<PacketBuffer> getPacketBuffer() { return m_buffer; }

private:
    static void onRead(uv_stream_t *stream, ssize_t nread, const uv_buf_t *buf);
    static void onClosed(uv_handle_t *handle);

    [[maybe_unused]] EventLoop *m_loop;
    uv_tcp_t *m_socket;
    std::string m_name;
    bool m_connected = true;
    OnMessageCallback m_onMessage;
    OnCloseCallback m_onClose;
    std::shared_ptr<PacketBuffer> m_buffer;
};

} // namespace uv
