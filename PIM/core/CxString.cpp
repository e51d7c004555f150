#include "PIM/core/CxString.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// What GetText hands out when not even one byte could be had. The string
// marks it as not owned with a capacity of 0, so nothing ever writes into it.
char g_sharedEmpty[1] = {'\0'};

inline unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

inline int Sign(int v)
{
    return (v > 0) - (v < 0);
}

// Byte-wise, unsigned comparison of two terminated texts.
int CompareTexts(const char* a, const char* b, bool noCase)
{
    const unsigned char* pa = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* pb = reinterpret_cast<const unsigned char*>(b);
    for (;; ++pa, ++pb) {
        unsigned char ca = noCase ? FoldAscii(*pa) : *pa;
        unsigned char cb = noCase ? FoldAscii(*pb) : *pb;
        if (ca != cb || ca == 0)
            return Sign(int(ca) - int(cb));
    }
}

// Both null: equal. One null: it is the lesser.
int CompareNullable(const char* a, const char* b, bool noCase)
{
    if (!a || !b)
        return (a ? 1 : 0) - (b ? 1 : 0);
    return CompareTexts(a, b, noCase);
}

// Length of at most `limit` bytes of `text`, not stopping inside a character.
int Utf8Floor(const char* text, int length, int limit)
{
    if (length <= limit)
        return length;
    int cut = limit;
    // Step back over continuation bytes so no character is split.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

// --- construction and storage ----------------------------------------------

CxString::CxString(const char* text)
{
    Assign(text, text ? static_cast<int>(std::min<size_t>(std::strlen(text), kMaxLength + 1)) : 0);
}

CxString::CxString(const CxString& other) : CxObject(other)
{
    Assign(other.m_text, other.m_length);
}

CxString::CxString(CxString&& other) noexcept
    : CxObject(other), m_text(other.m_text), m_length(other.m_length), m_capacity(other.m_capacity)
{
    other.m_text = nullptr;
    other.m_length = 0;
    other.m_capacity = 0;
}

CxString::CxString(char c, int count)
{
    if (c == '\0' || count <= 0)
        return;
    count = std::min(count, kMaxLength);
    if (!Reserve(count))
        return;
    std::memset(m_text, c, static_cast<size_t>(count));
    SetLength(count);
}

CxString::~CxString()
{
    Release();
}

CxString& CxString::operator=(const char* text)
{
    Assign(text, text ? static_cast<int>(std::min<size_t>(std::strlen(text), kMaxLength + 1)) : 0);
    return *this;
}

CxString& CxString::operator=(const CxString& other)
{
    if (this != &other)
        Assign(other.m_text, other.m_length);
    return *this;
}

CxString& CxString::operator=(CxString&& other) noexcept
{
    if (this != &other) {
        Release();
        m_text = other.m_text;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
        other.m_text = nullptr;
        other.m_length = 0;
        other.m_capacity = 0;
    }
    return *this;
}

bool CxString::IsSharedEmpty() const
{
    return m_text == g_sharedEmpty;
}

void CxString::Release()
{
    if (OwnsStorage())
        Free(m_text);
    m_text = nullptr;
    m_length = 0;
    m_capacity = 0;
}

void CxString::Attach(char* buffer, int size)
{
    Release();
    if (!buffer || size <= 0)
        return;
    size = std::min(size, kMaxCapacity);
    m_text = buffer;
    m_capacity = static_cast<uint16_t>(size | kNotOwned);
    size_t length = strnlen(buffer, static_cast<size_t>(size));
    if (length == static_cast<size_t>(size))
        --length; // no terminator inside: the last byte becomes one
    SetLength(static_cast<int>(length));
}

bool CxString::Reserve(int n)
{
    Release();
    n = std::clamp(n, 0, kMaxLength);
    char* block = static_cast<char*>(Allocate(static_cast<size_t>(n) + 1, __FILE__, __LINE__, true));
    if (!block)
        return false;
    m_text = block;
    m_capacity = static_cast<uint16_t>(n + 1);
    return true;
}

bool CxString::Regrow(int capacity, int keep, char*& released)
{
    released = nullptr;
    capacity = std::clamp(capacity, 1, kMaxCapacity);
    keep = std::clamp(keep, 0, std::min(int{m_length}, capacity - 1));
    char* block = static_cast<char*>(Allocate(static_cast<size_t>(capacity), __FILE__, __LINE__, false));
    if (!block)
        return false;
    if (keep > 0)
        std::memcpy(block, m_text, static_cast<size_t>(keep));
    block[keep] = '\0';
    if (OwnsStorage())
        released = m_text;
    m_text = block;
    m_capacity = static_cast<uint16_t>(capacity);
    m_length = static_cast<uint16_t>(keep);
    return true;
}

void CxString::SetLength(int length)
{
    m_length = static_cast<uint16_t>(length);
    if (!IsSharedEmpty())
        m_text[length] = '\0';
}

int CxString::ClampLength(const char* text, int length)
{
    return Utf8Floor(text, length, kMaxLength);
}

const char* CxString::GetText()
{
    if (!m_text && !Reserve(0)) {
        m_text = g_sharedEmpty;
        m_capacity = kNotOwned; // capacity 0: every write must grow first
    }
    return m_text;
}

const char* CxString::GetText() const
{
    return m_text ? m_text : "";
}

// --- assignment and appending ------------------------------------------------

void CxString::Assign(const char* text, int length)
{
    if (text && text == m_text && length == m_length)
        return;
    if (!text || length <= 0) {
        if (m_text && m_length)
            SetLength(0);
        return;
    }
    length = ClampLength(text, length);
    if (length < Capacity()) {
        std::memmove(m_text, text, static_cast<size_t>(length));
        SetLength(length);
        return;
    }
    // The old buffer is freed only after the copy: `text` may be a piece of it.
    char* released = nullptr;
    if (!Regrow(length + 2, 0, released)) {
        Release();
        return;
    }
    std::memcpy(m_text, text, static_cast<size_t>(length));
    SetLength(length);
    Free(released);
}

void CxString::Append(const char* text)
{
    if (text)
        Append(text, static_cast<int>(std::min<size_t>(std::strlen(text), kMaxLength + 1)));
}

void CxString::Append(const CxString& other)
{
    Append(other.m_text, other.m_length);
}

void CxString::Append(char c)
{
    if (c != '\0')
        Append(&c, 1);
}

void CxString::Append(const char* text, int length)
{
    if (!text || length <= 0)
        return;
    int room = kMaxLength - m_length;
    if (length > room)
        length = Utf8Floor(text, length, room);
    if (length <= 0)
        return;
    int oldLength = m_length;
    if (oldLength + length < Capacity()) {
        std::memmove(m_text + oldLength, text, static_cast<size_t>(length));
        SetLength(oldLength + length);
        return;
    }
    // `text` may point into our buffer, so the old buffer lives until the copy is done.
    char* released = nullptr;
    if (!Regrow(oldLength + std::max(length, 20) + 1, oldLength, released))
        return;
    std::memcpy(m_text + oldLength, text, static_cast<size_t>(length));
    SetLength(oldLength + length);
    Free(released);
}

// --- formatting --------------------------------------------------------------

void CxString::FormatV(const char* format, va_list args)
{
    char work[kFormatBufferSize];
    work[0] = '\0';
    int written = format ? std::vsnprintf(work, sizeof work, format, args) : 0;
    if (written < 0)
        written = 0;
    int length = Utf8Floor(work, std::min(written, int{kFormatBufferSize} - 1), int{kFormatBufferSize} - 1);
    if (length == 0) {
        Assign(nullptr, 0);
        return;
    }
    // Reserved to fit exactly, unless the current storage already holds it
    // (scores and labels are formatted every frame; they should not allocate).
    if (length >= Capacity() && !Reserve(length))
        return;
    std::memcpy(m_text, work, static_cast<size_t>(length));
    SetLength(length);
}

void CxString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

CxString CxString::Formatted(const char* format, ...)
{
    CxString result;
    va_list args;
    va_start(args, format);
    result.FormatV(format, args);
    va_end(args);
    return result;
}

// --- searching ---------------------------------------------------------------

int CxString::Find(char c, int start) const
{
    if (c == '\0' || start < 0 || start >= m_length)
        return -1;
    const void* hit = std::memchr(m_text + start, c, static_cast<size_t>(m_length - start));
    return hit ? static_cast<int>(static_cast<const char*>(hit) - m_text) : -1;
}

int CxString::FindOneOf(const char* set, int start) const
{
    if (!set || !*set || start < 0 || start >= m_length)
        return -1;
    size_t skip = std::strcspn(m_text + start, set);
    int at = start + static_cast<int>(skip);
    return at < m_length ? at : -1;
}

int CxString::Find(const char* text, int start) const
{
    if (!text || start < 0 || start >= m_length)
        return -1;
    // string_view's search (memchr on the first byte) beats strstr on the
    // short texts the engine searches.
    size_t hit = std::string_view(m_text + start, static_cast<size_t>(m_length - start)).find(text);
    return hit == std::string_view::npos ? -1 : start + static_cast<int>(hit);
}

int CxString::FindNoCase(const char* text, int start) const
{
    if (!text || start < 0 || start >= m_length)
        return -1;
    const char* hit = PimStrStrNoCase(m_text + start, text);
    return hit ? static_cast<int>(hit - m_text) : -1;
}

int CxString::ReverseFind(char c) const
{
    if (c == '\0')
        return -1;
    for (int i = m_length - 1; i >= 0; --i)
        if (m_text[i] == c)
            return i;
    return -1;
}

// --- pieces ------------------------------------------------------------------

CxString CxString::Left(int count) const
{
    return Mid(0, count);
}

CxString CxString::Mid(int start, int count) const
{
    CxString piece;
    if (start < 0 || start >= m_length || count <= 0)
        return piece;
    count = std::min(count, m_length - start);
    piece.Assign(m_text + start, count);
    return piece;
}

CxString CxString::Mid(int start) const
{
    return Mid(start, m_length);
}

void CxString::Truncate(int position)
{
    if (position >= 0 && position < m_length)
        SetLength(position);
}

int CxString::Delete(int position, int count)
{
    if (position < 0 || position >= m_length)
        return -1;
    int available = m_length - position;
    if (count < 0 || count > available)
        count = available;
    std::memmove(m_text + position, m_text + position + count, static_cast<size_t>(available - count));
    SetLength(m_length - count);
    return count;
}

// --- edits -------------------------------------------------------------------

int CxString::Replace(char from, char to)
{
    if (from == '\0' || from == to)
        return 0;
    int changed = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_text[i] != from)
            continue;
        ++changed;
        if (to == '\0') {
            SetLength(i);
            break;
        }
        m_text[i] = to;
    }
    return changed;
}

int CxString::Remove(char c)
{
    if (c == '\0')
        return 0;
    int write = 0;
    for (int read = 0; read < m_length; ++read)
        if (m_text[read] != c)
            m_text[write++] = m_text[read];
    int removed = m_length - write;
    if (removed)
        SetLength(write);
    return removed;
}

int CxString::Replace(const char* find, const char* with)
{
    if (!find || !*find || m_length == 0)
        return 0;
    if (!with)
        with = "";
    const size_t findLength = std::strlen(find);
    const size_t withLength = std::strlen(with);

    int count = 0;
    for (const char* p = std::strstr(m_text, find); p; p = std::strstr(p + findLength, find))
        ++count;
    if (count == 0)
        return 0;
    const int64_t newLength = int64_t{m_length} + int64_t{count} * (int64_t(withLength) - int64_t(findLength));
    if (newLength > kMaxLength)
        return -1;

    // Build the result in a fresh buffer: simple, and safe when `find` or
    // `with` point into our own text.
    int capacity = std::max(Capacity(), static_cast<int>(newLength) + 1);
    char* block = static_cast<char*>(Allocate(static_cast<size_t>(capacity), __FILE__, __LINE__, false));
    if (!block)
        return -1;
    char* out = block;
    const char* read = m_text;
    for (const char* p = std::strstr(read, find); p; p = std::strstr(read, find)) {
        std::memcpy(out, read, static_cast<size_t>(p - read));
        out += p - read;
        std::memcpy(out, with, withLength);
        out += withLength;
        read = p + findLength;
    }
    size_t tail = static_cast<size_t>(m_text + m_length - read);
    std::memcpy(out, read, tail);
    out[tail] = '\0';

    Release();
    m_text = block;
    m_capacity = static_cast<uint16_t>(capacity);
    m_length = static_cast<uint16_t>(newLength);
    return count;
}

// --- comparison --------------------------------------------------------------

int CxString::Compare(const char* text) const
{
    return CompareNullable(m_text, text, false);
}

int CxString::Compare(const CxString& other) const
{
    return CompareNullable(m_text, other.m_text, false);
}

int CxString::CompareNoCase(const char* text) const
{
    return CompareNullable(m_text, text, true);
}

int CxString::CompareNoCase(const CxString& other) const
{
    return CompareNullable(m_text, other.m_text, true);
}

// --- concatenation -----------------------------------------------------------

CxString operator+(const CxString& a, const CxString& b)
{
    CxString result(a);
    result.Append(b);
    return result;
}

CxString operator+(const CxString& a, const char* b)
{
    CxString result(a);
    result.Append(b);
    return result;
}

CxString operator+(const char* a, const CxString& b)
{
    CxString result(a);
    result.Append(b);
    return result;
}
