#pragma once
// A loopback port whose connection attempts hang: it listens with a full
// accept queue, so the kernel drops further SYNs. Stands in for an unreachable
// peer without leaving the machine.
#include <QList>
#include <QTcpSocket>

#include <memory>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qeltest {

class StuckListener
{
public:
    ~StuckListener()
    {
        m_fillers.clear();
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool start()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        if (m_fd < 0)
            return false;
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(addr);
        if (::bind(m_fd, reinterpret_cast<sockaddr *>(&addr), sizeof(addr)) != 0 || ::listen(m_fd, 0) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
            return false;
        m_port = ntohs(addr.sin_port);
        // Fill the queue until an attempt no longer completes.
        for (int i = 0; i < 4; ++i) {
            auto filler = std::make_unique<QTcpSocket>();
            filler->connectToHost(QHostAddress::LocalHost, m_port);
            const bool connected = filler->waitForConnected(300);
            m_fillers.push_back(std::move(filler));
            if (!connected)
                return true;
        }
        return false;
    }

    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};

} // namespace qeltest
