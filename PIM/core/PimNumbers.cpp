#include "PIM/core/PimNumbers.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

// The C locale's isspace, without asking the current locale.
inline bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* SkipBlanks(const char* text)
{
    while (IsBlank(*text))
        ++text;
    return text;
}

template <class Real>
Real ParseReal(const char* text)
{
    if (!text)
        return Real(0);
    const char* p = SkipBlanks(text);
    // from_chars takes a "-" but not a "+"; after our "+" it must not get a
    // second sign either ("+-5" is no number for atof).
    if (*p == '+') {
        ++p;
        if (*p == '-' || *p == '+')
            return Real(0);
    }
    // from_chars wants an end; the number cannot run past the terminator.
    const char* end = p + std::strlen(p);
    Real value = Real(0);
    std::from_chars_result result = std::from_chars(p, end, value, std::chars_format::general);
    // out_of_range leaves `value` alone: atof would give infinity (rejected
    // like a written "inf") or a value too small to keep.
    if (result.ec != std::errc() || !std::isfinite(value))
        return Real(0);
    return value;
}

} // namespace

int32_t PimParseInt(const char* text)
{
    if (!text)
        return 0;
    const char* p = SkipBlanks(text);
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    // Accumulated as a magnitude in 64 bits and stopped growing once past the
    // 32-bit range, so any number of digits is safe.
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (*p - '0');
    }
    if (negative)
        return magnitude >= kLimit ? INT32_MIN : static_cast<int32_t>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

float PimParseFloat(const char* text)
{
    return ParseReal<float>(text);
}

double PimParseDouble(const char* text)
{
    return ParseReal<double>(text);
}
