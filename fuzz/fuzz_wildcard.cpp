// Pattern and name are split at the first zero byte of the input. Beyond not
// crashing, checks properties that hold for any name whatever the pattern:
// a name matches itself spelled with every character escaped, the negation
// of that does not, and adding any further alternative keeps the match.
#include "PIM/core/Pimstr.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Escapes whole characters: a "`" in front of a continuation byte would
// split a sequence the name decodes as one character.
std::string EscapeEveryCharacter(const std::string& name)
{
    std::string escaped;
    for (size_t at = 0; at < name.size();) {
        size_t length = PimUtf8Decode(name.data() + at, name.size() - at, nullptr);
        escaped += '`';
        escaped.append(name, at, length);
        at += length;
    }
    return escaped;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* bytes = reinterpret_cast<const char*>(data);
    const void* zero = std::memchr(data, 0, size);
    size_t patternLength = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data) : size;
    std::string pattern(bytes, patternLength);
    std::string name;
    if (zero)
        name.assign(bytes + patternLength + 1, strnlen(bytes + patternLength + 1, size - patternLength - 1));

    bool matched = PimWildcardMatch(pattern.c_str(), name.c_str());

    std::string escaped = EscapeEveryCharacter(name);
    if (!PimWildcardMatch(escaped.c_str(), name.c_str()))
        std::abort();
    if (PimWildcardMatch(("!" + escaped).c_str(), name.c_str()))
        std::abort();
    if (!PimWildcardMatch((escaped + ";" + pattern).c_str(), name.c_str()))
        std::abort();
    if (!PimWildcardMatch("*", name.c_str()))
        std::abort();
    // "!!" cancels out when it opens the first alternative.
    if (PimWildcardMatch(("!!" + pattern).c_str(), name.c_str()) != matched)
        std::abort();
    return 0;
}
