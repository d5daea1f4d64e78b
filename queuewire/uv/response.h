#pragma once
// HTTP/1.x response and its parser (body by Content-Length, chunked, or up to the close).
#include "request.h"

#include <string>

namespace uv {
namespace http {

class Response
{
public:
    enum ParseResult { ParseComplete, ParseIncomplete, ParseError };

    HttpVersion version() const { return m_version; }
    int statusCode() const { return m_status; }
    const std::string &statusInfo() const { return m_statusInfo; }
    const Request::Fields &heads() const { return m_heads; }
    // Case-insensitive; empty when absent.
    std::string getHead(const std::string &key) const;
    const std::string &content() const { return m_body; }

    // atClose: the peer has closed, so a body without length ends here.
    // noBody: the answer to HEAD carries none, whatever its headers say.
    ParseResult parse(const std::string &data, bool atClose, bool noBody = false);

private:
    ParseResult parseChunked(const std::string &data, size_t pos);

    HttpVersion m_version = HttpVersionUnknown;
    int m_status = 0;
    std::string m_statusInfo;
    Request::Fields m_heads;
    std::string m_body;
};

} // namespace http
} // namespace uv
