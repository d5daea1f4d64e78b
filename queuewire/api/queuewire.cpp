#include "queuewire.h"

#include "nsqhandle.h"

#include <QCoreApplication>
#include <QDebug>

QueueWire *QueueWire::m_pInstance = nullptr;

QueueWire::QueueWire()
{
    m_pInstance = this;
}

QueueWire::~QueueWire()
{
    // Events still on their way must not reach an object that is gone.
    if (m_pInstance == this)
        m_pInstance = nullptr;
}

QueueWire *QueueWire::Instance()
{
    return m_pInstance;
}

void QueueWire::RunInst(const QStringList &topics, const QString &host, int port)
{
    NsqHandle *handle = NsqHandle::get();
    handle->setSettings(topics, host, port);
    handle->startWorker();
}

bool QueueWire::AddPubMessage(const QString &topic, const QByteArray &body)
{
    NsqHandle::get()->appendPending(TopicMessage{topic, body, 0});
    return true;
}

void QueueWire::CloseInst()
{
    NsqHandle *handle = NsqHandle::get();
    handle->stopLoops();
    qDebug() << "stop nsq loops.";
    QCoreApplication::postEvent(handle, new QEvent(QEvent::Type(NsqHandle::DisconnectedEvent)));
}

void QueueWire::Exitance()
{
    NsqHandle::destroy();
}

void QueueWire::RunLoop()
{
    NsqHandle *handle = NsqHandle::get();
    handle->consumerLoop.run();
    handle->producerLoop.run();
    handle->lookupLoop.run();
}

void QueueWire::HandleTopicMsg(const QByteArray &, const QString &)
{
}

void QueueWire::HandleConnState(bool)
{
}
