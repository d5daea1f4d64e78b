#include "socketaddr.h"

namespace uv {

SocketAddr::SocketAddr(const std::string &ip, uint16_t port, IPV ipv)
    : m_ip(ip)
    , m_port(port)
    , m_ipv(ipv)
{
    if (ipv == Ipv6)
        m_valid = uv_ip6_addr(ip.c_str(), port, reinterpret_cast<sockaddr_in6 *>(&m_addr)) == 0;
    else
        m_valid = uv_ip4_addr(ip.c_str(), port, reinterpret_cast<sockaddr_in *>(&m_addr)) == 0;
}

std::string SocketAddr::toStr() const
{
    return m_ip + ":" + std::to_string(m_port);
}

} // namespace uv
