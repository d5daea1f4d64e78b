#pragma once
// Process-wide NSQ client: subscribes to topics on the nsqd nodes that an nsqlookupd
// knows and publishes queued messages. A program derives from QueueWire and gets
// received messages and the connection state on its GUI thread (the thread that
// first used any export below).
#include "queuewire_global.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QUEUEWIRE_EXPORT QueueWire
{
public:
    QueueWire();
    ~QueueWire();

    static QueueWire *Instance();

    // Stores the settings and starts the worker once; returns at once.
    void RunInst(const QStringList &topics, const QString &host, int port);
    // Queues a publication (also before RunInst); always true.
    bool AddPubMessage(const QString &topic, const QByteArray &body);
    // Stops the three loops; HandleConnState(false) follows.
    void CloseInst();
    // Waits for the library's threads to end, then frees everything; the next use starts anew.
    void Exitance();
    // Runs the three loops on the calling thread, one after the other.
    void RunLoop();

    virtual void HandleTopicMsg(const QByteArray &body, const QString &topic);
    virtual void HandleConnState(bool connected);

    static QueueWire *m_pInstance;
};
