#include "nsqhandle.h"

#include "nsqrunner.h"
#include "queuewire.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMutexLocker>

namespace {
std::unique_ptr<NsqHandle> g_handle;
}

NsqHandle::NsqHandle()
    : thread(this)
{
}

NsqHandle::~NsqHandle()
{
    shutdown();
}

void NsqHandle::shutdown()
{
    // Never free the loops under a running thread: stop them (a no-op after CloseInst)
    // and wait for all three threads.
    stopLoops();
    thread.wait();
    if (m_consumerThread.joinable())
        m_consumerThread.join();
    if (m_producerThread.joinable())
        m_producerThread.join();
}

NsqHandle *NsqHandle::get()
{
    if (!g_handle)
        g_handle = std::make_unique<NsqHandle>();
    return g_handle.get();
}

void NsqHandle::destroy()
{
    std::unique_ptr<NsqHandle> old = std::move(g_handle);
    if (!old)
        return;
    old->shutdown();
    // Called from a state or message callback: the handle is still in its own
    // event handler and goes once that has returned.
    if (old->m_dispatching)
        old.release()->deleteLater();
}

void NsqHandle::setSettings(const QStringList &newTopics, const QString &newHost, int newPort)
{
    QMutexLocker lock(&pubMutex);
    host = newHost;
    port = newPort;
    topics = newTopics;
}

NsqHandle::Settings NsqHandle::settings()
{
    QMutexLocker lock(&pubMutex);
    return Settings{host, port, topics};
}

void NsqHandle::appendPending(TopicMessage message)
{
    QMutexLocker lock(&pubMutex);
    pending.push_back(std::make_unique<TopicMessage>(std::move(message)));
}

std::optional<TopicMessage> NsqHandle::takePending()
{
    std::unique_ptr<TopicMessage> first;
    {
        QMutexLocker lock(&pubMutex);
        if (pending.empty())
            return std::nullopt;
        first = std::move(pending.front());
        pending.pop_front();
    }
    return std::move(*first);
}

void NsqHandle::startWorker()
{
    thread.start();
}

void NsqHandle::stopLoops()
{
    consumerLoop.stop();
    producerLoop.stop();
    lookupLoop.stop();
}

void NsqHandle::lookupDone(const nsq::NsqNodesPtr &nodes)
{
    if (!nodes || nodes->empty()) {
        qDebug() << "can not find NsqNodesPtr";
        return;
    }
    qDebug() << "got NsqNodesPtr";
    // The lookup loop runs once per handle, so this runs at most once.
    if (m_consumerThread.joinable() || m_producerThread.joinable())
        return;
    const std::vector<std::string> channels{"ch1"};
    m_consumerThread = std::thread(&NsqRunner::runConsumers, this, nodes, channels);
    m_producerThread = std::thread(&NsqRunner::runProducer, this, nodes);
    QCoreApplication::postEvent(this, new QEvent(QEvent::Type(ConnectedEvent)));
}

void NsqHandle::customEvent(QEvent *event)
{
    QueueWire *instance = QueueWire::Instance();
    m_dispatching = true;
    switch (int(event->type())) {
    case ConnectedEvent:
        if (instance)
            instance->HandleConnState(true);
        break;
    case DisconnectedEvent:
        if (instance)
            instance->HandleConnState(false);
        break;
    case MessageEvent:
        // The message is freed with the event once it is handled (or dropped).
        if (instance) {
            const TopicMessage &message = static_cast<TopicEvent *>(event)->message;
            instance->HandleTopicMsg(message.body, message.topic);
        }
        break;
    default:
        break;
    }
    m_dispatching = false;
}
