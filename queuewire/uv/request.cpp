#include "request.h"

#include <strings.h>

namespace uv {
namespace http {

std::string versionText(HttpVersion version)
{
    switch (version) {
    case Http1_0: return "HTTP/1.0";
    case Http1_1: return "HTTP/1.1";
    default: return "HTTP/1.1";
    }
}

std::string Request::methodText(Method method)
{
    static const char *const names[] = {"GET", "POST", "HEAD", "PUT", "DELETE",
                                        "CONNECT", "OPTIONS", "TRACE", "PATCH"};
    const int index = static_cast<int>(method);
    return index >= 0 && index < 9 ? names[index] : "GET";
}

std::string Request::pack() const
{
    std::string target = m_path;
    for (size_t i = 0; i < m_params.size(); ++i) {
        target += (i == 0 && m_path.find('?') == std::string::npos) ? '?' : '&';
        target += m_params[i].first + "=" + m_params[i].second;
    }
    std::string out = methodText(m_method) + " " + target + " " + versionText(m_version) + "\r\n";
    bool hasLength = false;
    for (const auto &head : m_heads) {
        out += head.first + ": " + head.second + "\r\n";
        hasLength = hasLength || strcasecmp(head.first.c_str(), "Content-Length") == 0;
    }
    // A body the server cannot delimit would hang the exchange.
    if (!m_body.empty() && !hasLength)
        out += "Content-Length: " + std::to_string(m_body.size()) + "\r\n";
    out += "\r\n";
    out += m_body;
    return out;
}

} // namespace http
} // namespace uv
