#include "PIM/text/PimText.h"

#include "PIM/core/Pimstr.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxFont.h"

#include <climits>
#include <cstring>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;
constexpr int64_t kUnlimited = INT64_MAX / 4;
// The flags DrawText acts on itself; the others are the font's business.
constexpr uint32_t kLayoutFlags =
    PIM_TEXT_RIGHT | PIM_TEXT_CENTRE | PIM_TEXT_BOTTOM | PIM_TEXT_VCENTRE | PIM_TEXT_SHADOW | PIM_TEXT_WRAP;

bool IsBreakCharacter(char c)
{
    return c != '\0' && std::strchr(" ,.;:!?]}/-", c) != nullptr;
}

// Characters that take no room and are never drawn.
bool IsSkipped(uint32_t code)
{
    return code == '\t' || code == '\r';
}

int64_t FloorHalf(int64_t value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

int32_t ClampToInt32(int64_t value)
{
    return static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : (value > INT32_MAX ? INT32_MAX : value));
}

struct ST_LINE
{
    size_t start = 0;       // first byte
    size_t end = 0;         // one past the last byte drawn
    size_t next = 0;        // where the following line starts
    int32_t firstIndex = 0; // code-point index of the first character
    int64_t width = 0;
    bool broken = false;    // ended by wrapping rather than by a line feed or the end
};

// Cuts a text into lines: at line feeds, and with a box width also where a
// line would grow wider than the box. Works on the text in place, so that
// drawing keeps the code-point indices of the caller's text (selections).
class LineBreaker
{
public:
    LineBreaker(const char* text, size_t length, CxFont& font, int size, int64_t boxWidth)
        : m_text(text), m_length(length), m_font(font), m_size(size), m_box(boxWidth),
          m_spacing(font.GetSpacing().width)
    {
    }

    bool Next(ST_LINE& line)
    {
        if (m_done)
            return false;
        line = ST_LINE{};
        line.start = m_at;
        line.firstIndex = m_index;
        int64_t sum = 0; // advances plus the spacing after each
        bool any = false;
        size_t at = m_at;
        for (;;) {
            const size_t here = at;
            const uint32_t code = NextCodePoint(m_text, m_length, at);
            if (code == 0) {
                line.end = line.next = m_length;
                m_done = true;
                break;
            }
            if (code == '\n') {
                line.end = here;
                line.next = at;
                break;
            }
            if (IsSkipped(code))
                continue;
            const int64_t advance = m_font.MeasureChar(code, m_size);
            // Every line takes at least one character, or a box narrower
            // than a glyph would never be done with it.
            if (any && sum + advance > m_box) {
                Break(line, here, at, code, sum);
                break;
            }
            sum += advance + m_spacing;
            any = true;
        }
        if (!line.broken)
            line.width = any ? sum - m_spacing : 0;
        m_index = line.firstIndex + CountIn(line.start, line.next);
        m_at = line.next;
        if (line.broken && m_at >= m_length)
            m_done = true;
        return true;
    }

private:
    // The character at `overflow` (ending at `after`) did not fit.
    void Break(ST_LINE& line, size_t overflow, size_t after, uint32_t code, int64_t sum)
    {
        line.broken = true;
        if (code == ' ') {
            // A space that runs past the box hangs there unseen and ends
            // the line, so the next one does not start with it.
            line.end = line.next = after;
            line.width = sum - m_spacing;
            return;
        }
        // Break characters are ASCII and UTF-8 continuation bytes never are:
        // the bytes can be searched backwards directly.
        size_t cut = overflow;
        for (size_t p = overflow; p > line.start; --p)
            if (IsBreakCharacter(m_text[p - 1])) {
                cut = p;
                break;
            }
        line.end = line.next = cut;
        line.width = cut == overflow ? sum - m_spacing : Measure(line.start, cut);
    }

    int64_t Measure(size_t from, size_t to) const
    {
        int64_t sum = 0;
        bool any = false;
        size_t at = from;
        while (at < to) {
            const uint32_t code = NextCodePoint(m_text, to, at);
            if (code == 0)
                break;
            if (IsSkipped(code) || code == '\n')
                continue;
            sum += m_font.MeasureChar(code, m_size) + m_spacing;
            any = true;
        }
        return any ? sum - m_spacing : 0;
    }

    int32_t CountIn(size_t from, size_t to) const
    {
        int32_t count = 0;
        size_t at = from;
        while (at < to && NextCodePoint(m_text, to, at) != 0)
            ++count;
        return count;
    }

    const char* m_text;
    size_t m_length;
    CxFont& m_font;
    int m_size;
    int64_t m_box;
    int64_t m_spacing;
    size_t m_at = 0;
    int32_t m_index = 0;
    bool m_done = false;
};

CxFont* OrDefault(CxFont* font)
{
    return font ? font : GetDefaultFont();
}

} // namespace

uint32_t NextCodePoint(const char* text, size_t size, size_t& at)
{
    if (!text || at >= size)
        return 0;
    uint32_t code = 0;
    const size_t length = PimUtf8Decode(text + at, size - at, &code);
    if (length == 0 || code == 0)
        return 0;
    at += length;
    // The decoder maps each broken byte to a lone surrogate, which no valid
    // text decodes to.
    if (code >= 0xD800 && code <= 0xDFFF)
        return kReplacement;
    return code;
}

size_t CountCodePoints(const char* text)
{
    if (!text)
        return 0;
    const size_t length = std::strlen(text);
    size_t count = 0;
    size_t at = 0;
    while (NextCodePoint(text, length, at) != 0)
        ++count;
    return count;
}

int DrawText(CxDrawSurface& target, const CxRect& rect, uint32_t colour, const char* text, uint32_t flags, int size,
             CxFont* font, uint32_t key, uint32_t shadowColour, const ST_TEXT_SELECTION* selection)
{
    if (!text || !*text)
        return PIM_OK;
    font = OrDefault(font);
    if (!font)
        return PIM_OK;
    // Not the font's error: the default font is shared and would keep it.
    if (!target.IsCreated())
        return ReportError(PIM_ERR_BAD_ARG, "Can't render to a null surface");
    const int errorBefore = font->GetError();
    size = font->ResolveSize(size);
    const size_t length = std::strlen(text);
    const bool wrap = (flags & PIM_TEXT_WRAP) != 0;
    const int64_t box = wrap ? rect.Width() : kUnlimited;

    ST_LINE line;
    int64_t lines = 0;
    for (LineBreaker counter(text, length, *font, size, box); counter.Next(line);)
        ++lines;
    const CxSize spacing = font->GetSpacing();
    const int64_t lineHeight = font->GetLineHeight(size);
    const int64_t block = lines * lineHeight + (lines - 1) * spacing.height;
    int64_t y = rect.top;
    if (flags & PIM_TEXT_VCENTRE)
        y = FloorHalf(int64_t{rect.top} + rect.bottom - block + 1);
    else if (flags & PIM_TEXT_BOTTOM)
        y = int64_t{rect.bottom} - block + 1;

    const uint32_t fontFlags = flags & ~kLayoutFlags;
    const bool shadow = (flags & PIM_TEXT_SHADOW) && shadowColour != PIM_NO_COLOUR;
    const bool hasSelection = selection && selection->start < selection->end;
    const uint32_t selectionFill =
        hasSelection && selection->backgroundColour != PIM_NO_COLOUR
            ? FontColourToPixel(target, selection->backgroundColour)
            : 0;
    for (LineBreaker breaker(text, length, *font, size, box); breaker.Next(line);
         y += lineHeight + spacing.height) {
        if (y > target.GetHeight())
            break; // every later line is further down
        if (y + lineHeight + 1 <= 0)
            continue; // not even the shadow's last row shows
        int64_t x = rect.left;
        if (flags & PIM_TEXT_CENTRE)
            x = FloorHalf(int64_t{rect.left} + rect.right - line.width + 1);
        else if (flags & PIM_TEXT_RIGHT)
            x = int64_t{rect.right} - line.width + 1;
        int32_t index = line.firstIndex;
        for (size_t at = line.start; at < line.end; ++index) {
            const uint32_t code = NextCodePoint(text, line.end, at);
            if (code == 0)
                break;
            if (IsSkipped(code))
                continue;
            const int32_t cx = ClampToInt32(x), cy = ClampToInt32(y);
            const bool selected = hasSelection && index >= selection->start && index < selection->end;
            if (selected && selection->backgroundColour != PIM_NO_COLOUR) {
                const int64_t cell = font->MeasureChar(code, size) + spacing.width;
                target.FillRect(CxRect(cx, cy, ClampToInt32(x + cell - 1), ClampToInt32(y + lineHeight - 1)),
                                selectionFill);
            }
            if (shadow)
                font->DrawChar(target, ClampToInt32(x + 1), ClampToInt32(y + 1), code, shadowColour, size, key,
                               fontFlags);
            const int advance =
                font->DrawChar(target, cx, cy, code, selected ? selection->textColour : colour, size, key, fontFlags);
            x += int64_t{advance} + spacing.width;
            // Unwrapped text is cut after the first character that reaches
            // the right edge.
            if (!wrap && x - spacing.width > rect.right)
                break;
        }
    }
    return font->GetError() != errorBefore ? font->GetError() : PIM_OK;
}

CxString WrapText(const char* text, const CxRect& rect, CxFont* font, int size, int* widestLine, int* lineCount)
{
    if (!text)
        text = "";
    int64_t widest = 0;
    int lines = 0;
    CxString result;
    font = OrDefault(font);
    if (!font) {
        result = text;
        lines = static_cast<int>(PimCountChar(text, '\n')) + 1;
    } else {
        const size_t length = std::strlen(text);
        ST_LINE line;
        for (LineBreaker breaker(text, length, *font, font->ResolveSize(size), rect.Width()); breaker.Next(line);) {
            result.Append(text + line.start, static_cast<int>(line.next - line.start));
            if (line.broken && line.next < length)
                result.Append('\n');
            widest = line.width > widest ? line.width : widest;
            if (lines < INT_MAX)
                ++lines;
        }
    }
    if (widestLine)
        *widestLine = static_cast<int>(widest > INT_MAX ? INT_MAX : widest);
    if (lineCount)
        *lineCount = lines;
    return result;
}

int MeasureTextBlock(const char* text, CxFont* font, int size, int* lineCount)
{
    int64_t widest = 0;
    int lines = 0;
    font = OrDefault(font);
    if (text && font) {
        ST_LINE line;
        for (LineBreaker breaker(text, std::strlen(text), *font, font->ResolveSize(size), kUnlimited);
             breaker.Next(line);) {
            widest = line.width > widest ? line.width : widest;
            if (lines < INT_MAX)
                ++lines;
        }
    } else {
        lines = 1;
    }
    if (lineCount)
        *lineCount = lines;
    return static_cast<int>(widest > INT_MAX ? INT_MAX : widest);
}
