#include "PIM/core/Pimstr.h"

#include <climits>
#include <cstring>

namespace {

const char kEmpty[] = "";

inline const char* OrEmpty(const char* text)
{
    return text ? text : kEmpty;
}

inline char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Both ranges are known to hold n bytes, so no terminator test is needed.
bool SameBytes(const char* a, const char* b, size_t n, bool ignoreCase)
{
    if (!ignoreCase)
        return std::memcmp(a, b, n) == 0;
    for (size_t i = 0; i < n; ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

inline char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Next place in [from, last] holding `c`, or null.
inline const char* NextByte(const char* from, const char* last, char c)
{
    if (!from || from > last)
        return nullptr;
    return static_cast<const char*>(std::memchr(from, c, static_cast<size_t>(last - from) + 1));
}

// The first place where `find` starts. Candidates come from memchr on the
// first byte (both of its cases when case does not matter), so the common
// miss costs a vectorised scan rather than a compare at every byte.
const char* FindFirst(const char* text, size_t length, const char* find, size_t findLength, bool ignoreCase)
{
    if (findLength == 0)
        return text;
    const char* last = text + (length - findLength);
    const char lower = ignoreCase ? FoldAscii(find[0]) : find[0];
    const char upper = ignoreCase ? UpperAscii(find[0]) : find[0];
    const char* nextLower = NextByte(text, last, lower);
    const char* nextUpper = lower == upper ? nullptr : NextByte(text, last, upper);
    while (nextLower || nextUpper) {
        const bool takeLower = nextLower && (!nextUpper || nextLower < nextUpper);
        const char* at = takeLower ? nextLower : nextUpper;
        if (SameBytes(at + 1, find + 1, findLength - 1, ignoreCase))
            return at;
        if (takeLower)
            nextLower = NextByte(at + 1, last, lower);
        else
            nextUpper = NextByte(at + 1, last, upper);
    }
    return nullptr;
}

// The first (or, from the end, the last) place where `find` starts.
const char* FindText(const char* text, const char* find, bool ignoreCase, bool fromEnd)
{
    if (!text)
        return nullptr;
    find = OrEmpty(find);
    size_t length = std::strlen(text);
    size_t findLength = std::strlen(find);
    if (findLength > length)
        return nullptr;
    if (!fromEnd)
        return FindFirst(text, length, find, findLength, ignoreCase);
    for (size_t at = length - findLength + 1; at-- > 0;) {
        if (SameBytes(text + at, find, findLength, ignoreCase))
            return text + at;
    }
    return nullptr;
}

// strchr would report the terminator as a member of every delimiter set.
bool IsDelimiter(char c, const char* delimiters)
{
    return c != '\0' && delimiters && std::strchr(delimiters, c) != nullptr;
}

bool AtInputEnd(const char* at, const char* end)
{
    return (end && at >= end) || *at == '\0';
}

// Both conversions are the identity here; what they share is the rule that a
// character is copied whole or not at all.
size_t CopyWholeCharacters(const char* in, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return 0;
    out[0] = '\0';
    if (!in)
        return 0;
    size_t written = 0;
    for (size_t characters = 0; *in && characters < PIM_CODE_PAGE_MAX_CHARS; ++characters) {
        size_t length = PimUtf8Decode(in, strnlen(in, 4), nullptr);
        if (length > outSize - 1 - written)
            break;
        std::memcpy(out + written, in, length);
        written += length;
        in += length;
    }
    out[written] = '\0';
    return written;
}

} // namespace

size_t PimStrCopy(char* dst, const char* src, size_t n)
{
    if (!dst || n == 0)
        return 0;
    size_t length = strnlen(OrEmpty(src), n - 1);
    std::memmove(dst, OrEmpty(src), length);
    dst[length] = '\0';
    return length;
}

size_t PimStrLen(const char* text)
{
    return text ? std::strlen(text) : 0;
}

const char* PimFileName(const char* path)
{
    if (!path)
        return nullptr;
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

size_t PimCountChar(const char* text, char c)
{
    if (!text || c == '\0')
        return 0;
    size_t count = 0;
    for (; *text; ++text) {
        if (*text == c)
            ++count;
    }
    return count;
}

const char* PimStrStrNoCase(const char* text, const char* find)
{
    return FindText(text, find, true, false);
}

const char* PimStrRStr(const char* text, const char* find)
{
    return FindText(text, find, false, true);
}

const char* PimStrRStrNoCase(const char* text, const char* find)
{
    return FindText(text, find, true, true);
}

const char* PimFindWord(const char* text, const char* word, const char* delimiters, bool ignoreCase)
{
    if (!text || !word || !*word)
        return nullptr;
    size_t length = std::strlen(text);
    size_t wordLength = std::strlen(word);
    if (wordLength > length)
        return nullptr;
    for (size_t at = 0; at <= length - wordLength; ++at) {
        if (at > 0 && !IsDelimiter(text[at - 1], delimiters))
            continue;
        char after = text[at + wordLength];
        if (after != '\0' && !IsDelimiter(after, delimiters))
            continue;
        if (SameBytes(text + at, word, wordLength, ignoreCase))
            return text + at;
    }
    return nullptr;
}

size_t PimRemoveChar(char* text, char c)
{
    if (!text || c == '\0')
        return 0;
    char* write = text;
    const char* read = text;
    for (; *read; ++read) {
        if (*read != c)
            *write++ = *read;
    }
    *write = '\0';
    return static_cast<size_t>(read - write);
}

size_t PimReplaceChar(char* text, char from, char to)
{
    if (!text || from == '\0')
        return 0;
    // Measured first: a `to` of zero must not shorten the walk.
    size_t length = std::strlen(text);
    size_t count = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == from) {
            text[i] = to;
            ++count;
        }
    }
    return count;
}

int PimReplaceText(char* text, size_t bufferSize, const char* find, const char* replace)
{
    if (!text)
        return 0;
    size_t length = strnlen(text, bufferSize);
    if (length == bufferSize)
        return -1;
    if (!find || !*find)
        return 0;
    replace = OrEmpty(replace);
    size_t findLength = std::strlen(find);
    size_t replaceLength = std::strlen(replace);

    size_t count = 0;
    for (const char* at = std::strstr(text, find); at; at = std::strstr(at + findLength, find))
        ++count;
    if (count == 0)
        return 0;
    if (count > static_cast<size_t>(INT_MAX))
        return -1;

    // Growing text is first moved to the end of its final extent, so the
    // rewrite below can run forwards and still never overwrite text it has
    // not read yet: each write ends at or before the end of the occurrence
    // it replaces.
    size_t shift = 0;
    if (replaceLength > findLength) {
        size_t growth = replaceLength - findLength;
        if (growth > (bufferSize - 1 - length) / count)
            return -1;
        shift = growth * count;
        std::memmove(text + shift, text, length + 1);
    }
    char* write = text;
    const char* read = text + shift;
    for (const char* at = std::strstr(read, find); at; at = std::strstr(read, find)) {
        size_t kept = static_cast<size_t>(at - read);
        std::memmove(write, read, kept);
        write += kept;
        std::memcpy(write, replace, replaceLength);
        write += replaceLength;
        read = at + findLength;
    }
    std::memmove(write, read, std::strlen(read) + 1);
    return static_cast<int>(count);
}

bool PimStrEqual(const char* a, const char* b, bool ignoreCase)
{
    a = OrEmpty(a);
    b = OrEmpty(b);
    if (!ignoreCase)
        return std::strcmp(a, b) == 0;
    for (; *a && FoldAscii(*a) == FoldAscii(*b); ++a, ++b) {
    }
    return FoldAscii(*a) == FoldAscii(*b);
}

const char* PimReadLine(const char* in, const char* end, char* out, size_t n)
{
    if (out && n > 0)
        out[0] = '\0';
    if (!in || AtInputEnd(in, end))
        return nullptr;
    bool room = out && n > 1;
    size_t copied = 0;
    const char* at = in;
    // Carriage returns are passed over before the room test, so a line that
    // exactly fills `out` still takes its "\r\n" with it.
    while (!AtInputEnd(at, end) && *at != '\n') {
        if (*at == '\r' || !room) {
            ++at;
            continue;
        }
        if (copied == n - 1)
            break;
        out[copied++] = *at++;
    }
    if (room)
        out[copied] = '\0';
    if (!AtInputEnd(at, end) && *at == '\n')
        ++at;
    return at;
}

size_t PimUtf8Decode(const char* text, size_t avail, uint32_t* codePoint)
{
    uint32_t ignored = 0;
    uint32_t& value = codePoint ? *codePoint : ignored;
    value = 0;
    if (!text || avail == 0)
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    uint32_t lead = bytes[0];
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    size_t length = 0;
    uint32_t smallest = 0;
    uint32_t decoded = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        smallest = 0x80;
        decoded = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        smallest = 0x800;
        decoded = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        smallest = 0x10000;
        decoded = lead & 0x07;
    }
    bool valid = length != 0 && length <= avail;
    // Stops at the first byte that is not a continuation, so a terminator
    // inside a cut sequence is never read past.
    for (size_t i = 1; valid && i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            valid = false;
        else
            decoded = (decoded << 6) | (bytes[i] & 0x3F);
    }
    if (valid && (decoded < smallest || decoded > 0x10FFFF || (decoded >= 0xD800 && decoded <= 0xDFFF)))
        valid = false;
    if (!valid) {
        value = 0xDC00 + lead;
        return 1;
    }
    value = decoded;
    return length;
}

size_t PimToSystemCodePage(const char* utf8, char* out, size_t outSize)
{
    return CopyWholeCharacters(utf8, out, outSize);
}

size_t PimFromSystemCodePage(const char* system, char* out, size_t outSize)
{
    return CopyWholeCharacters(system, out, outSize);
}
