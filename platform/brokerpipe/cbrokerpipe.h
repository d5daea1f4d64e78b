#pragma once
// MQTT client on libmosquitto. The library's socket and keep-alive are driven
// from the Qt event loop of the owning thread, so every callback runs there and
// closing never waits on a network thread.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class BrokerPipeCore;

class CBrokerPipe
{
public:
    CBrokerPipe();
    CBrokerPipe(const CBrokerPipe &) = delete;
    CBrokerPipe &operator=(const CBrokerPipe &) = delete;

    // Connects to the broker and subscribes to every topic; a running session
    // is closed first. HandleConnState(true, host, port) follows once all topics
    // are subscribed; a failed or stuck attempt reports false. No reconnection:
    // a lost connection reports false and the session ends.
    void RunInst(const QStringList &topics, const QString &host, int port);
    // Publishes one message (QoS 1). While the session is still being set up the
    // message waits for it; without a session it is dropped.
    void AddPubMessage(const QString &topic, const QByteArray &message);
    // Disconnects; reports false when a session was running.
    void CloseInst();

    bool IsOnline() const;
    // A connection not up after this long is given up (default 10 s).
    void SetConnectTimeout(int msecs);

protected:
    virtual void HandleTopicMsg(const QString &topic, const QByteArray &message);
    virtual void HandleConnState(bool connected, QString host, int port);

public:
    virtual ~CBrokerPipe();

private:
    friend class BrokerPipeCore;
    std::unique_ptr<BrokerPipeCore> m_pCore;
};
