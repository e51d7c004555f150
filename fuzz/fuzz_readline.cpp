// Walks an arbitrary, unterminated buffer line by line with several output
// sizes. Each line must come back terminated inside its buffer, hold exactly
// the bytes it consumed less carriage returns and the line feed, and every
// call must move forward until the reader reports the end.
#include "PIM/core/Pimstr.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void Walk(const char* begin, const char* end, size_t n)
{
    // Exactly n bytes on the heap, so writing past them is caught.
    std::unique_ptr<char[]> out(new char[n]);
    const char* at = begin;
    for (size_t calls = 0;; ++calls) {
        Check(calls <= static_cast<size_t>(end - begin));
        std::memset(out.get(), '#', n);
        const char* next = PimReadLine(at, end, out.get(), n);
        size_t length = strnlen(out.get(), n);
        Check(length < n);
        if (!next) {
            Check(length == 0);
            Check(at == end || *at == '\0');
            return;
        }
        Check(next > at && next <= end);
        std::string expected;
        for (const char* p = at; p < next; ++p) {
            Check(*p != '\0');
            if (*p != '\r' && *p != '\n')
                expected += *p;
        }
        Check(std::memchr(at, '\n', static_cast<size_t>(next - at - 1)) == nullptr);
        if (n > 1)
            Check(expected == std::string(out.get(), length));
        else
            Check(length == 0);
        at = next;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> buffer(new char[size == 0 ? 1 : size]);
    if (size != 0)
        std::memcpy(buffer.get(), data, size);
    const size_t sizes[] = {1, 2, 16, 256};
    for (size_t n : sizes)
        Walk(buffer.get(), buffer.get() + size, n);
    return 0;
}
