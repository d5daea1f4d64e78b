#pragma once
// HTTP/1.x request as written on the wire.
#include <string>
#include <utility>
#include <vector>

namespace uv {
namespace http {

enum HttpVersion { HttpVersionUnknown = 0, Http1_0 = 1, Http1_1 = 2 };
std::string versionText(HttpVersion version);

class Request
{
public:
    enum Method { Get = 0, Post, Head, Put, Delete, Connect, Options, Trace, Patch };
    using Fields = std::vector<std::pair<std::string, std::string>>;

    void setVersion(HttpVersion version) { m_version = version; }
    void setMethod(Method method) { m_method = method; }
    void setPath(const std::string &path) { m_path = path; }
    void appendUrlParam(const std::string &key, const std::string &value) { m_params.emplace_back(key, value); }
    void appendHead(const std::string &key, const std::string &value) { m_heads.emplace_back(key, value); }
    void setContent(const std::string &body) { m_body = body; }

    HttpVersion version() const { return m_version; }
    Method method() const { return m_method; }
    const std::string &path() const { return m_path; }
    const Fields &heads() const { return m_heads; }
    const std::string &content() const { return m_body; }

    static std::string methodText(Method method);
    // Request line, headers, blank line, body.
    std::string pack() const;

private:
    HttpVersion m_version = Http1_1;
    Method m_method = Get;
    std::string m_path = "/";
    Fields m_params;
    Fields m_heads;
    std::string m_body;
};

} // namespace http
} // namespace uv
