#pragma once
// The text engine: UTF-8 text laid out and drawn with any CxFont, with
// alignment, word wrap at break characters, a drop shadow and a highlighted
// selection. Text is decoded to code points before it is measured or drawn;
// broken UTF-8 becomes U+FFFD and is never read past its end.

#include "PIM/core/CxRect.h"
#include "PIM/core/CxString.h"
#include "PIM/core/PimDefs.h"

class CxDrawSurface;
class CxFont;

// A selection: code-point indices [start, end); start 999999999 is none.
constexpr int32_t PIM_NO_SELECTION = 999999999;

struct ST_TEXT_SELECTION
{
    int32_t start = PIM_NO_SELECTION;
    int32_t end = PIM_NO_SELECTION;
    uint32_t textColour = 0x00FFFFFF;       // 0x00RRGGBB
    uint32_t backgroundColour = 0x00000080; // 0x00RRGGBB
};

// The next code point of `text` (at most `size` bytes from `at`), advancing
// `at`; U+FFFD for a broken sequence (one byte consumed). 0 at the end.
uint32_t NextCodePoint(const char* text, size_t size, size_t& at);
size_t CountCodePoints(const char* text);

// Draws `text` into `rect` of `target`. `size` 0 is the font's native size;
// a null font is the default font. Colours are 0x00RRGGBB (-1: the font's
// own). Line feeds always start a new line; without PIM_TEXT_WRAP a line
// ends after its first character that reaches the right edge. A shadow
// needs a shadow colour (-1 draws none). Selection indices count the code
// points of `text` itself. 0 or an error code.
int DrawText(CxDrawSurface& target, const CxRect& rect, uint32_t colour, const char* text, uint32_t flags, int size,
             CxFont* font, uint32_t key, uint32_t shadowColour, const ST_TEXT_SELECTION* selection);
// `text` with line feeds inserted so that no line is wider than `rect`
// (breaking after one of " ,.;:!?]}/-" where it can); every line takes at
// least one code point, so a box narrower than a glyph still ends. A space
// that overflows stays at the end of its line (unseen) rather than starting
// the next one. Line feeds already in the text are kept.
CxString WrapText(const char* text, const CxRect& rect, CxFont* font, int size, int* widestLine, int* lineCount);
// Width of the widest line and the number of lines, without drawing.
int MeasureTextBlock(const char* text, CxFont* font, int size, int* lineCount);
