#pragma once
// A literal IP address and port; names are not resolved.
#include <uv.h>

#include <cstdint>
#include <string>

namespace uv {

class SocketAddr
{
public:
    enum IPV { Ipv4 = 0, Ipv6 = 1 };

    SocketAddr(const std::string &ip, uint16_t port, IPV ipv = Ipv4);

    const sockaddr *Addr() const { return reinterpret_cast<const sockaddr *>(&m_addr); }
    // False when the text is not a literal address of the chosen version.
    bool isValid() const { return m_valid; }
    std::string toStr() const;
    const std::string &Ip() const { return m_ip; }
    uint16_t Port() const { return m_port; }
    IPV Ipv() const { return m_ipv; }

private:
    std::string m_ip;
    uint16_t m_port;
    IPV m_ipv;
    sockaddr_storage m_addr{};
    bool m_valid = false;
};

} // namespace uv
