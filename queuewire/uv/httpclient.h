#pragma once
// One HTTP/1.x exchange over a TcpClient: connect, send, collect the answer.
#include "request.h"
#include "response.h"
#include "socketaddr.h"
#include "tcpclient.h"

#include <functional>
#include <string>

namespace uv {

class EventLoop;

namespace http {

class HttpClient
{
public:
    enum ReqResult { Success = 0, ConnectFail = 1, ParseFail = 2 };
    using OnResp = std::function<void(ReqResult, Response *)>;

    explicit HttpClient(EventLoop *loop);

    void setOnResp(OnResp callback) { m_onResp = std::move(callback); }
    // The completion runs once per request; the client must outlive it.
    void Req(const SocketAddr &addr, const Request &request);

    // Answers larger than this are refused rather than held without end.
    static constexpr size_t MaxResponseSize = 16 * 1024 * 1024;

private:
    void onConnectStatus(TcpClient::ConnectStatus status);
    void onMessage(const char *data, ssize_t size);
    void complete(ReqResult result, Response *response);

    TcpClient m_client;
    Request m_request;
    std::string m_buffer;
    bool m_connected = false;
    bool m_done = true;
    OnResp m_onResp;
};

} // namespace http
} // namespace uv
