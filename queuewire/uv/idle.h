#pragma once
// Idle watcher: its callback runs once per loop iteration (and keeps the loop spinning).
#include <uv.h>

#include <functional>

namespace uv {

class EventLoop;

class Idle
{
public:
    explicit Idle(EventLoop *loop);
    ~Idle();
    Idle(const Idle &) = delete;
    Idle &operator=(const Idle &) = delete;

    void setCallback(std::function<void()> callback) { m_callback = std::move(callback); }

private:
    static void onIdle(uv_idle_t *handle);

    [[maybe_unused]] EventLoop *m_loop;
    uv_idle_t *m_handle;
    std::function<void()> m_callback;
};

} // namespace uv
