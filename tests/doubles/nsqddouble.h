#pragma once
// In-process stand-in for one nsqd node, for tests. It listens on a free loopback
// port on its own thread and speaks the NSQ TCP protocol "V2" as nsqd publishes it:
//   - the 4-byte magic "  V2" first, then text commands ending in "\n";
//   - IDENTIFY (JSON; feature negotiation answered with JSON), SUB, RDY, FIN, REQ,
//     TOUCH, NOP, CLS, PUB, MPUB, DPUB; PUB/MPUB/DPUB/IDENTIFY carry a 4-byte
//     big-endian size and a body;
//   - frames are 4-byte big-endian size, 4-byte type (0 response, 1 error,
//     2 message), data; messages carry an 8-byte nanosecond timestamp, 2-byte
//     attempts, a 16-byte ASCII id and the body;
//   - every PUB answers "OK" and each channel of the topic gets a copy, handed to
//     its subscribers as their RDY count allows; FIN removes a message, REQ and a
//     dropped connection put it back with attempts + 1;
//   - errors are nsqd's ("E_INVALID", "E_BAD_TOPIC", "E_BAD_MESSAGE", ...); the
//     fatal ones close the connection, as nsqd does (an empty PUB body is one).
// Heartbeats ("_heartbeat_") go out every heartbeat interval (30 s unless the
// client's IDENTIFY asks otherwise) and on demand.
//
// Every method is thread-safe and may be called from the test's thread; the
// recorders (commands(), received(), published()) let a test check what a client
// sent, and sendRaw() lets it feed a client any bytes it likes.
#include "serverthread.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>

#include <memory>

namespace nsqdouble {

class NsqdServer;

// One command as the double parsed it.
struct Command
{
    int connection = 0;        // id of the connection, counting from 1
    QByteArray name;           // "SUB", "RDY", "PUB", ...
    QByteArrayList params;     // the words after the name
    QByteArray body;           // body of PUB, DPUB, MPUB, IDENTIFY
};

class NsqdDouble
{
public:
    NsqdDouble();
    ~NsqdDouble();
    NsqdDouble(const NsqdDouble &) = delete;
    NsqdDouble &operator=(const NsqdDouble &) = delete;

    // Listens on 127.0.0.1 with a free port; false when that fails.
    bool start();
    quint16 tcpPort() const;

    // Connections accepted so far and those still open.
    int connectionCount() const;
    int openConnections() const;
    // Ids of the connections that are still open, oldest first.
    QList<int> openConnectionIds() const;
    // Every command of every connection, in arrival order.
    QList<Command> commands() const;
    // Commands named name, optionally of one connection (0: all).
    QList<Command> commands(const QByteArray &name, int connection = 0) const;
    // The raw bytes one connection has sent.
    QByteArray received(int connection) const;
    // Bodies published on topic (by PUB, MPUB, DPUB or publish()), in order.
    QByteArrayList published(const QByteArray &topic) const;
    // Ids handed out and not yet finished, over all channels.
    int inFlight() const;
    // Ids finished with FIN.
    QByteArrayList finished() const;
    // Topics this node knows (made by a publication or a subscription), as nsqd
    // reports them to its lookup.
    QByteArrayList topics() const;

    // Publishes as if a producer had sent PUB.
    void publish(const QByteArray &topic, const QByteArray &body);
    // Writes bytes as they are to one connection.
    void sendRaw(int connection, const QByteArray &bytes);
    void sendHeartbeat(int connection);
    // Closes one connection (0: all).
    void dropConnection(int connection = 0);

    // Frame builders, for tests that feed raw bytes.
    static QByteArray frame(quint32 type, const QByteArray &data);
    static QByteArray messageFrame(qint64 timestamp, quint16 attempts, const QByteArray &id, const QByteArray &body);

private:
    friend class NsqdServer;
    struct State;

    std::unique_ptr<State> m_state;
    ServerThread<NsqdServer> m_host{"nsqd-double"};
};

} // namespace nsqdouble
