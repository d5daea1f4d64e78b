#pragma once
// Wake-up handle of one loop: functions queued from any thread run on the loop thread.
#include <uv.h>

#include <functional>
#include <mutex>
#include <vector>

namespace uv {

class EventLoop;

class Async
{
public:
    using Func = std::function<void()>;

    explicit Async(EventLoop *loop);
    ~Async();
    Async(const Async &) = delete;
    Async &operator=(const Async &) = delete;

    // Queues func and wakes the loop; callable from any thread.
    void runInLoop(Func func);
    // Drops what was queued but never ran (the loop stopped first).
    void clearPending();

private:
    static void onAsync(uv_async_t *handle);
    void process();

    std::mutex m_mutex;
    std::vector<Func> m_functions;
    uv_async_t *m_handle;
};

} // namespace uv
