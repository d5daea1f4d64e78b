#pragma once
// Messages over NSQ through queuewire, with the topics of the MQTT link.
#include <queuewire.h>

#include <QString>

class CLinkNsq : public QueueWire
{
public:
    CLinkNsq() = default;

    // Subscribes to this side's listening topic of uid (see CLinkMQTT).
    void StartService(const QString &uid, const QString &host, int port);
    // Queues the publication and writes the send log line.
    bool SendMessage(const QString &topic, const QByteArray &message);

    void SetUID(const QString &uid) { m_strUID = uid; }
    QString GetUID() const { return m_strUID; }

    void HandleTopicMsg(const QByteArray &body, const QString &topic) override;
    void HandleConnState(bool connected) override;

    virtual ~CLinkNsq();

private:
    QString m_strUID;
};
