#pragma once
// One libuv loop that runs once, on the thread that calls run().
#include "async.h"

#include <uv.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace uv {

class EventLoop
{
public:
    enum Mode { DefaultLoop = 0, NewLoop = 1 };
    enum Status { NotRun = 0, Running = 1, Stopped = 2 };

    explicit EventLoop(Mode mode = NewLoop);
    ~EventLoop();
    EventLoop(const EventLoop &) = delete;
    EventLoop &operator=(const EventLoop &) = delete;

    // Runs until stopped or out of work; -1 when this loop has already run.
    int run();
    // Any thread; a loop stopped before it ran never runs.
    void stop();
    bool isStopped() const { return m_status == Stopped; }
    int status() const { return m_status; }
    bool isRunInLoopThread() const;
    // Runs func on the loop thread (at once when already there or when the loop is over).
    void runInLoop(const Async::Func &func);

    uv_loop_t *handle() { return m_loop; }

private:
    std::atomic<std::thread::id> m_threadId;
    uv_loop_t *m_loop;
    std::unique_ptr<Async> m_async;
    std::atomic<int> m_status{NotRun};
    bool m_ownLoop;
};

} // namespace uv
