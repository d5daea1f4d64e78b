#pragma once
// The server's remote services: the TCP listener and the MQTT and NSQ
// services that serve one station UID each, the liveness of the stations they
// bring, and the requests the server sends to a station's programmer. The
// window maps its actions and status label to this class.
#include "cremoteliveness.h"
#include "myproger.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class CLinkTcpS;
class CLinkMQTT;
class CLinkNsq;
struct CLinkSet;

namespace ns_prog720a {
class Packet;
}

class CRemoteService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTickMs = 1000;
    static constexpr int kUidLength = 24;

    explicit CRemoteService(QObject *parent = nullptr);
    ~CRemoteService() override;

    // Messages go out on this service's TCP-listener, MQTT and NSQ links.
    void AttachLinks(CLinkSet &links);

    // A broker UID: exactly 24 characters for MQTT, at least 24 for NSQ.
    static bool IsMqttUid(const QString &uid) { return uid.size() == kUidLength; }
    static bool IsNsqUid(const QString &uid) { return uid.size() >= kUidLength; }

    void SetBroker(const QString &host, int mqttPort, int nsqPort);

    // Each start logs its outcome; false when refused or failed.
    bool StartTcp(const QString &ip, int port);
    void StopTcp();
    bool IsTcpOn() const;
    bool StartMqtt(const QString &uid);
    void StopMqtt();
    bool StartNsq(const QString &uid);
    void StopNsq();
    // The UID a broker service serves; empty when it is off.
    QString MqttUID() const;
    QString NsqUID() const;
    void StopAll();

    // A link reported its service on or off (broker services end there).
    void OnServiceState();

    // Station life, from the links and answers.
    void OnStationAdded(const CRemoteKey &key);
    void OnStationAnswered(const CRemoteKey &key);
    void OnStationRemoved(const CRemoteKey &key);
    const CRemoteLiveness &Liveness() const { return m_liveness; }
    // One tick of the liveness timer (the timer calls it every kTickMs).
    void Tick();

    // Requests to a remote programmer, on its route; false when no link takes them.
    bool RequestImages(const MyProger &proger);
    bool RequestConfig(const MyProger &proger);
    // "all" clears every image.
    bool ClearImage(const MyProger &proger, const QString &name);

    // Gives a message the route of a remote programmer: its TCP peer, or the
    // topic its station listens on (the whole UID, also when longer than 24).
    static void Route(const MyProger &proger, ns_prog720a::Packet &packet);
    static CRemoteKey KeyOf(const MyProger &proger);

signals:
    // A station that never answered: the window drops its programmer.
    void sigStationGone(const CRemoteKey &key);
    // A service went on or off.
    void sigStateChanged();

private:
    void UpdateTimer();
    // Starts a broker service when its UID is right, else logs the refusal.
    bool StartBroker(bool uidOk, const std::function<void()> &start);

    std::unique_ptr<CLinkTcpS> m_pTcp;
    std::unique_ptr<CLinkMQTT> m_pMqtt;
    std::unique_ptr<CLinkNsq> m_pNsq;
    CRemoteLiveness m_liveness;
    QTimer m_timer;
    QString m_strBroker = QStringLiteral("127.0.0.1");
    int m_nMqttPort = 61613;
    int m_nNsqPort = 4161;
    QString m_strTcp; // "address:port" while listening
};
