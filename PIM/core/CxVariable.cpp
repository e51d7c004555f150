#include "PIM/core/CxVariable.h"
#include "PIM/core/PimSafeFormat.h"

#include <cstdio>

namespace {

// The conversion character of the one int conversion in `format`, or '\0'
// when the format has none, several, or anything that reads another argument.
char FindIntConversion(const char* format)
{
    if (!format)
        return '\0';
    char found = '\0';
    for (const char* p = format; *p; ++p) {
        if (*p != '%')
            continue;
        if (p[1] == '%') {
            ++p;
            continue;
        }
        char conversion = '\0';
        const size_t length = PimScanIntConversion(p, &conversion);
        if (length == 0 || found)
            return '\0';
        found = conversion;
        p += length - 1;
    }
    return found;
}

} // namespace

bool PimValueFormat<int>::IsSafe(const char* format)
{
    return FindIntConversion(format) != '\0';
}

size_t PimValueFormat<int>::Write(char* buffer, size_t size, const char* format, int value)
{
    if (!buffer || size == 0)
        return 0;
    char conversion = FindIntConversion(format);
    if (conversion == '\0') {
        format = kDefault;
        conversion = 'd';
    }
    // The format was checked just above to take exactly one int, which is the
    // one thing the compiler cannot see here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int written = (conversion == 'd' || conversion == 'i')
                      ? std::snprintf(buffer, size, format, value)
                      : std::snprintf(buffer, size, format, static_cast<unsigned>(value));
#pragma GCC diagnostic pop
    if (written < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(written) < size ? static_cast<size_t>(written) : size - 1;
}

template class CBuiltinVariable<int>;

CxVariable* CStringConstantVariable::Clone() const
{
    CStringConstantVariable* copy = new CStringConstantVariable(*this);
    if (copy && !copy->IsIntact(m_name.GetText(), m_value.GetText())) {
        delete copy;
        return nullptr;
    }
    return copy;
}
