#include "response.h"

#include <strings.h>

#include <cctype>

namespace uv {
namespace http {

namespace {

std::string trim(const std::string &text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(begin, end - begin);
}

bool parseDecimal(const std::string &text, unsigned long long &value)
{
    if (text.empty() || text.size() > 18)
        return false;
    value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

bool parseHex(const std::string &text, unsigned long long &value)
{
    if (text.empty() || text.size() > 15)
        return false;
    value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

} // namespace

std::string Response::getHead(const std::string &key) const
{
    for (const auto &head : m_heads)
        if (strcasecmp(head.first.c_str(), key.c_str()) == 0)
            return head.second;
    return std::string();
}

Response::ParseResult Response::parse(const std::string &data, bool atClose, bool noBody)
{
    const size_t headEnd = data.find("\r\n\r\n");
    if (headEnd == std::string::npos)
        return ParseIncomplete;

    m_heads.clear();
    m_body.clear();
    size_t lineEnd = data.find("\r\n");
    const std::string statusLine = data.substr(0, lineEnd);
    const size_t space1 = statusLine.find(' ');
    if (space1 == std::string::npos)
        return ParseError;
    const std::string version = statusLine.substr(0, space1);
    if (version == "HTTP/1.1")
        m_version = Http1_1;
    else if (version == "HTTP/1.0")
        m_version = Http1_0;
    else
        return ParseError;
    const size_t space2 = statusLine.find(' ', space1 + 1);
    const std::string code = statusLine.substr(space1 + 1, space2 == std::string::npos ? std::string::npos : space2 - space1 - 1);
    unsigned long long status = 0;
    if (code.size() != 3 || !parseDecimal(code, status))
        return ParseError;
    m_status = static_cast<int>(status);
    m_statusInfo = space2 == std::string::npos ? std::string() : statusLine.substr(space2 + 1);

    size_t pos = lineEnd + 2;
    while (pos < headEnd + 2) {
        lineEnd = data.find("\r\n", pos);
        const std::string line = data.substr(pos, lineEnd - pos);
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            return ParseError;
        m_heads.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
        pos = lineEnd + 2;
    }
    const size_t bodyStart = headEnd + 4;

    if (noBody || m_status / 100 == 1 || m_status == 204 || m_status == 304)
        return ParseComplete;

    const std::string encoding = getHead("Transfer-Encoding");
    if (!encoding.empty()) {
        std::string lower;
        for (char c : encoding)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower.find("chunked") != std::string::npos)
            return parseChunked(data, bodyStart);
    }
    const std::string lengthText = getHead("Content-Length");
    if (!lengthText.empty()) {
        unsigned long long length = 0;
        if (!parseDecimal(lengthText, length))
            return ParseError;
        if (data.size() - bodyStart < length)
            return ParseIncomplete;
        m_body = data.substr(bodyStart, length);
        return ParseComplete;
    }
    if (!atClose)
        return ParseIncomplete;
    m_body = data.substr(bodyStart);
    return ParseComplete;
}

Response::ParseResult Response::parseChunked(const std::string &data, size_t pos)
{
    std::string body;
    for (;;) {
        const size_t lineEnd = data.find("\r\n", pos);
        if (lineEnd == std::string::npos)
            return ParseIncomplete;
        std::string sizeText = data.substr(pos, lineEnd - pos);
        const size_t extension = sizeText.find(';');
        if (extension != std::string::npos)
            sizeText.resize(extension);
        unsigned long long size = 0;
        if (!parseHex(trim(sizeText), size))
            return ParseError;
        pos = lineEnd + 2;
        if (size == 0)
            break;
        if (data.size() < pos + size + 2)
            return ParseIncomplete;
        if (data.compare(pos + size, 2, "\r\n") != 0)
            return ParseError;
        body.append(data, pos, size);
        pos += size + 2;
    }
    // Trailer fields up to the blank line.
    for (;;) {
        const size_t lineEnd = data.find("\r\n", pos);
        if (lineEnd == std::string::npos)
            return ParseIncomplete;
        if (lineEnd == pos)
            break;
        pos = lineEnd + 2;
    }
    m_body.swap(body);
    return ParseComplete;
}

} // namespace http
} // namespace uv
