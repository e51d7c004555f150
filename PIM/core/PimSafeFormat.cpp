#include "PIM/core/PimSafeFormat.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads an optional run of digits worth at most 255; false past that (a
// hostile "%999999999d" would have printf count a billion padding bytes).
bool SkipSmallNumber(const char*& p)
{
    int value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + (*p - '0');
        if (value > 255)
            return false;
        ++p;
    }
    return true;
}

} // namespace

size_t PimScanIntConversion(const char* text, char* conversion)
{
    if (conversion)
        *conversion = '\0';
    if (!text || *text != '%')
        return 0;
    const char* p = text + 1;
    while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0')
        ++p;
    if (!SkipSmallNumber(p))
        return 0;
    if (*p == '.') {
        ++p;
        if (!SkipSmallNumber(p))
            return 0;
    }
    if (*p == '\0' || !std::strchr("diuxXo", *p))
        return 0;
    if (conversion)
        *conversion = *p;
    return static_cast<size_t>(p - text) + 1;
}

size_t PimSafeFormat(char* out, size_t size, const char* format, const int* values, size_t count)
{
    if (!out || size == 0)
        return 0;
    size_t at = 0;
    size_t next = 0;
    auto put = [&](const char* text, size_t length) {
        const size_t room = size - 1 - at;
        const size_t take = length < room ? length : room;
        std::memcpy(out + at, text, take);
        at += take;
    };
    for (const char* p = format ? format : ""; *p && at + 1 < size;) {
        if (p[0] == '%' && p[1] == '%') {
            put("%", 1);
            p += 2;
            continue;
        }
        char conversion = '\0';
        const size_t length = *p == '%' ? PimScanIntConversion(p, &conversion) : 0;
        if (length == 0 || next >= count || !values) {
            put(p, 1);
            ++p;
            continue;
        }
        // One checked conversion at a time, copied out of the data: printf
        // never sees more of the text than the conversion it was shown to be.
        char conversionText[16];
        char piece[300];
        if (length >= sizeof conversionText) {
            put(p, length);
        } else {
            std::memcpy(conversionText, p, length);
            conversionText[length] = '\0';
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
            const int value = values[next];
            const int written = (conversion == 'd' || conversion == 'i')
                                    ? std::snprintf(piece, sizeof piece, conversionText, value)
                                    : std::snprintf(piece, sizeof piece, conversionText, static_cast<unsigned>(value));
#pragma GCC diagnostic pop
            if (written > 0)
                put(piece, static_cast<size_t>(written) < sizeof piece ? static_cast<size_t>(written) : sizeof piece - 1);
        }
        ++next;
        p += length;
    }
    out[at] = '\0';
    return at;
}

CxString PimSafeFormatted(const char* format, const int* values, size_t count)
{
    char buffer[CxString::kFormatBufferSize];
    PimSafeFormat(buffer, sizeof buffer, format, values, count);
    return CxString(buffer);
}
