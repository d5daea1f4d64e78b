#include "idle.h"

#include "eventloop.h"
#include "handleclose.h"

namespace uv {

Idle::Idle(EventLoop *loop)
    : m_loop(loop)
    , m_handle(new uv_idle_t)
{
    uv_idle_init(loop->handle(), m_handle);
    m_handle->data = this;
    uv_idle_start(m_handle, &Idle::onIdle);
}

Idle::~Idle()
{
    closeHandle(m_handle);
}

void Idle::onIdle(uv_idle_t *handle)
{
    auto *self = static_cast<Idle *>(handle->data);
    if (self && self->m_callback)
        self->m_callback();
}

} // namespace uv
