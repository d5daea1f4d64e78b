#include "eventloop.h"

namespace uv {

EventLoop::EventLoop(Mode mode)
    : m_ownLoop(mode == NewLoop)
{
    if (m_ownLoop) {
        m_loop = new uv_loop_t;
        uv_loop_init(m_loop);
    } else {
        m_loop = uv_default_loop();
    }
    // The wake-up handle exists from the start, so work can be queued before run();
    // it also keeps the loop alive until it is stopped.
    m_async = std::make_unique<Async>(this);
}

EventLoop::~EventLoop()
{
    m_async.reset();
    // Close what the owners left behind (their objects are gone; only memory remains),
    // then let libuv finish the close callbacks.
    uv_walk(
        m_loop,
        [](uv_handle_t *handle, void *) {
            if (!uv_is_closing(handle))
                uv_close(handle, nullptr);
        },
        nullptr);
    while (uv_run(m_loop, UV_RUN_NOWAIT) != 0) {
    }
    if (m_ownLoop) {
        uv_loop_close(m_loop);
        delete m_loop;
    }
}

int EventLoop::run()
{
    int expected = NotRun;
    if (!m_status.compare_exchange_strong(expected, Running))
        return -1;
    m_threadId = std::this_thread::get_id();
    const int result = uv_run(m_loop, UV_RUN_DEFAULT);
    m_status = Stopped;
    // Work queued too late for the loop would otherwise run at destruction.
    m_async->clearPending();
    return result;
}

void EventLoop::stop()
{
    int expected = NotRun;
    if (m_status.compare_exchange_strong(expected, Stopped))
        return;
    if (expected == Stopped)
        return;
    runInLoop([this] { uv_stop(m_loop); });
}

bool EventLoop::isRunInLoopThread() const
{
    return m_status == Running && m_threadId.load() == std::this_thread::get_id();
}

void EventLoop::runInLoop(const Async::Func &func)
{
    if (isRunInLoopThread() || isStopped()) {
        func();
        return;
    }
    m_async->runInLoop(func);
}

} // namespace uv
