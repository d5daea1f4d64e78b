// Any text of up to 999 characters through the evaluator. The first byte picks
// translation (odd) or not; the text sits in a buffer of exactly its size plus
// the end mark, so a read past it is caught by the address sanitizer.
#include "eval.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const bool translate = data[0] & 1;
    size_t len = std::min(size - 1, size_t(Eval::MaxText));
    // The text ends at its first NUL, as a C string would.
    const void *nul = std::memchr(data + 1, 0, len);
    if (nul)
        len = size_t(static_cast<const uint8_t *>(nul) - (data + 1));
    std::unique_ptr<char[]> buf(new char[len + 1]);
    std::memcpy(buf.get(), data + 1, len);
    buf[len] = 0;

    Eval e;
    const double value = e.eval(buf.get(), translate);
    if (e.error() < Eval::NoError || e.error() > Eval::ErrTooLong)
        std::abort();
    if (e.error() != Eval::NoError && value != 0)
        std::abort();
    // In place the text can only shrink.
    if (std::strlen(buf.get()) > len)
        std::abort();
    return 0;
}
