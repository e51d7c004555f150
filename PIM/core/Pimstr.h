#pragma once
// Text helpers on plain, zero-terminated byte buffers.
//
// Every helper accepts null pointers: a null text reads as the empty text, a
// null destination receives nothing. "Without regard to case" always means
// ASCII letters only; other bytes compare as they are, so UTF-8 text passes
// through untouched.
//
// The searching helpers come in a const form and a mutable form (as strchr
// does in C++), so a caller holding a writable buffer gets a writable pointer
// back without a cast.

#include "PIM/core/PimDefs.h"

#include <type_traits>

// Bounded copy: at most n - 1 bytes of `src`, then a terminator. n == 0
// writes nothing. A null `src` gives the empty text. Source and destination
// may overlap. Returns the number of bytes copied (terminator not counted).
// A UTF-8 sequence may be cut; the code-page conversions below never do.
size_t PimStrCopy(char* dst, const char* src, size_t n);

// Length in bytes; 0 for a null text.
size_t PimStrLen(const char* text);

// The part after the last "/" (the whole path when it has none). Null stays null.
const char* PimFileName(const char* path);

// Occurrences of `c` in the text. The terminator is never counted.
size_t PimCountChar(const char* text, char c);

// First occurrence of `find`, without regard to case; null when absent. An
// empty `find` is found at the start of the text (as strstr does).
const char* PimStrStrNoCase(const char* text, const char* find);

// Last occurrence of `find`, exactly or without regard to case; null when
// absent. An empty `find` is found at the end of the text.
const char* PimStrRStr(const char* text, const char* find);
const char* PimStrRStrNoCase(const char* text, const char* find);

// First whole-word occurrence of `word`: it must start the text or follow one
// of the `delimiters`, and end the text or be followed by one. The rooms keep
// their "Static" and "Buttons" lists this way, so "Play" is found as the last
// item of "Exit, Play2, Play" with delimiters ", ", not inside "Play2".
// An empty word is never found; null delimiters means only the whole text can
// be the word.
const char* PimFindWord(const char* text, const char* word, const char* delimiters, bool ignoreCase);

// Removes every `c` in place; returns how many went. c == 0 does nothing.
size_t PimRemoveChar(char* text, char c);

// Turns every `from` into `to` in place; returns how many changed. from == 0
// does nothing; to == 0 is allowed and cuts the text at the first change.
size_t PimReplaceChar(char* text, char from, char to);

// Replaces every occurrence of `find` by `replace` in place, in a buffer of
// `bufferSize` bytes. Occurrences are taken left to right and inserted text is
// not searched again ("aaa", "aa" -> "b" gives "ba"). Returns the number of
// replacements, or -1 when the result with its terminator would not fit, when
// the text has no terminator inside the buffer, or when the count would not
// fit an int; on -1 the buffer is left exactly as it was. An empty or null
// `find` replaces nothing (0); a null `replace` deletes. `find` and `replace`
// must not point into the buffer being changed.
int PimReplaceText(char* text, size_t bufferSize, const char* find, const char* replace);

// Byte equality, or ASCII-case-insensitive equality. Null equals "".
bool PimStrEqual(const char* a, const char* b, bool ignoreCase = false);

// Reads one line of [in, end). A zero byte also ends the input; a null `end`
// means the input is zero-terminated. Copies the line's bytes into `out` up to
// n - 1 of them and terminates it; carriage returns are skipped and take no
// room; the line feed is consumed and not copied. Returns the position after
// what was read, or null (with `out` emptied) when the input is empty, so
//     for (const char* p = buf; (p = PimReadLine(p, end, line, sizeof line));)
// visits every line.
// A line longer than n - 1 bytes is cut: this call returns the first n - 1
// bytes and the next call goes on with the rest of that line, as the engine's
// readers always expected. A line of exactly n - 1 bytes is read whole, line
// feed included. With no room for a single byte (n <= 1 or a null `out`) the
// whole line is skipped, as otherwise the reader would never move on.
const char* PimReadLine(const char* in, const char* end, char* out, size_t n);

// Decodes one UTF-8 character from at most `avail` bytes (avail must be > 0).
// Returns its length in bytes. Overlong forms, surrogates, values past
// U+10FFFF and cut sequences are invalid: each such byte b counts as one
// character of value 0xDC00 + b (a lone surrogate, which valid text never
// decodes to), so invalid bytes still compare equal to themselves.
size_t PimUtf8Decode(const char* text, size_t avail, uint32_t* codePoint);

// Wildcard name patterns, as used to pick files and objects by name.
//
// Alternatives are separated by ";"; a name matches when it matches any of
// them. Within an alternative:
//   *       any run of characters (also none)
//   ?       exactly one character
//   [...]   one character of a set of characters and ranges ("a-z"); "!"
//           right after "[" negates the set
//   `x      the character x taken literally (a grave accent, code 96)
//   !       anywhere but right after "[": the alternative matches exactly when
//           the rest of it does not match the rest of the name
// The rules this engine fixes beyond those:
//   - Names and patterns are UTF-8; "?" and a set take one whole character,
//     and an invalid byte counts as one character (see PimUtf8Decode).
//   - Letters compare without regard to ASCII case. A set member or range
//     holds a character when it holds the character in either case.
//   - ";" inside a set or after "`" does not split.
//   - A "[" with no closing "]" is a literal "["; the pattern goes on right
//     after it. A "`" ending the pattern is a literal "`".
//   - "]" right after "[" or "[!" is a member, not the end of the set.
//   - "-" first or last in a set is a member; a reversed range ("z-a") is
//     taken as "a-z"; "`" inside a set takes the next character literally,
//     also as a range end ("[`!-`-]").
//   - An empty pattern, and an empty alternative ("*.txt;"), match only the
//     empty name. A null pattern or name reads as empty.
// Matching takes time proportional to pattern length times name length, with
// no recursion, whatever the stars; long names and patterns use heap scratch.
// If that scratch cannot be had the name is reported as not matching.
bool PimWildcardMatch(const char* pattern, const char* name);

// Code-page conversion, for the calls into the operating system only: UTF-8
// to the process's code page and back. Here the system code page is UTF-8, so
// both copy. The output is always terminated (outSize > 0) and starts empty,
// so a null input gives "". A character that does not fit whole is dropped
// with everything after it, never cut; at most 1023 characters are kept, so
// that a converted name always fits the 1024-byte buffers the operating
// system's calls are given. Invalid bytes
// are kept as they are, one character each. Returns the bytes written.
constexpr size_t PIM_CODE_PAGE_MAX_CHARS = 1023;
size_t PimToSystemCodePage(const char* utf8, char* out, size_t outSize);
size_t PimFromSystemCodePage(const char* system, char* out, size_t outSize);

// Mutable forms of the searching helpers. They are templates only so that a
// literal nullptr still picks the const form instead of being ambiguous.
template <class Char>
    requires std::is_same_v<Char, char>
inline Char* PimFileName(Char* path)
{
    return const_cast<char*>(PimFileName(static_cast<const char*>(path)));
}

template <class Char>
    requires std::is_same_v<Char, char>
inline Char* PimStrStrNoCase(Char* text, const char* find)
{
    return const_cast<char*>(PimStrStrNoCase(static_cast<const char*>(text), find));
}

template <class Char>
    requires std::is_same_v<Char, char>
inline Char* PimStrRStr(Char* text, const char* find)
{
    return const_cast<char*>(PimStrRStr(static_cast<const char*>(text), find));
}

template <class Char>
    requires std::is_same_v<Char, char>
inline Char* PimStrRStrNoCase(Char* text, const char* find)
{
    return const_cast<char*>(PimStrRStrNoCase(static_cast<const char*>(text), find));
}

template <class Char>
    requires std::is_same_v<Char, char>
inline Char* PimFindWord(Char* text, const char* word, const char* delimiters, bool ignoreCase)
{
    return const_cast<char*>(PimFindWord(static_cast<const char*>(text), word, delimiters, ignoreCase));
}
