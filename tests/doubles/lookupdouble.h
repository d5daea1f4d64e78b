#pragma once
// In-process stand-in for nsqlookupd's HTTP interface, for tests. It listens on a
// free loopback port on its own thread and answers like nsqlookupd (protocol v1):
//   GET /nodes  -> {"producers":[{"remote_address","hostname","broadcast_address",
//                   "tcp_port","http_port","version","tombstones","topics"}, ...]}
//   GET /lookup?topic=T -> {"channels":[],"producers":[...]}
//   GET /ping   -> OK
// and 404 {"message":"NOT_FOUND"} otherwise. Bodies go out with Content-Length
// (keeping the connection open), chunked, or delimited by closing the connection.
// For failure tests a fixed status and body, or raw bytes, replace every answer.
// Thread-safe; may be called from the test's thread.
#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include "serverthread.h"

#include <QThread>

#include <functional>
#include <memory>

namespace nsqdouble {

class LookupServer;

struct NodeEntry
{
    QString broadcastAddress = QStringLiteral("127.0.0.1");
    quint16 tcpPort = 0;
    quint16 httpPort = 0; // the nsqd doubles have no HTTP side; 0 says so
    QByteArrayList topics;
    // When set, asked for the node's topics at each request (a live nsqd double).
    std::function<QByteArrayList()> topicSource;
};

class LookupDouble
{
public:
    enum BodyMode { ContentLength, Chunked, CloseDelimited };

    LookupDouble();
    ~LookupDouble();
    LookupDouble(const LookupDouble &) = delete;
    LookupDouble &operator=(const LookupDouble &) = delete;

    bool start();
    quint16 port() const;

    void setNodes(const QList<NodeEntry> &nodes);
    void setBodyMode(BodyMode mode);
    // Every request gets this status and body (status 0 restores normal answers).
    void setFixedAnswer(int status, const QByteArray &body);
    // Every request gets exactly these bytes, then the connection closes.
    void setRawAnswer(const QByteArray &bytes);

    // Requests seen so far: request line and headers, as received.
    QByteArrayList requests() const;
    int requestCount() const;

private:
    friend class LookupServer;
    struct State;

    std::unique_ptr<State> m_state;
    ServerThread<LookupServer> m_host{"lookup-double"};
};

} // namespace nsqdouble
