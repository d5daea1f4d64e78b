#include "nsqddouble.h"

#include <QDateTime>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QMutexLocker>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

#include <cctype>
#include <deque>
#include <map>

namespace nsqdouble {

namespace {

const QByteArray Magic("  V2");
constexpr qint64 MaxMessageSize = 1024 * 1024; // nsqd's --max-msg-size default
constexpr qint64 MaxRdyCount = 2500;
constexpr int DefaultHeartbeatMs = 30000;

bool validName(QByteArray name)
{
    if (name.endsWith("#ephemeral"))
        name.chop(10);
    if (name.isEmpty() || name.size() > 64)
        return false;
    for (char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-'))
            return false;
    }
    return true;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray out(4, '\0');
    qToBigEndian(value, out.data());
    return out;
}

} // namespace

struct NsqdDouble::State
{
    mutable QMutex mutex;
    quint16 port = 0;
    int accepted = 0;
    QList<int> open;
    QList<Command> commands;
    QHash<int, QByteArray> received;
    QHash<QByteArray, QByteArrayList> published;
    QByteArrayList finished;
    QByteArrayList topics;
    int inFlight = 0;
};

class NsqdServer : public QObject
{
public:
    explicit NsqdServer(NsqdDouble::State *state)
        : m_state(state)
    {
        connect(m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    ~NsqdServer() override
    {
        // Sockets must not call back into a server that is half gone.
        for (auto &conn : m_conns) {
            QObject::disconnect(conn->socket, nullptr, this, nullptr);
            conn->heartbeat.stop();
            conn->socket->abort();
        }
    }

    bool listen()
    {
        if (!m_server->listen(QHostAddress::LocalHost, 0))
            return false;
        QMutexLocker lock(&m_state->mutex);
        m_state->port = m_server->serverPort();
        return true;
    }

    void publish(const QByteArray &topic, const QByteArray &body)
    {
        {
            QMutexLocker lock(&m_state->mutex);
            m_state->published[topic].append(body);
        }
        Message message{newId(), body, QDateTime::currentMSecsSinceEpoch() * 1000000, 0};
        Topic &t = topicNamed(topic);
        if (t.channels.empty())
            t.backlog.push_back(message);
        for (auto &channel : t.channels)
            channel.second.queue.push_back(message);
        deliver(topic);
    }

    void sendRaw(int id, const QByteArray &bytes)
    {
        if (Conn *conn = find(id)) {
            conn->socket->write(bytes);
            conn->socket->flush();
        }
    }

    void heartbeat(int id)
    {
        if (Conn *conn = find(id))
            sendFrame(*conn, 0, "_heartbeat_");
    }

    void drop(int id)
    {
        const auto ids = m_conns.keys();
        for (int each : ids) {
            Conn *conn = find(each); // an earlier abort may have closed it already
            if (conn && (id == 0 || each == id))
                conn->socket->abort();
        }
    }

private:
    struct Message
    {
        QByteArray id;
        QByteArray body;
        qint64 timestamp;
        quint16 attempts;
    };
    struct Conn
    {
        int id = 0;
        QTcpSocket *socket = nullptr;
        QByteArray buffer;
        bool magic = false;
        bool subscribed = false;
        bool closing = false;
        QByteArray topic;
        QByteArray channel;
        qint64 rdy = 0;
        std::map<QByteArray, Message> inFlight;
        QTimer heartbeat;
    };
    struct Channel
    {
        std::deque<Message> queue;
        QList<int> subscribers;
        int next = 0;
    };
    struct Topic
    {
        std::deque<Message> backlog; // kept until the first channel exists
        std::map<QByteArray, Channel> channels;
    };

    Topic &topicNamed(const QByteArray &name)
    {
        if (m_topics.find(name) == m_topics.end()) {
            QMutexLocker lock(&m_state->mutex);
            m_state->topics.append(name);
        }
        return m_topics[name];
    }

    Conn *find(int id) { return m_conns.contains(id) ? m_conns[id].get() : nullptr; }

    QByteArray newId() { return QByteArray::number(++m_lastId, 16).rightJustified(16, '0'); }

    void accept()
    {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            auto conn = std::make_shared<Conn>();
            conn->socket = socket;
            {
                QMutexLocker lock(&m_state->mutex);
                conn->id = ++m_state->accepted;
                m_state->open.append(conn->id);
            }
            const int id = conn->id;
            m_conns.insert(id, conn);
            connect(socket, &QTcpSocket::readyRead, this, [this, id] { read(id); });
            connect(socket, &QTcpSocket::disconnected, this, [this, id] { closed(id); });
            connect(&conn->heartbeat, &QTimer::timeout, this, [this, id] { heartbeat(id); });
        }
    }

    void closed(int id)
    {
        auto conn = m_conns.take(id);
        if (!conn)
            return;
        conn->socket->deleteLater();
        {
            QMutexLocker lock(&m_state->mutex);
            m_state->open.removeAll(id);
        }
        if (!conn->subscribed)
            return;
        Channel &channel = m_topics[conn->topic].channels[conn->channel];
        channel.subscribers.removeAll(id);
        // What the client never finished goes back to the channel.
        for (auto &entry : conn->inFlight) {
            channel.queue.push_front(entry.second);
        }
        updateInFlight(-int(conn->inFlight.size()));
        deliver(conn->topic);
    }

    void read(int id)
    {
        Conn *conn = find(id);
        if (!conn)
            return;
        const QByteArray data = conn->socket->readAll();
        {
            QMutexLocker lock(&m_state->mutex);
            m_state->received[id].append(data);
        }
        if (conn->closing)
            return;
        conn->buffer.append(data);
        if (!conn->magic) {
            if (conn->buffer.size() < 4)
                return;
            if (!conn->buffer.startsWith(Magic)) {
                fatal(*conn, "E_BAD_PROTOCOL protocol version not supported");
                return;
            }
            conn->buffer.remove(0, 4);
            conn->magic = true;
            conn->heartbeat.start(DefaultHeartbeatMs);
        }
        while (!conn->closing && takeCommand(*conn)) {
        }
    }

    // One whole command out of the buffer; false when more bytes are needed.
    bool takeCommand(Conn &conn)
    {
        const int newline = conn.buffer.indexOf('\n');
        if (newline < 0)
            return false;
        QByteArray line = conn.buffer.left(newline);
        if (line.endsWith('\r'))
            line.chop(1);
        Command command;
        command.connection = conn.id;
        const QByteArrayList words = line.split(' ');
        command.name = words.value(0);
        command.params = words.mid(1);
        int used = newline + 1;
        static const QByteArrayList withBody{"PUB", "MPUB", "DPUB", "IDENTIFY", "AUTH"};
        if (withBody.contains(command.name)) {
            if (conn.buffer.size() < used + 4)
                return false;
            const qint32 size = qFromBigEndian<qint32>(conn.buffer.constData() + used);
            if (size <= 0) {
                record(command);
                fatal(conn, "E_BAD_MESSAGE " + command.name + " invalid message body size " + QByteArray::number(size));
                return false;
            }
            if (size > MaxMessageSize) {
                record(command);
                fatal(conn, "E_BAD_MESSAGE " + command.name + " message too big " + QByteArray::number(size) + " > "
                                + QByteArray::number(MaxMessageSize));
                return false;
            }
            if (conn.buffer.size() < used + 4 + size)
                return false;
            command.body = conn.buffer.mid(used + 4, size);
            used += 4 + size;
        }
        conn.buffer.remove(0, used);
        record(command);
        execute(conn, command);
        return true;
    }

    void record(const Command &command)
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->commands.append(command);
    }

    void execute(Conn &conn, const Command &command)
    {
        const QByteArray &name = command.name;
        const QByteArrayList &p = command.params;
        if (name == "NOP") {
            return;
        } else if (name == "IDENTIFY") {
            identify(conn, command.body);
        } else if (name == "SUB") {
            if (conn.subscribed)
                return fatal(conn, "E_INVALID cannot SUB in current state");
            if (p.size() < 2)
                return fatal(conn, "E_INVALID SUB insufficient number of parameters");
            if (!validName(p[0]))
                return fatal(conn, "E_BAD_TOPIC SUB topic name \"" + p[0] + "\" is not valid");
            if (!validName(p[1]))
                return fatal(conn, "E_BAD_CHANNEL SUB channel name \"" + p[1] + "\" is not valid");
            subscribe(conn, p[0], p[1]);
            sendFrame(conn, 0, "OK");
            deliver(conn.topic);
        } else if (name == "RDY") {
            if (!conn.subscribed)
                return fatal(conn, "E_INVALID cannot RDY in current state");
            bool ok = false;
            const qint64 count = p.value(0).toLongLong(&ok);
            if (!ok || count < 0 || count > MaxRdyCount)
                return fatal(conn, "E_INVALID RDY count " + p.value(0) + " out of range 0-" + QByteArray::number(MaxRdyCount));
            conn.rdy = count;
            deliver(conn.topic);
        } else if (name == "FIN" || name == "REQ" || name == "TOUCH") {
            if (!conn.subscribed)
                return fatal(conn, "E_INVALID cannot " + name + " in current state");
            if (p.value(0).size() != 16)
                return fatal(conn, "E_INVALID Invalid Message ID");
            auto it = conn.inFlight.find(p[0]);
            if (it == conn.inFlight.end()) {
                sendFrame(conn, 1, "E_" + name + "_FAILED " + name + " " + p[0] + " failed ID not in flight");
                return;
            }
            if (name == "TOUCH")
                return;
            if (name == "REQ")
                m_topics[conn.topic].channels[conn.channel].queue.push_back(it->second);
            else {
                QMutexLocker lock(&m_state->mutex);
                m_state->finished.append(p[0]);
            }
            conn.inFlight.erase(it);
            updateInFlight(-1);
            deliver(conn.topic);
        } else if (name == "CLS") {
            if (!conn.subscribed)
                return fatal(conn, "E_INVALID cannot CLS in current state");
            conn.rdy = 0;
            sendFrame(conn, 0, "CLOSE_WAIT");
        } else if (name == "PUB" || name == "DPUB") {
            if (!validName(p.value(0)))
                return fatal(conn, "E_BAD_TOPIC " + name + " topic name \"" + p.value(0) + "\" is not valid");
            if (name == "DPUB") {
                bool ok = false;
                const int defer = p.value(1).toInt(&ok);
                if (!ok || defer < 0)
                    return fatal(conn, "E_INVALID DPUB could not parse timeout " + p.value(1));
                const QByteArray topic = p[0], body = command.body;
                QTimer::singleShot(defer, this, [this, topic, body] { publish(topic, body); });
            } else {
                publish(p[0], command.body);
            }
            sendFrame(conn, 0, "OK");
        } else if (name == "MPUB") {
            if (!validName(p.value(0)))
                return fatal(conn, "E_BAD_TOPIC MPUB topic name \"" + p.value(0) + "\" is not valid");
            const QByteArray &body = command.body;
            if (body.size() < 4)
                return fatal(conn, "E_BAD_BODY MPUB failed to read message count");
            const quint32 count = qFromBigEndian<quint32>(body.constData());
            QByteArrayList messages;
            int pos = 4;
            for (quint32 i = 0; i < count; ++i) {
                if (body.size() < pos + 4)
                    return fatal(conn, "E_BAD_MESSAGE MPUB failed to read message body size");
                const qint32 size = qFromBigEndian<qint32>(body.constData() + pos);
                if (size <= 0 || body.size() < pos + 4 + size)
                    return fatal(conn, "E_BAD_MESSAGE MPUB invalid message body size " + QByteArray::number(size));
                messages.append(body.mid(pos + 4, size));
                pos += 4 + size;
            }
            for (const QByteArray &message : messages)
                publish(p[0], message);
            sendFrame(conn, 0, "OK");
        } else {
            fatal(conn, "E_INVALID invalid command " + name);
        }
    }

    void identify(Conn &conn, const QByteArray &body)
    {
        const QJsonObject request = QJsonDocument::fromJson(body).object();
        const int interval = request.value("heartbeat_interval").toInt(DefaultHeartbeatMs);
        if (interval < 0)
            conn.heartbeat.stop();
        else if (interval > 0)
            conn.heartbeat.start(interval);
        if (!request.value("feature_negotiation").toBool()) {
            sendFrame(conn, 0, "OK");
            return;
        }
        const QJsonObject answer{{"max_rdy_count", MaxRdyCount},
                                 {"version", "1.2.1"},
                                 {"max_msg_timeout", 900000},
                                 {"msg_timeout", 60000},
                                 {"tls_v1", false},
                                 {"deflate", false},
                                 {"deflate_level", 6},
                                 {"max_deflate_level", 6},
                                 {"snappy", false},
                                 {"sample_rate", 0},
                                 {"auth_required", false},
                                 {"output_buffer_size", 16384},
                                 {"output_buffer_timeout", 250}};
        sendFrame(conn, 0, QJsonDocument(answer).toJson(QJsonDocument::Compact));
    }

    void subscribe(Conn &conn, const QByteArray &topicName, const QByteArray &channelName)
    {
        conn.subscribed = true;
        conn.topic = topicName;
        conn.channel = channelName;
        Topic &topic = topicNamed(topicName);
        const bool first = topic.channels.empty();
        Channel &channel = topic.channels[channelName];
        if (first) {
            channel.queue.insert(channel.queue.end(), topic.backlog.begin(), topic.backlog.end());
            topic.backlog.clear();
        }
        channel.subscribers.append(conn.id);
    }

    void deliver(const QByteArray &topicName)
    {
        auto topic = m_topics.find(topicName);
        if (topic == m_topics.end())
            return;
        for (auto &entry : topic->second.channels) {
            Channel &channel = entry.second;
            while (!channel.queue.empty()) {
                Conn *target = nullptr;
                for (int i = 0; i < channel.subscribers.size() && !target; ++i) {
                    Conn *candidate = find(channel.subscribers[(channel.next + i) % channel.subscribers.size()]);
                    if (candidate && !candidate->closing && qint64(candidate->inFlight.size()) < candidate->rdy) {
                        target = candidate;
                        channel.next = (channel.next + i + 1) % channel.subscribers.size();
                    }
                }
                if (!target)
                    break;
                Message message = channel.queue.front();
                channel.queue.pop_front();
                ++message.attempts;
                target->inFlight[message.id] = message;
                updateInFlight(1);
                sendFrame(*target, 2, messageBody(message.timestamp, message.attempts, message.id, message.body));
            }
        }
    }

    void updateInFlight(int delta)
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->inFlight += delta;
    }

    void sendFrame(Conn &conn, quint32 type, const QByteArray &data)
    {
        conn.socket->write(NsqdDouble::frame(type, data));
    }

    void fatal(Conn &conn, const QByteArray &error)
    {
        sendFrame(conn, 1, error);
        conn.closing = true;
        conn.heartbeat.stop();
        conn.socket->disconnectFromHost();
    }

public:
    static QByteArray messageBody(qint64 timestamp, quint16 attempts, const QByteArray &id, const QByteArray &body)
    {
        QByteArray out(10, '\0');
        qToBigEndian(timestamp, out.data());
        qToBigEndian(attempts, out.data() + 8);
        return out + id + body;
    }

private:
    NsqdDouble::State *m_state;
    QTcpServer *m_server = new QTcpServer(this); // owned as child, moves with the server
    QMap<int, std::shared_ptr<Conn>> m_conns;
    std::map<QByteArray, Topic> m_topics;
    quint64 m_lastId = 0;
};

NsqdDouble::NsqdDouble() : m_state(std::make_unique<State>()) {}

NsqdDouble::~NsqdDouble() = default;

bool NsqdDouble::start()
{
    return m_host.start(m_state.get());
}

quint16 NsqdDouble::tcpPort() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->port;
}

int NsqdDouble::connectionCount() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->accepted;
}

int NsqdDouble::openConnections() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->open.size();
}

QList<int> NsqdDouble::openConnectionIds() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->open;
}

QList<Command> NsqdDouble::commands() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->commands;
}

QList<Command> NsqdDouble::commands(const QByteArray &name, int connection) const
{
    QList<Command> out;
    for (const Command &command : commands())
        if (command.name == name && (connection == 0 || command.connection == connection))
            out.append(command);
    return out;
}

QByteArray NsqdDouble::received(int connection) const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->received.value(connection);
}

QByteArrayList NsqdDouble::published(const QByteArray &topic) const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->published.value(topic);
}

int NsqdDouble::inFlight() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->inFlight;
}

QByteArrayList NsqdDouble::topics() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->topics;
}

QByteArrayList NsqdDouble::finished() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->finished;
}

void NsqdDouble::publish(const QByteArray &topic, const QByteArray &body)
{
    m_host.call([topic, body](NsqdServer &server) { server.publish(topic, body); });
}

void NsqdDouble::sendRaw(int connection, const QByteArray &bytes)
{
    m_host.call([connection, bytes](NsqdServer &server) { server.sendRaw(connection, bytes); });
}

void NsqdDouble::sendHeartbeat(int connection)
{
    m_host.call([connection](NsqdServer &server) { server.heartbeat(connection); });
}

void NsqdDouble::dropConnection(int connection)
{
    m_host.call([connection](NsqdServer &server) { server.drop(connection); });
}

QByteArray NsqdDouble::frame(quint32 type, const QByteArray &data)
{
    return bigEndian32(quint32(data.size() + 4)) + bigEndian32(type) + data;
}

QByteArray NsqdDouble::messageFrame(qint64 timestamp, quint16 attempts, const QByteArray &id, const QByteArray &body)
{
    return frame(2, NsqdServer::messageBody(timestamp, attempts, id, body));
}

} // namespace nsqdouble
