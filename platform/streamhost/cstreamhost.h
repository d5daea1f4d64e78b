#pragma once
// TCP server of the remote service: listens on one address and port and talks
// to any number of peers. Every callback runs on the thread that owns the
// object (the GUI thread in the programs).
#include <QString>

#include <memory>

class QByteArray;

namespace ns_streamhost {

// Bytes read from one peer; the pointer is valid during the call only.
struct RecvData
{
    const char *pData = nullptr;
    int nLen = 0;
    QString strIP;
    int nPort = 0;
};

// Optional raw-data hook of the Start operation; the programs pass null.
using RecvCallback = bool (*)(const QByteArray &data);

class StreamHostCore;

class CStreamHost
{
public:
    CStreamHost();
    virtual ~CStreamHost();
    CStreamHost(const CStreamHost &) = delete;
    CStreamHost &operator=(const CStreamHost &) = delete;

    // address: "0.0.0.0" (or empty) listens on every IPv4 interface. flag is
    // accepted for the callers; reading is always asynchronous here.
    bool StartServer(QString address, int port, bool flag, RecvCallback callback);
    // Writes to the peer with that address and port; a peer that has gone is ignored.
    void SendData(char *bytes, unsigned short count, QString ip, int port);
    // Stops listening and drops the peers (each reported as gone).
    void CloseServer();

    bool IsListening() const;
    quint16 ListenPort() const;

    // A peer that does not read cannot make us keep its bytes without bound:
    // a send that would leave more than this waiting drops the peer.
    static constexpr qint64 kDefaultSendLimit = 4 << 20;
    void SetSendLimit(qint64 bytes);
    // Bytes written to that peer and not yet taken by the network; -1 when
    // there is no such peer.
    qint64 PendingBytes(const QString &ip, int port) const;

protected:
    virtual void HandleRecvData(const RecvData &data);
    virtual void HandleConnState(bool connected, QString ip, int port);
    // A peer was dropped for the send limit; its state call (gone) follows.
    virtual void HandleSendLimit(QString ip, int port, qint64 pending);

private:
    friend class StreamHostCore;
    std::unique_ptr<StreamHostCore> m_pCore;
};

} // namespace ns_streamhost
