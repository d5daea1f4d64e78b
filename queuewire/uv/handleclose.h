#pragma once
// Handles are heap objects that outlive their owner until libuv has closed them:
// the owner detaches itself (data = null) and the close callback frees the memory.
#include <uv.h>

namespace uv {

template<typename Handle>
void closeHandle(Handle *handle)
{
    if (!handle)
        return;
    auto *base = reinterpret_cast<uv_handle_t *>(handle);
    base->data = nullptr;
    if (uv_is_closing(base))
        return;
    uv_close(base, [](uv_handle_t *closed) { delete reinterpret_cast<Handle *>(closed); });
}

} // namespace uv
