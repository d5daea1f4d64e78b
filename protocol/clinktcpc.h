#pragma once
// A TCP connection this program makes: to the cloud service (both programs),
// or, in the client, to a server station. Cuts the stream into messages and
// dispatches them; keeps the connected flag and the peer of the last state call.
#include "cbufinfo.h"

#include <cstreamdial.h>

#include <QByteArray>

#include <functional>

class CLinkTcpC : public ns_streamdial::CStreamDial
{
public:
    enum Role {
        Cloud,   // debug lines only, long messages shortened
        Station, // the log view, like the server's listener
    };

    explicit CLinkTcpC(Role role = Cloud) : m_eRole(role) {}

    // StartClient unless connected already.
    void Connect(const QString &host, int port);
    // Head + message on the connection, only while connected.
    bool SendMessage(const QByteArray &message);

    bool IsConnected() const { return m_bConnected; }
    QString PeerIP() const { return m_strIP; }
    int PeerPort() const { return m_nPort; }
    int BufferCount() const { return m_bufs.Size(); }

protected:
    void HandleRecvData(const ns_streamdial::RecvData &data) override;
    void HandleConnState(bool connected, QString ip, int port) override;

public:
    ~CLinkTcpC() override;

private:
    Role m_eRole;
    bool m_bConnected = false;
    QString m_strIP;
    int m_nPort = 0;
    CBufList m_bufs;
};

// The cloud link of either program, telling its owner when the connection
// changes and whether it was up before.
class CCloudLink : public CLinkTcpC
{
public:
    std::function<void(bool connected, bool wasConnected)> onState;

protected:
    void HandleConnState(bool connected, QString ip, int port) override
    {
        const bool was = IsConnected();
        CLinkTcpC::HandleConnState(connected, ip, port);
        if (onState)
            onState(connected, was);
    }
};
