#include "lookupdouble.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace nsqdouble {

struct LookupDouble::State
{
    mutable QMutex mutex;
    quint16 port = 0;
    QList<NodeEntry> nodes;
    LookupDouble::BodyMode mode = LookupDouble::ContentLength;
    int fixedStatus = 0;
    QByteArray fixedBody;
    QByteArray raw;
    QByteArrayList requests;
};

class LookupServer : public QObject
{
public:
    explicit LookupServer(LookupDouble::State *state)
        : m_state(state)
    {
        connect(m_server, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    ~LookupServer() override
    {
        for (QTcpSocket *socket : m_server->findChildren<QTcpSocket *>()) {
            QObject::disconnect(socket, nullptr, this, nullptr);
            socket->abort();
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

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this, [this, socket] { m_buffers.remove(socket); });
        }
    }

    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer.append(socket->readAll());
        for (;;) {
            const int headEnd = buffer.indexOf("\r\n\r\n");
            if (headEnd < 0)
                return;
            const QByteArray head = buffer.left(headEnd);
            int length = 0;
            for (const QByteArray &line : head.split('\n')) {
                const int colon = line.indexOf(':');
                if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
                    length = line.mid(colon + 1).trimmed().toInt();
            }
            if (buffer.size() < headEnd + 4 + length)
                return;
            buffer.remove(0, headEnd + 4 + length);
            {
                QMutexLocker lock(&m_state->mutex);
                m_state->requests.append(head);
            }
            if (!answer(socket, head)) {
                m_buffers.remove(socket);
                return;
            }
        }
    }

    // False when the connection was closed after the answer.
    bool answer(QTcpSocket *socket, const QByteArray &head)
    {
        QMutexLocker lock(&m_state->mutex);
        if (!m_state->raw.isEmpty()) {
            socket->write(m_state->raw);
            socket->disconnectFromHost();
            return false;
        }
        const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
        const QUrl url(QString::fromLatin1(words.value(1)));
        int status = 200;
        QByteArray body;
        QByteArray type = "application/json; charset=utf-8";
        if (m_state->fixedStatus != 0) {
            status = m_state->fixedStatus;
            body = m_state->fixedBody;
        } else if (words.value(0) != "GET") {
            status = 405;
            body = R"({"message":"METHOD_NOT_ALLOWED"})";
        } else if (url.path() == "/ping") {
            body = "OK";
            type = "text/plain; charset=utf-8";
        } else if (url.path() == "/nodes") {
            body = QJsonDocument(QJsonObject{{"producers", producers(QByteArray())}}).toJson(QJsonDocument::Compact);
        } else if (url.path() == "/lookup") {
            const QByteArray topic = QUrlQuery(url).queryItemValue("topic").toUtf8();
            const QJsonArray found = producers(topic);
            if (topic.isEmpty()) {
                status = 400;
                body = R"({"message":"MISSING_ARG_TOPIC"})";
            } else if (found.isEmpty()) {
                status = 404;
                body = R"({"message":"TOPIC_NOT_FOUND"})";
            } else {
                body = QJsonDocument(QJsonObject{{"channels", QJsonArray()}, {"producers", found}}).toJson(QJsonDocument::Compact);
            }
        } else {
            status = 404;
            body = R"({"message":"NOT_FOUND"})";
        }
        QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " " + reason(status) + "\r\n";
        out += "Content-Type: " + type + "\r\n";
        out += "X-Nsq-Content-Type: nsq; version=1.0\r\n";
        switch (m_state->mode) {
        case LookupDouble::ContentLength:
            out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
            socket->write(out);
            return true;
        case LookupDouble::Chunked: {
            out += "Transfer-Encoding: chunked\r\n\r\n";
            // Two chunks, so a reader that stops after the first one shows.
            const int half = body.size() / 2;
            for (const QByteArray &chunk : {body.left(half), body.mid(half)})
                if (!chunk.isEmpty())
                    out += QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n";
            out += "0\r\n\r\n";
            socket->write(out);
            return true;
        }
        case LookupDouble::CloseDelimited:
            out += "Connection: close\r\n\r\n" + body;
            socket->write(out);
            socket->disconnectFromHost();
            return false;
        }
        return true;
    }

    // Callers hold the state lock.
    QJsonArray producers(const QByteArray &topic) const
    {
        QJsonArray out;
        for (const NodeEntry &node : m_state->nodes) {
            const QByteArrayList nodeTopics = node.topicSource ? node.topicSource() : node.topics;
            if (!topic.isEmpty() && !nodeTopics.contains(topic))
                continue;
            QJsonArray topics;
            for (const QByteArray &t : nodeTopics)
                topics.append(QString::fromUtf8(t));
            out.append(QJsonObject{{"remote_address", node.broadcastAddress + ":" + QString::number(40000 + out.size())},
                                   {"hostname", "nsqd-double"},
                                   {"broadcast_address", node.broadcastAddress},
                                   {"tcp_port", node.tcpPort},
                                   {"http_port", node.httpPort},
                                   {"version", "1.2.1"},
                                   {"tombstones", QJsonArray()},
                                   {"topics", topics}});
        }
        return out;
    }

    static QByteArray reason(int status)
    {
        switch (status) {
        case 200: return "OK";
        case 400: return "Bad Request";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 500: return "Internal Server Error";
        default: return "Status";
        }
    }

    LookupDouble::State *m_state;
    QTcpServer *m_server = new QTcpServer(this); // child, moves with the server
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

LookupDouble::LookupDouble() : m_state(std::make_unique<State>()) {}

LookupDouble::~LookupDouble() = default;

bool LookupDouble::start()
{
    return m_host.start(m_state.get());
}

quint16 LookupDouble::port() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->port;
}

void LookupDouble::setNodes(const QList<NodeEntry> &nodes)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->nodes = nodes;
}

void LookupDouble::setBodyMode(BodyMode mode)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->mode = mode;
}

void LookupDouble::setFixedAnswer(int status, const QByteArray &body)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->fixedStatus = status;
    m_state->fixedBody = body;
}

void LookupDouble::setRawAnswer(const QByteArray &bytes)
{
    QMutexLocker lock(&m_state->mutex);
    m_state->raw = bytes;
}

QByteArrayList LookupDouble::requests() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->requests;
}

int LookupDouble::requestCount() const
{
    QMutexLocker lock(&m_state->mutex);
    return m_state->requests.size();
}

} // namespace nsqdouble
