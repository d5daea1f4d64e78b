#pragma once
// The server's TCP listener: client stations connect to it. Each peer's bytes
// are cut into messages and dispatched; a peer that connects is asked who it is.
#include "cbufinfo.h"

#include <cstreamhost.h>

#include <QByteArray>

class CLinkTcpS : public ns_streamhost::CStreamHost
{
public:
    CLinkTcpS() = default;
    ~CLinkTcpS() override;

    // Head + message to that peer, then the send log line; false when refused.
    bool SendMessage(const QByteArray &message, const QString &ip, int port);

    // Peers with bytes waiting for the rest of a message.
    int BufferCount() const { return m_bufs.Size(); }

protected:
    void HandleRecvData(const ns_streamhost::RecvData &data) override;
    void HandleConnState(bool connected, QString ip, int port) override;
    void HandleSendLimit(QString ip, int port, qint64 pending) override;

private:
    CBufList m_bufs;
};
