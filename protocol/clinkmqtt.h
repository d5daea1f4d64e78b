#pragma once
// Messages over an MQTT broker. The server serves the station whose UID it
// subscribes to ("<uid>_C2S") and answers on "<uid>_S2C"; the client does the
// reverse. Every message is whole; no head.
#include <cbrokerpipe.h>

class CLinkMQTT : public CBrokerPipe
{
public:
    static constexpr int kBrokerPort = 61613;

    CLinkMQTT() = default;

    // Subscribes to this side's listening topic of uid: the server to
    // uid + "_C2S", the client to uid + "_S2C".
    void StartService(const QString &uid, const QString &host, int port = kBrokerPort);
    // Publishes and writes the send log line.
    bool SendMessage(const QString &topic, const QByteArray &message);

    // The station served (server) or this station's own UID (client); empty when none.
    void SetUID(const QString &uid) { m_strUID = uid; }
    QString GetUID() const { return m_strUID; }

protected:
    void HandleTopicMsg(const QString &topic, const QByteArray &message) override;
    void HandleConnState(bool connected, QString host, int port) override;

public:
    ~CLinkMQTT() override;

private:
    QString m_strUID;
};
