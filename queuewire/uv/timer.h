#pragma once
// libuv timer; used on its loop's thread only.
#include <uv.h>

#include <cstdint>
#include <functional>

namespace uv {

class EventLoop;

class Timer
{
public:
    using TimerCallback = std::function<void(Timer *)>;
    using TimerCloseComplete = std::function<void(Timer *)>;

    Timer(EventLoop *loop, uint64_t timeout, uint64_t repeat, TimerCallback callback);
    ~Timer();
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    // Starts once; a second call does nothing.
    void start();
    // The callback runs once the handle is closed; the timer may be freed there.
    void close(TimerCloseComplete callback);
    void setRepeat(uint64_t ms);

private:
    static void onTimeout(uv_timer_t *handle);
    static void onClosed(uv_handle_t *handle);

    [[maybe_unused]] EventLoop *m_loop;
    uv_timer_t *m_handle;
    uint64_t m_timeout;
    uint64_t m_repeat;
    bool m_started = false;
    TimerCallback m_callback;
    TimerCloseComplete m_closeComplete;
};

} // namespace uv
