#pragma once
// TCP client: one connection to a host and port. The outcome of every
// StartClient arrives through HandleConnState (true when connected, false when
// the attempt failed, timed out or was cancelled, and later when the connection
// goes). Callbacks run on the thread that owns the object.
#include <QString>

#include <memory>

class QByteArray;

namespace ns_streamdial {

// Bytes read from the peer; the pointer is valid during the call only.
struct RecvData
{
    const char *pData = nullptr;
    int nLen = 0;
    QString strIP;
    int nPort = 0;
};

// Optional raw-data hook of the Start operation; the programs pass null.
using RecvCallback = bool (*)(const QByteArray &data);

class StreamDialCore;

class CStreamDial
{
public:
    CStreamDial();
    CStreamDial(const CStreamDial &) = delete;
    CStreamDial &operator=(const CStreamDial &) = delete;

    // A running attempt or connection is dropped first. flag is accepted for
    // the callers; reading is always asynchronous here.
    void StartClient(QString host, int port, bool flag, RecvCallback callback);
    // Writes to the connection; ip and port name it as the last state call did.
    void SendData(char *bytes, unsigned short count, QString ip, int port);
    void CloseClient();

    bool IsOnline() const;
    // An attempt that has not connected after this long is given up (default 10 s).
    void SetConnectTimeout(int msecs);

protected:
    virtual void HandleRecvData(const RecvData &data);
    virtual void HandleConnState(bool connected, QString ip, int port);

public:
    virtual ~CStreamDial();

private:
    friend class StreamDialCore;
    std::unique_ptr<StreamDialCore> m_pCore;
};

} // namespace ns_streamdial
