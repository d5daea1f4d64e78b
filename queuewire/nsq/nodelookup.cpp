#include "nodelookup.h"

#include "logwriter.h"
#include "socketaddr.h"

#include <nlohmann/json.hpp>

namespace nsq {

namespace {

// Numbers and booleans are taken; a value that is no port is refused.
bool readPort(const nlohmann::json &value, uint16_t &port)
{
    double number = 0;
    if (value.is_boolean())
        number = value.get<bool>() ? 1 : 0;
    else if (value.is_number_unsigned())
        number = static_cast<double>(value.get<uint64_t>());
    else if (value.is_number_integer())
        number = static_cast<double>(value.get<int64_t>());
    else if (value.is_number_float())
        number = value.get<double>();
    else
        return false;
    if (!(number >= 0 && number <= 65535))
        return false;
    port = static_cast<uint16_t>(number);
    return true;
}

} // namespace

NodeLookup::NodeLookup(uv::EventLoop *loop)
    : m_loop(loop)
{
}

NodeLookup::~NodeLookup() = default;

NsqNodesPtr NodeLookup::parseNodes(const std::string &body)
{
    const nlohmann::json root = nlohmann::json::parse(body, nullptr, false);
    auto fail = [] {
        uv::LogWriter::Instance()->error("parse json fail.");
        return NsqNodesPtr();
    };
    if (root.is_discarded() || !root.is_object())
        return fail();
    auto nodes = std::make_shared<NsqNodes>();
    const auto producers = root.find("producers");
    if (producers == root.end())
        return nodes;
    if (!producers->is_array())
        return fail();
    for (const auto &item : *producers) {
        if (!item.is_object())
            return fail();
        const auto address = item.find("remote_address");
        const auto tcpPort = item.find("tcp_port");
        const auto httpPort = item.find("http_port");
        NsqNode node;
        if (address == item.end() || !address->is_string() || tcpPort == item.end()
            || httpPort == item.end() || !readPort(*tcpPort, node.tcp_port)
            || !readPort(*httpPort, node.http_port))
            return fail();
        node.remote_address = address->get<std::string>();
        nodes->push_back(std::move(node));
    }
    return nodes;
}

void NodeLookup::lookupNodes(const std::string &host, int port, Completion completion)
{
    if (port < 0 || port > 65535) {
        uv::LogWriter::Instance()->error("get server fail.");
        completion(nullptr);
        return;
    }
    const uv::SocketAddr addr(host, static_cast<uint16_t>(port), uv::SocketAddr::Ipv4);
    m_client = std::make_unique<uv::http::HttpClient>(m_loop);
    m_client->setOnResp([completion](uv::http::HttpClient::ReqResult result, uv::http::Response *response) {
        if (result != uv::http::HttpClient::Success || !response) {
            uv::LogWriter::Instance()->error("get server fail.");
            completion(nullptr);
            return;
        }
        if (response->statusCode() != 200) {
            completion(nullptr);
            return;
        }
        completion(parseNodes(response->content()));
    });
    uv::http::Request request;
    request.setMethod(uv::http::Request::Get);
    request.setPath("/nodes");
    request.setVersion(uv::http::Http1_1);
    request.appendHead("Host", addr.Ip() + ":" + std::to_string(port));
    m_client->Req(addr, request);
}

} // namespace nsq
