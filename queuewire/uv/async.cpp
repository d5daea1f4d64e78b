#include "async.h"

#include "eventloop.h"
#include "handleclose.h"

namespace uv {

Async::Async(EventLoop *loop)
    : m_handle(new uv_async_t)
{
    uv_async_init(loop->handle(), m_handle, &Async::onAsync);
    m_handle->data = this;
}

Async::~Async()
{
    closeHandle(m_handle);
}

void Async::runInLoop(Func func)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_functions.push_back(std::move(func));
    }
    uv_async_send(m_handle);
}

void Async::clearPending()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_functions.clear();
}

void Async::onAsync(uv_async_t *handle)
{
    if (auto *self = static_cast<Async *>(handle->data))
        self->process();
}

void Async::process()
{
    std::vector<Func> functions;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        functions.swap(m_functions);
    }
    // Outside the lock: a function may queue further work.
    for (auto &func : functions)
        func();
}

} // namespace uv
