#include "timer.h"

#include "eventloop.h"
#include "handleclose.h"

namespace uv {

Timer::Timer(EventLoop *loop, uint64_t timeout, uint64_t repeat, TimerCallback callback)
    : m_loop(loop)
    , m_handle(new uv_timer_t)
    , m_timeout(timeout)
    , m_repeat(repeat)
    , m_callback(std::move(callback))
{
    uv_timer_init(loop->handle(), m_handle);
    m_handle->data = this;
}

Timer::~Timer()
{
    closeHandle(m_handle);
}

void Timer::start()
{
    if (m_started || !m_handle)
        return;
    m_started = true;
    uv_timer_start(m_handle, &Timer::onTimeout, m_timeout, m_repeat);
}

void Timer::close(TimerCloseComplete callback)
{
    if (!m_handle || uv_is_closing(reinterpret_cast<uv_handle_t *>(m_handle)))
        return;
    m_closeComplete = std::move(callback);
    if (uv_is_active(reinterpret_cast<uv_handle_t *>(m_handle)))
        uv_timer_stop(m_handle);
    uv_close(reinterpret_cast<uv_handle_t *>(m_handle), &Timer::onClosed);
}

void Timer::setRepeat(uint64_t ms)
{
    m_repeat = ms;
    if (m_handle)
        uv_timer_set_repeat(m_handle, ms);
}

void Timer::onTimeout(uv_timer_t *handle)
{
    auto *self = static_cast<Timer *>(handle->data);
    if (self && self->m_callback)
        self->m_callback(self);
}

void Timer::onClosed(uv_handle_t *handle)
{
    auto *self = static_cast<Timer *>(handle->data);
    delete reinterpret_cast<uv_timer_t *>(handle);
    if (!self)
        return;
    self->m_handle = nullptr;
    if (self->m_closeComplete) {
        // Moved out first: the callback may free the timer.
        auto complete = std::move(self->m_closeComplete);
        complete(self);
    }
}

} // namespace uv
