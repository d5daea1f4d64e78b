#include "cbrokerpipe.h"

#include <QDebug>
#include <QHostAddress>
#include <QHostInfo>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QUuid>

#include <mosquitto.h>

#include <deque>
#include <mutex>
#include <set>

namespace {

struct MosquittoLib
{
    MosquittoLib() { mosquitto_lib_init(); }
    ~MosquittoLib() { mosquitto_lib_cleanup(); }
};

void EnsureLib()
{
    static MosquittoLib lib;
}

// What libmosquitto reported during one call; handled after the call returns,
// because the handlers may close or restart the session.
struct BrokerEvent
{
    enum Kind { Connected, Subscribed, Message, Disconnected } kind;
    int value = 0;
    QString topic;
    QByteArray payload;
};

const int kKeepAlive = 60;
const int kMiscInterval = 1000;

} // namespace

class BrokerPipeCore : public QObject
{
    Q_OBJECT
public:
    enum State { Idle, Resolving, Connecting, Subscribing, Online };

    explicit BrokerPipeCore(CBrokerPipe *owner) : m_pOwner(owner)
    {
        m_misc.setInterval(kMiscInterval);
        connect(&m_misc, &QTimer::timeout, this, [this] { Step(mosquitto_loop_misc(m_pMosq)); });
        m_timeout.setSingleShot(true);
        connect(&m_timeout, &QTimer::timeout, this, [this] {
            qDebug() << "CBrokerPipe: connection to" << m_strHost << m_nPort << "timed out";
            Stop(true);
        });
    }

    ~BrokerPipeCore() override { Teardown(); }

    void Run(const QStringList &topics, const QString &host, int port)
    {
        Stop(true);
        EnsureLib();
        m_topics = topics;
        m_strHost = host;
        m_nPort = port;
        m_state = Resolving;
        m_timeout.start(m_nTimeout);
        const quint64 session = ++m_nSession;
        m_nLookup = QHostInfo::lookupHost(host, this, [this, session](const QHostInfo &info) {
            if (session == m_nSession && m_state == Resolving) {
                m_nLookup = -1;
                OnResolved(info);
            }
        });
    }

    void Publish(const QString &topic, const QByteArray &message)
    {
        if (m_state == Online) {
            const QByteArray name = topic.toUtf8();
            const int rc = mosquitto_publish(m_pMosq, nullptr, name.constData(), message.size(),
                                             message.constData(), 1, false);
            if (rc != MOSQ_ERR_SUCCESS)
                qDebug() << "CBrokerPipe: publish failed:" << mosquitto_strerror(rc);
            Step(rc == MOSQ_ERR_NO_CONN || rc == MOSQ_ERR_CONN_LOST ? rc : MOSQ_ERR_SUCCESS);
        } else if (m_state != Idle) {
            m_pending.append({topic, message});
        } else {
            qDebug() << "CBrokerPipe: not connected, message to" << topic << "dropped";
        }
    }

    // Ends the session; report says whether the owner hears of it.
    void Stop(bool report)
    {
        const bool active = m_state != Idle;
        if (m_pMosq && m_state >= Subscribing)
            mosquitto_disconnect(m_pMosq);
        Teardown();
        if (report && active)
            m_pOwner->HandleConnState(false, m_strHost, m_nPort);
    }

    State m_state = Idle;
    int m_nTimeout = 10000;

private:
    void OnResolved(const QHostInfo &info)
    {
        QString address;
        for (const QHostAddress &a : info.addresses()) {
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                address = a.toString();
                break;
            }
        }
        if (address.isEmpty() && !info.addresses().isEmpty())
            address = info.addresses().first().toString();
        if (address.isEmpty() || m_nPort <= 0 || m_nPort > 65535) {
            qDebug() << "CBrokerPipe: cannot resolve" << m_strHost;
            Stop(true);
            return;
        }
        const QByteArray id = "qel-" + QUuid::createUuid().toRfc4122().toHex().left(16);
        m_pMosq = mosquitto_new(id.constData(), true, this);
        if (!m_pMosq) {
            Stop(true);
            return;
        }
        mosquitto_connect_callback_set(m_pMosq, [](mosquitto *, void *obj, int rc) {
            static_cast<BrokerPipeCore *>(obj)->m_events.push_back({BrokerEvent::Connected, rc, {}, {}});
        });
        mosquitto_subscribe_callback_set(m_pMosq, [](mosquitto *, void *obj, int mid, int, const int *) {
            static_cast<BrokerPipeCore *>(obj)->m_events.push_back({BrokerEvent::Subscribed, mid, {}, {}});
        });
        mosquitto_message_callback_set(m_pMosq, [](mosquitto *, void *obj, const mosquitto_message *msg) {
            BrokerEvent event{BrokerEvent::Message, 0, QString::fromUtf8(msg->topic),
                              QByteArray(static_cast<const char *>(msg->payload), msg->payloadlen)};
            static_cast<BrokerPipeCore *>(obj)->m_events.push_back(std::move(event));
        });
        mosquitto_disconnect_callback_set(m_pMosq, [](mosquitto *, void *obj, int rc) {
            static_cast<BrokerPipeCore *>(obj)->m_events.push_back({BrokerEvent::Disconnected, rc, {}, {}});
        });
        m_state = Connecting;
        const int rc = mosquitto_connect_async(m_pMosq, address.toUtf8().constData(), m_nPort, kKeepAlive);
        if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(m_pMosq) < 0) {
            qDebug() << "CBrokerPipe: connect to" << address << m_nPort << "failed:" << mosquitto_strerror(rc);
            Stop(true);
            return;
        }
        const int fd = mosquitto_socket(m_pMosq);
        m_pRead = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(m_pRead.get(), &QSocketNotifier::activated, this, [this] { Step(mosquitto_loop_read(m_pMosq, 16)); });
        m_pWrite = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        connect(m_pWrite.get(), &QSocketNotifier::activated, this, [this] { Step(mosquitto_loop_write(m_pMosq, 16)); });
        m_misc.start();
        Step(MOSQ_ERR_SUCCESS);
    }

    // After every call into libmosquitto: handle its result and its callbacks,
    // then watch for writability only while it has something queued.
    void Step(int rc)
    {
        if (!m_pMosq)
            return;
        if (rc != MOSQ_ERR_SUCCESS) {
            qDebug() << "CBrokerPipe: connection lost:" << mosquitto_strerror(rc);
            Stop(true);
            return;
        }
        const quint64 session = m_nSession;
        QPointer<BrokerPipeCore> alive(this);
        while (!m_events.empty()) {
            BrokerEvent event = std::move(m_events.front());
            m_events.pop_front();
            Handle(event);
            if (!alive || session != m_nSession || !m_pMosq)
                return;
        }
        if (m_pWrite)
            m_pWrite->setEnabled(mosquitto_want_write(m_pMosq));
    }

    void Handle(const BrokerEvent &event)
    {
        switch (event.kind) {
        case BrokerEvent::Connected:
            if (event.value != 0) {
                qDebug() << "CBrokerPipe: broker refused:" << mosquitto_connack_string(event.value);
                Stop(true);
                return;
            }
            m_state = Subscribing;
            for (const QString &topic : qAsConst(m_topics)) {
                int mid = 0;
                if (mosquitto_subscribe(m_pMosq, &mid, topic.toUtf8().constData(), 1) == MOSQ_ERR_SUCCESS)
                    m_mids.insert(mid);
                else
                    qDebug() << "CBrokerPipe: cannot subscribe to" << topic;
            }
            if (m_mids.empty())
                GoOnline();
            return;
        case BrokerEvent::Subscribed:
            m_mids.erase(event.value);
            if (m_state == Subscribing && m_mids.empty())
                GoOnline();
            return;
        case BrokerEvent::Message:
            if (m_state == Online)
                m_pOwner->HandleTopicMsg(event.topic, event.payload);
            return;
        case BrokerEvent::Disconnected:
            Stop(true);
            return;
        }
    }

    void GoOnline()
    {
        m_timeout.stop();
        m_state = Online;
        const quint64 session = m_nSession;
        QPointer<BrokerPipeCore> alive(this);
        m_pOwner->HandleConnState(true, m_strHost, m_nPort);
        if (!alive || session != m_nSession || m_state != Online)
            return;
        const auto pending = std::move(m_pending);
        m_pending.clear();
        for (const auto &message : pending)
            Publish(message.first, message.second);
    }

    void Teardown()
    {
        ++m_nSession;
        m_timeout.stop();
        m_misc.stop();
        if (m_nLookup >= 0) {
            QHostInfo::abortHostLookup(m_nLookup);
            m_nLookup = -1;
        }
        m_pRead.reset();
        m_pWrite.reset();
        if (m_pMosq) {
            mosquitto_destroy(m_pMosq);
            m_pMosq = nullptr;
        }
        m_events.clear();
        m_mids.clear();
        m_pending.clear();
        m_state = Idle;
    }

    CBrokerPipe *m_pOwner;
    mosquitto *m_pMosq = nullptr;
    std::unique_ptr<QSocketNotifier> m_pRead;
    std::unique_ptr<QSocketNotifier> m_pWrite;
    QTimer m_misc;
    QTimer m_timeout;
    int m_nLookup = -1;
    quint64 m_nSession = 0;
    QStringList m_topics;
    QString m_strHost;
    int m_nPort = 0;
    std::set<int> m_mids;
    std::deque<BrokerEvent> m_events;
    QList<QPair<QString, QByteArray>> m_pending;
};

CBrokerPipe::CBrokerPipe() : m_pCore(std::make_unique<BrokerPipeCore>(this)) {}

CBrokerPipe::~CBrokerPipe() = default;

void CBrokerPipe::RunInst(const QStringList &topics, const QString &host, int port)
{
    m_pCore->Run(topics, host, port);
}

void CBrokerPipe::AddPubMessage(const QString &topic, const QByteArray &message)
{
    m_pCore->Publish(topic, message);
}

void CBrokerPipe::CloseInst()
{
    m_pCore->Stop(true);
}

bool CBrokerPipe::IsOnline() const
{
    return m_pCore->m_state == BrokerPipeCore::Online;
}

void CBrokerPipe::SetConnectTimeout(int msecs)
{
    m_pCore->m_nTimeout = qMax(1, msecs);
}

void CBrokerPipe::HandleTopicMsg(const QString &, const QByteArray &) {}

void CBrokerPipe::HandleConnState(bool, QString, int) {}

#include "cbrokerpipe.moc"
