#pragma once
// The one instance behind QueueWire: publication queue, settings, the worker thread
// and the three event loops. Lives on the thread that first used it; everything
// reaches the program as events posted to it.
#include "nsqthread.h"
#include "topicmessage.h"

#include "eventloop.h"
#include "nsqnode.h"

#include <QEvent>
#include <QMutex>
#include <QObject>
#include <QStringList>

#include <deque>
#include <memory>
#include <optional>
#include <thread>

class NsqHandle : public QObject
{
    Q_OBJECT
public:
    enum EventType { ConnectedEvent = 2004, DisconnectedEvent = 2005, MessageEvent = 2006 };

    struct Settings
    {
        QString host;
        int port = 0;
        QStringList topics;
    };

    NsqHandle();
    ~NsqHandle() override;

    // Builds the handle on first use.
    static NsqHandle *get();
    static void destroy();

    void setSettings(const QStringList &topics, const QString &host, int port);
    Settings settings();
    void appendPending(TopicMessage message);
    std::optional<TopicMessage> takePending();

    void startWorker();
    void stopLoops();
    // Stops the loops and waits for all three threads.
    void shutdown();
    // Worker thread: given the lookup's answer.
    void lookupDone(const nsq::NsqNodesPtr &nodes);

    std::deque<std::unique_ptr<TopicMessage>> pending;
    NsqThread thread;
    QMutex pubMutex;
    QString host;
    int port = 0;
    QStringList topics;
    uv::EventLoop lookupLoop;
    uv::EventLoop producerLoop;
    uv::EventLoop consumerLoop;

protected:
    void customEvent(QEvent *event) override;

private:
    bool m_dispatching = false; // inside customEvent: the handle cannot be deleted at once
    // Started by the worker, joined before the handle goes.
    std::thread m_consumerThread;
    std::thread m_producerThread;
};

// A received message on its way to the handle's thread.
class TopicEvent : public QEvent
{
public:
    explicit TopicEvent(TopicMessage message)
        : QEvent(QEvent::Type(NsqHandle::MessageEvent))
        , message(std::move(message))
    {
    }
    TopicMessage message;
};
