// The wildcard matcher declared in Pimstr.h.
//
// The old matcher recursed at every "*" and so took exponential time on
// patterns with many stars. Each alternative is now read into tokens first.
// Without "!" (or with "!" only at its front, which just turns the answer) a
// single pass that moves back only to the last star decides it. A "!" further
// in needs to know, for every place in the name, whether the rest of the
// pattern matches from there; that is answered as a table, "do tokens[t..]
// match name[s..]?", filled from the last token backwards keeping only two
// columns. Both ways take at most tokens x characters steps, without
// recursion.

#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

enum class TokenKind : uint8_t
{
    Literal,
    AnyOne,
    Set,
    Star,
    Not,
};

struct Token
{
    TokenKind kind;
    bool negated;        // sets only
    uint32_t value;      // literals, already folded to lower case
    uint32_t firstRange; // sets: their ranges are ranges[firstRange, +rangeCount)
    uint32_t rangeCount;
};

struct Range
{
    uint32_t low;
    uint32_t high;
};

inline uint32_t Lower(uint32_t c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

inline uint32_t Upper(uint32_t c)
{
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// Names and patterns are nearly always ASCII, which needs no decoder call.
// Adds the bytes taken to `advance`.
inline uint32_t DecodeAt(const char* text, size_t avail, size_t& advance)
{
    auto byte = static_cast<unsigned char>(*text);
    if (byte < 0x80) {
        ++advance;
        return byte;
    }
    uint32_t c = 0;
    advance += PimUtf8Decode(text, avail, &c);
    return c;
}

// Short patterns and names, by far the usual case, stay off the heap.
template <class T, size_t InlineCount>
class Scratch
{
public:
    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch()
    {
        if (m_heap)
            Free(m_heap);
    }

    // Null when the memory cannot be had.
    T* Get(size_t count)
    {
        if (count <= InlineCount)
            return m_inline;
        if (count > SIZE_MAX / sizeof(T))
            return nullptr;
        m_heap = static_cast<T*>(Allocate(count * sizeof(T), __FILE__, __LINE__, false));
        return m_heap;
    }

private:
    T m_inline[InlineCount];
    T* m_heap = nullptr;
};

// Reads a pattern one alternative at a time. Each alternative needs at most
// one token and one range per pattern byte, plus one, so buffers of
// length + 1 never overflow.
class PatternReader
{
public:
    PatternReader(const char* pattern, size_t length) : m_at(pattern), m_end(pattern + length) {}

    // Fills `tokens` and `ranges` with the next alternative and returns its
    // token count. `more` tells whether a ";" followed it.
    size_t ReadAlternative(Token* tokens, Range* ranges, bool& more)
    {
        m_tokens = tokens;
        m_tokenCount = 0;
        m_ranges = ranges;
        m_rangeCount = 0;
        more = false;
        while (m_at < m_end) {
            char c = *m_at;
            if (c == ';') {
                ++m_at;
                more = true;
                break;
            }
            if (c == '[' && ReadSet())
                continue;
            if (c == '[') {
                ++m_at;
                AddLiteral('[');
            } else if (c == '*') {
                ++m_at;
                // "**" means "*"; one star keeps the work per name char down.
                if (m_tokenCount == 0 || m_tokens[m_tokenCount - 1].kind != TokenKind::Star)
                    Add(TokenKind::Star);
            } else if (c == '?') {
                ++m_at;
                Add(TokenKind::AnyOne);
            } else if (c == '!') {
                ++m_at;
                Add(TokenKind::Not);
            } else if (c == '`' && m_at + 1 < m_end) {
                ++m_at;
                AddLiteral(ReadChar());
            } else {
                AddLiteral(ReadChar());
            }
        }
        return m_tokenCount;
    }

private:
    uint32_t ReadChar()
    {
        size_t used = 0;
        uint32_t c = DecodeAt(m_at, static_cast<size_t>(m_end - m_at), used);
        m_at += used;
        return c;
    }

    // A set member or range end; "`" takes the next character as it is.
    uint32_t ReadSetChar(const char*& at)
    {
        if (*at == '`' && at + 1 < m_end)
            ++at;
        size_t used = 0;
        uint32_t c = DecodeAt(at, static_cast<size_t>(m_end - at), used);
        at += used;
        return c;
    }

    Token& Add(TokenKind kind)
    {
        Token& token = m_tokens[m_tokenCount++];
        token = Token{kind, false, 0, 0, 0};
        return token;
    }

    void AddLiteral(uint32_t c) { Add(TokenKind::Literal).value = Lower(c); }

    // At a "[": reads the set through its "]" and returns true, or returns
    // false with nothing consumed when no "]" closes it.
    bool ReadSet()
    {
        const char* at = m_at + 1;
        bool negated = at < m_end && *at == '!';
        if (negated)
            ++at;
        uint32_t firstRange = m_rangeCount;
        uint32_t count = 0;
        for (bool first = true; at < m_end; first = false) {
            if (*at == ']' && !first) {
                m_at = at + 1;
                Token& token = Add(TokenKind::Set);
                token.negated = negated;
                token.firstRange = firstRange;
                token.rangeCount = count;
                return true;
            }
            uint32_t low = ReadSetChar(at);
            uint32_t high = low;
            // A "-" just before the closing "]" is a member, not a range.
            if (at + 1 < m_end && at[0] == '-' && at[1] != ']') {
                ++at;
                high = ReadSetChar(at);
                if (high < low)
                    std::swap(low, high);
            }
            m_ranges[firstRange + count++] = Range{low, high};
        }
        m_rangeCount = firstRange;
        return false;
    }

    const char* m_at;
    const char* m_end;
    Token* m_tokens = nullptr;
    size_t m_tokenCount = 0;
    Range* m_ranges = nullptr;
    uint32_t m_rangeCount = 0;
};

// `c` is already lower case, so it and its upper case cover both cases of
// the character the name had.
bool Fits(const Token& token, const Range* ranges, uint32_t c)
{
    switch (token.kind) {
    case TokenKind::Literal:
        return token.value == c;
    case TokenKind::AnyOne:
        return true;
    case TokenKind::Set: {
        uint32_t upper = Upper(c);
        bool member = false;
        for (uint32_t i = 0; i < token.rangeCount && !member; ++i) {
            const Range& range = ranges[token.firstRange + i];
            member = (c >= range.low && c <= range.high) || (upper >= range.low && upper <= range.high);
        }
        return member != token.negated;
    }
    case TokenKind::Star:
    case TokenKind::Not:
        break;
    }
    return false;
}

// The character starting at name[at], lower-cased, and its length in bytes.
inline uint32_t NameChar(const char* name, size_t nameBytes, size_t at, size_t& length)
{
    length = 0;
    return Lower(DecodeAt(name + at, nameBytes - at, length));
}

// First character at or after `from` that equals the (lower-case) literal;
// nameBytes when there is none. An ASCII byte never sits inside a sequence,
// so ASCII literals are looked for byte by byte.
size_t FindLiteral(const char* name, size_t nameBytes, size_t from, uint32_t literal)
{
    if (literal < 0x80) {
        for (size_t at = from; at < nameBytes; ++at) {
            if (Lower(static_cast<unsigned char>(name[at])) == literal)
                return at;
        }
        return nameBytes;
    }
    size_t length = 0;
    for (size_t at = from; at < nameBytes; at += length) {
        if (NameChar(name, nameBytes, at, length) == literal)
            return at;
    }
    return nameBytes;
}

// Without "!", the last star passed can absorb whatever an earlier one
// could, so on a mismatch only that star needs to take one more character:
// no recursion, at most tokens x name steps, and usually one pass. Works on
// the name's bytes as they are, so it needs no scratch for the name.
bool MatchWithoutNot(const Token* tokens, size_t tokenCount, const Range* ranges, const char* name,
                     size_t nameBytes)
{
    size_t t = 0;
    size_t s = 0;
    size_t starToken = SIZE_MAX;
    size_t starName = 0;
    while (s < nameBytes) {
        if (t < tokenCount && tokens[t].kind == TokenKind::Star) {
            starToken = t++;
            starName = s;
            // A literal after the star can only start where the name has it;
            // when it has it nowhere, no star can help.
            if (t < tokenCount && tokens[t].kind == TokenKind::Literal) {
                starName = FindLiteral(name, nameBytes, starName, tokens[t].value);
                if (starName == nameBytes)
                    return false;
                s = starName;
            }
            continue;
        }
        size_t length = 0;
        uint32_t c = NameChar(name, nameBytes, s, length);
        if (t < tokenCount && Fits(tokens[t], ranges, c)) {
            ++t;
            s += length;
        } else if (starToken != SIZE_MAX) {
            t = starToken;
            NameChar(name, nameBytes, starName, length);
            s = starName + length;
        } else {
            return false;
        }
    }
    while (t < tokenCount && tokens[t].kind == TokenKind::Star)
        ++t;
    return t == tokenCount;
}

// One column of the table: value[s] answers "do tokens[t..] match name[s..]?"
// for s in [low, high]; every other s answers no and its entry is stale.
// Tracking where the yeses lie lets a literal look only there, so a column
// that has died out costs nothing until a "!" revives it.
struct Column
{
    uint8_t* value;
    size_t low;
    size_t high;

    bool Empty() const { return low > high; }
    bool At(size_t s) const { return s >= low && s <= high && value[s]; }
};

// "!" needs every answer of the rest of the pattern, so this works through
// the table, from the last token backwards. `later` and `column` are scratch
// of length + 1 entries each.
bool MatchWithNot(const Token* tokens, size_t tokenCount, const Range* ranges, const uint32_t* name,
                  size_t length, uint8_t* laterScratch, uint8_t* columnScratch)
{
    size_t notsLeft = 0;
    for (size_t t = 0; t < tokenCount; ++t) {
        if (tokens[t].kind == TokenKind::Not)
            ++notsLeft;
    }
    // Past the last token only the end of the name matches.
    Column later{laterScratch, length, length};
    later.value[length] = 1;
    Column column{columnScratch, 1, 0};

    for (size_t t = tokenCount; t-- > 0;) {
        const Token& token = tokens[t];
        column.low = length + 1;
        column.high = 0;
        if (token.kind == TokenKind::Star) {
            // Matches from every s up to the last place the rest matches.
            if (!later.Empty()) {
                std::memset(column.value, 1, later.high + 1);
                column.low = 0;
                column.high = later.high;
            }
        } else if (token.kind == TokenKind::Not) {
            --notsLeft;
            for (size_t s = 0; s <= length; ++s) {
                column.value[s] = !later.At(s);
                if (column.value[s]) {
                    column.low = std::min(column.low, s);
                    column.high = s;
                }
            }
        } else if (!later.Empty() && later.high > 0) {
            // One character, then the rest from s + 1.
            size_t first = later.low > 0 ? later.low - 1 : 0;
            for (size_t s = first; s < later.high; ++s) {
                column.value[s] = later.At(s + 1) && Fits(token, ranges, name[s]);
                if (column.value[s]) {
                    column.low = std::min(column.low, s);
                    column.high = s;
                }
            }
        }
        std::swap(later, column);
        // Nothing can match any more unless a "!" before turns it around.
        if (later.Empty() && notsLeft == 0)
            return false;
    }
    return later.At(0);
}

} // namespace

bool PimWildcardMatch(const char* pattern, const char* name)
{
    pattern = pattern ? pattern : "";
    name = name ? name : "";
    size_t patternLength = std::strlen(pattern);
    size_t nameBytes = std::strlen(name);

    Scratch<Token, 64> tokenScratch;
    Scratch<Range, 64> rangeScratch;
    Token* tokens = tokenScratch.Get(patternLength + 1);
    Range* ranges = rangeScratch.Get(patternLength + 1);
    if (!tokens || !ranges)
        return false;

    // Decoded only once an alternative holds a "!".
    Scratch<uint32_t, 128> nameScratch;
    Scratch<uint8_t, 2 * 129> columnScratch;
    uint32_t* characters = nullptr;
    uint8_t* columns = nullptr;
    size_t length = 0;

    PatternReader reader(pattern, patternLength);
    bool more = true;
    while (more) {
        size_t tokenCount = reader.ReadAlternative(tokens, ranges, more);
        // A "!" only at the front (the usual "!*.bak") just turns the answer.
        size_t leadingNots = 0;
        while (leadingNots < tokenCount && tokens[leadingNots].kind == TokenKind::Not)
            ++leadingNots;
        bool notInside = false;
        for (size_t t = leadingNots; t < tokenCount && !notInside; ++t)
            notInside = tokens[t].kind == TokenKind::Not;
        if (!notInside) {
            bool matched = MatchWithoutNot(tokens + leadingNots, tokenCount - leadingNots, ranges, name, nameBytes);
            if (matched != (leadingNots % 2 == 1))
                return true;
            continue;
        }
        if (!characters) {
            characters = nameScratch.Get(nameBytes);
            if (!characters)
                return false;
            for (size_t at = 0; at < nameBytes; ++length)
                characters[length] = Lower(DecodeAt(name + at, nameBytes - at, at));
            columns = columnScratch.Get(2 * (length + 1));
            if (!columns)
                return false;
        }
        if (MatchWithNot(tokens, tokenCount, ranges, characters, length, columns, columns + length + 1))
            return true;
    }
    return false;
}
