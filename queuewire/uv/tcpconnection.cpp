#include "tcpconnection.h"

#include "eventloop.h"
#include "globalconfig.h"
#include "handleclose.h"
#include "logwriter.h"

#include <cstring>

namespace uv {

namespace {

struct WriteRequest
{
    uv_write_t req;
    std::string data;
    AfterWriteCallback callback;
};

void onWritten(uv_write_t *req, int status)
{
    std::unique_ptr<WriteRequest> request(static_cast<WriteRequest *>(req->data));
    if (status < 0) {
        const std::string reason = status == -1 ? "the connection is disconnected" : uv_strerror(status);
        LogWriter::Instance()->error("write data error:" + reason);
    }
    if (request->callback) {
        WriteInfo info{status, request->data.data(), request->data.size()};
        request->callback(info);
    }
}

// Bytes are handed on before the next read, so one buffer per thread serves all sockets.
void allocate(uv_handle_t *, size_t, uv_buf_t *buf)
{
    thread_local char storage[64 * 1024];
    buf->base = storage;
    buf->len = sizeof storage;
}

} // namespace

TcpConnection::TcpConnection(EventLoop *loop, const std::string &name, uv_tcp_t *socket)
    : m_loop(loop)
    , m_socket(socket)
    , m_name(name)
    , m_buffer(GlobalConfig::makeBuffer())
{
    m_socket->data = this;
    uv_read_start(reinterpret_cast<uv_stream_t *>(m_socket), allocate, &TcpConnection::onRead);
}

TcpConnection::~TcpConnection()
{
    closeHandle(m_socket);
}

int TcpConnection::write(const char *data, size_t size, AfterWriteCallback callback)
{
    if (!m_socket || !m_connected)
        return -1;
    auto request = std::make_unique<WriteRequest>();
    request->data.assign(data, size);
    request->callback = std::move(callback);
    request->req.data = request.get();
    uv_buf_t buf = uv_buf_init(request->data.data(), static_cast<unsigned int>(request->data.size()));
    const int rc = uv_write(&request->req, reinterpret_cast<uv_stream_t *>(m_socket), &buf, 1, onWritten);
    if (rc != 0) {
        LogWriter::Instance()->error("write data error:" + std::string(uv_strerror(rc)));
        if (request->callback) {
            WriteInfo info{rc, request->data.data(), request->data.size()};
            request->callback(info);
        }
        return rc;
    }
    request.release(); // freed by onWritten
    return 0;
}

void TcpConnection::close()
{
    if (!m_socket || uv_is_closing(reinterpret_cast<uv_handle_t *>(m_socket)))
        return;
    m_connected = false;
    uv_close(reinterpret_cast<uv_handle_t *>(m_socket), &TcpConnection::onClosed);
}

void TcpConnection::onRead(uv_stream_t *stream, ssize_t nread, const uv_buf_t *buf)
{
    auto *self = static_cast<TcpConnection *>(stream->data);
    if (!self)
        return;
    if (nread > 0) {
        if (self->m_onMessage)
            self->m_onMessage(buf->base, nread);
        return;
    }
    if (nread < 0) {
        if (nread != UV_EOF)
            LogWriter::Instance()->warn("tcp read error:" + std::string(uv_strerror(static_cast<int>(nread))));
        self->close();
    }
}

void TcpConnection::onClosed(uv_handle_t *handle)
{
    auto *self = static_cast<TcpConnection *>(handle->data);
    delete reinterpret_cast<uv_tcp_t *>(handle);
    if (!self)
        return;
    self->m_socket = nullptr;
    // Last thing done here: the owner may drop this connection in the callback.
    if (self->m_onClose)
        self->m_onClose();
}

} // namespace uv
