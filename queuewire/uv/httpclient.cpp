#include "httpclient.h"

#include "logwriter.h"

namespace uv {
namespace http {

HttpClient::HttpClient(EventLoop *loop)
    : m_client(loop, true)
{
    m_client.setConnectStatusCallback([this](TcpClient::ConnectStatus status) { onConnectStatus(status); });
    m_client.setMessageCallback([this](const char *data, ssize_t size) { onMessage(data, size); });
}

void HttpClient::Req(const SocketAddr &addr, const Request &request)
{
    m_request = request;
    m_buffer.clear();
    m_done = false;
    m_client.connect(addr);
}

void HttpClient::onConnectStatus(TcpClient::ConnectStatus status)
{
    switch (status) {
    case TcpClient::ConnectSuccess: {
        m_connected = true;
        const std::string data = m_request.pack();
        m_client.write(data.data(), data.size());
        break;
    }
    case TcpClient::ConnectFail:
        m_connected = false;
        complete(ConnectFail, nullptr);
        break;
    case TcpClient::ConnectClose: {
        m_connected = false;
        if (m_done)
            break;
        Response response;
        if (response.parse(m_buffer, true, m_request.method() == Request::Head) == Response::ParseComplete)
            complete(Success, &response);
        else
            complete(ParseFail, nullptr);
        break;
    }
    }
}

void HttpClient::onMessage(const char *data, ssize_t size)
{
    if (m_done)
        return;
    m_buffer.append(data, static_cast<size_t>(size));
    Response response;
    const auto result = m_buffer.size() > MaxResponseSize
        ? Response::ParseError
        : response.parse(m_buffer, false, m_request.method() == Request::Head);
    if (result == Response::ParseIncomplete)
        return;
    // The link is of no further use once the answer is in.
    m_client.close(nullptr);
    if (result == Response::ParseError) {
        LogWriter::Instance()->error("parse http's response error.");
        m_buffer.clear();
        // Waiting for the close would hang on a peer that keeps the link open.
        complete(ParseFail, nullptr);
    } else {
        complete(Success, &response);
    }
}

void HttpClient::complete(ReqResult result, Response *response)
{
    if (m_done)
        return;
    m_done = true;
    if (m_onResp)
        m_onResp(result, response);
}

} // namespace http
} // namespace uv
