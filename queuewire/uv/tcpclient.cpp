#include "tcpclient.h"

#include "eventloop.h"
#include "handleclose.h"
#include "logwriter.h"

namespace uv {

TcpClient::TcpClient(EventLoop *loop, bool tcpNoDelay)
    : m_loop(loop)
    , m_tcpNoDelay(tcpNoDelay)
{
}

TcpClient::~TcpClient()
{
    m_connection.reset();
    dropSocket();
}

void TcpClient::dropSocket()
{
    // A socket still connecting is detached; its connect ends as cancelled.
    closeHandle(m_socket);
    m_socket = nullptr;
    if (m_failingSocket) {
        m_failingSocket->data = nullptr;
        m_failingSocket = nullptr;
    }
}

void TcpClient::connect(const SocketAddr &addr)
{
    m_connection.reset();
    dropSocket();
    m_ipv = addr.Ipv();
    m_socket = new uv_tcp_t;
    uv_tcp_init(m_loop->handle(), m_socket);
    m_socket->data = this;
    if (m_tcpNoDelay)
        uv_tcp_nodelay(m_socket, 1);
    // An address text that did not parse would leave 0.0.0.0, which reaches this host.
    if (!addr.isValid()) {
        connectFailed(UV_EINVAL);
        return;
    }
    auto *req = new uv_connect_t;
    const int rc = uv_tcp_connect(req, m_socket, addr.Addr(), &TcpClient::onConnect);
    if (rc != 0) {
        delete req;
        connectFailed(rc);
    }
}

void TcpClient::onConnect(uv_connect_t *req, int status)
{
    auto *self = static_cast<TcpClient *>(req->handle->data);
    auto *socket = reinterpret_cast<uv_tcp_t *>(req->handle);
    delete req;
    // Owner gone or socket replaced by a newer connect: nothing to report.
    if (!self || self->m_socket != socket)
        return;
    if (status == 0)
        self->connected();
    else
        self->connectFailed(status);
}

void TcpClient::connected()
{
    sockaddr_storage peer{};
    int length = sizeof peer;
    char ip[64] = "";
    int port = 0;
    if (uv_tcp_getpeername(m_socket, reinterpret_cast<sockaddr *>(&peer), &length) == 0) {
        if (peer.ss_family == AF_INET6) {
            auto *in6 = reinterpret_cast<sockaddr_in6 *>(&peer);
            uv_ip6_name(in6, ip, sizeof ip);
            port = ntohs(in6->sin6_port);
        } else {
            auto *in4 = reinterpret_cast<sockaddr_in *>(&peer);
            uv_ip4_name(in4, ip, sizeof ip);
            port = ntohs(in4->sin_port);
        }
    }
    // The connection owns the socket from here on.
    uv_tcp_t *socket = m_socket;
    m_socket = nullptr;
    m_connection = std::make_shared<TcpConnection>(m_loop, std::string(ip) + ":" + std::to_string(port), socket);
    m_connection->setMessageCallback([this](const char *data, ssize_t size) {
        if (m_onMessage)
            m_onMessage(data, size);
    });
    m_connection->setCloseCallback([this] { connectionClosed(); });
    report(ConnectSuccess);
}

void TcpClient::connectFailed(int status)
{
    LogWriter::Instance()->error("connect fail.");
    // Reported once the failed socket is closed, so a reconnect gets a clean start.
    uv_tcp_t *socket = m_socket;
    m_socket = nullptr;
    socket->data = this;
    uv_close(reinterpret_cast<uv_handle_t *>(socket), [](uv_handle_t *handle) {
        auto *self = static_cast<TcpClient *>(handle->data);
        delete reinterpret_cast<uv_tcp_t *>(handle);
        if (!self)
            return;
        self->m_failingSocket = nullptr;
        self->report(ConnectFail);
    });
    m_failingSocket = socket;
}

void TcpClient::connectionClosed()
{
    LogWriter::Instance()->info("Close tcp client connection complete.");
    // Kept alive until this call returns: the callbacks below may reconnect.
    std::shared_ptr<TcpConnection> closed = std::move(m_connection);
    if (m_onClosedByRequest) {
        auto callback = std::move(m_onClosedByRequest);
        m_onClosedByRequest = nullptr;
        callback();
        return;
    }
    report(ConnectClose);
}

int TcpClient::write(const char *data, size_t size, AfterWriteCallback callback)
{
    if (!m_connection || !m_connection->isConnected()) {
        LogWriter::Instance()->warn("try write a disconnect connection.");
        if (callback) {
            WriteInfo info{-1, data, size};
            callback(info);
        }
        return -1;
    }
    return m_connection->write(data, size, std::move(callback));
}

void TcpClient::close(std::function<void()> callback)
{
    if (!m_connection || !m_connection->isConnected()) {
        if (callback)
            callback();
        return;
    }
    m_onClosedByRequest = callback ? std::move(callback) : [] {};
    m_connection->close();
}

std::shared_ptr<PacketBuffer> TcpClient::currentBuffer()
{
    return m_connection ? m_connection->getPacketBuffer() : nullptr;
}

bool TcpClient::isConnected() const
{
    return m_connection && m_connection->isConnected();
}

void TcpClient::report(ConnectStatus status)
{
    if (m_onConnectStatus)
        m_onConnectStatus(status);
}

} // namespace uv
