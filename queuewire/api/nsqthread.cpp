#include "nsqthread.h"

#include "nsqhandle.h"

#include "logwriter.h"
#include "nodelookup.h"

#include <QDebug>

#include <pthread.h>

void NsqThread::start()
{
    if (m_running)
        return;
    wait();
    m_running = true;
    m_thread = std::thread([this] {
        pthread_setname_np(pthread_self(), "nsq-worker");
        run();
        m_running = false;
    });
}

void NsqThread::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void NsqThread::run()
{
    qDebug() << "RunNSQ Thread";
    uv::LogWriter::Instance()->setLevel(uv::LogWriter::Debug);
    // A loop runs once; after CloseInst this handle stays idle.
    if (m_handle->lookupLoop.isStopped())
        return;
    const NsqHandle::Settings settings = m_handle->settings();
    nsq::NodeLookup lookup(&m_handle->lookupLoop);
    NsqHandle *handle = m_handle;
    lookup.lookupNodes(settings.host.toStdString(), settings.port,
                       [handle](nsq::NsqNodesPtr nodes) { handle->lookupDone(nodes); });
    // The loop's wake-up handle keeps it alive until CloseInst; nothing spins meanwhile.
    m_handle->lookupLoop.run();
}
