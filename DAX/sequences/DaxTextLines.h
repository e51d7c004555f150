#pragma once
// The line reading the sequence and subtitle files share: their text comes
// from any editor and any machine, so a carriage return or a zero byte ends
// a line as a line feed does (a CR LF pair leaves an empty line between,
// which both readers skip), and blanks are spaces and tabs.

#include <cstddef>

inline bool DaxIsBlank(char c)
{
    return c == ' ' || c == '\t';
}

inline bool DaxIsLineEnd(char c)
{
    return c == '\n' || c == '\r' || c == '\0';
}

// Calls `line(start, end)` for every line of `size` bytes of `text`, the
// line end not included.
template <class Line>
void DaxForEachLine(const char* text, size_t size, Line&& line)
{
    if (!text)
        return;
    const char* end = text + size;
    for (const char* p = text; p < end;) {
        const char* lineEnd = p;
        while (lineEnd < end && !DaxIsLineEnd(*lineEnd))
            ++lineEnd;
        line(p, lineEnd);
        p = lineEnd < end ? lineEnd + 1 : end;
    }
}
