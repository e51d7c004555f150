// The text engine: UTF-8 decoding, wrapping, measuring and drawing with the
// built-in font (fixed 9-pixel cells, 12 rows).
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxBitmapFont.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/PimText.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

std::string Wrap(const char* text, int32_t width, int* widest = nullptr, int* lines = nullptr)
{
    CxString wrapped = WrapText(text, CxRect(0, 0, width - 1, 100), nullptr, 0, widest, lines);
    return wrapped.GetText();
}

CxRect InkBox(CxDrawSurface& surface)
{
    CxRect box;
    for (int32_t y = 0; y < surface.GetHeight(); ++y)
        for (int32_t x = 0; x < surface.GetWidth(); ++x)
            if (surface.GetPixel(x, y) != 0)
                box = box.Union(CxRect(x, y, x, y));
    return box;
}

// The text drawn in white onto a fresh 32-bit surface.
void Draw(CxDrawSurface& surface, const char* text, const CxRect& rect, uint32_t flags, int size = 0)
{
    ASSERT_EQ(surface.Create(120, 60, 32), PIM_OK);
    surface.FillRect(surface.GetRect(), 0);
    EXPECT_EQ(DrawText(surface, rect, kWhite, text, flags, size, nullptr, PIM_FONT_OWN_KEY, PIM_NO_COLOUR, nullptr),
              PIM_OK);
}

} // namespace

TEST(Text, DecodesBrokenUtf8WithoutReadingPastTheEnd)
{
    const char text[] = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    size_t at = 0;
    const size_t size = std::strlen(text);
    EXPECT_EQ(NextCodePoint(text, size, at), 'a');
    EXPECT_EQ(NextCodePoint(text, size, at), 0xE9u);
    EXPECT_EQ(NextCodePoint(text, size, at), 0x20ACu);
    EXPECT_EQ(NextCodePoint(text, size, at), 0x1F600u);
    EXPECT_EQ(at, size);
    EXPECT_EQ(NextCodePoint(text, size, at), 0u);
    EXPECT_EQ(CountCodePoints(text), 4u);

    // A sequence cut by the size limit: each byte is one U+FFFD.
    at = 7;
    EXPECT_EQ(NextCodePoint(text, 9, at), 0xFFFDu);
    EXPECT_EQ(at, 8u);
    EXPECT_EQ(NextCodePoint(text, 9, at), 0xFFFDu);
    EXPECT_EQ(at, 9u);
    EXPECT_EQ(NextCodePoint(text, 9, at), 0u);

    // Stray continuation bytes, a truncated lead at the end, an overlong form.
    EXPECT_EQ(CountCodePoints("\x80\x80x\xC3"), 4u);
    at = 0;
    EXPECT_EQ(NextCodePoint("\xC0\xAF", 2, at), 0xFFFDu);
    EXPECT_EQ(at, 1u);
    EXPECT_EQ(CountCodePoints(nullptr), 0u);
}

TEST(Text, WrapsAtBreakCharacters)
{
    int widest = 0, lines = 0;
    // Six cells fit in 60 pixels, seven do not.
    EXPECT_EQ(Wrap("alpha,beta", 60, &widest, &lines), "alpha,\nbeta");
    EXPECT_EQ(widest, 54);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(Wrap("alpha, beta", 60, &widest, &lines), "alpha, \nbeta");
    EXPECT_EQ(widest, 54);
    EXPECT_EQ(Wrap("one two three", 80, &widest, &lines), "one two \nthree");
    EXPECT_EQ(lines, 2);

    // A word longer than the box breaks where it overflows.
    EXPECT_EQ(Wrap("abcdefghij", 30, &widest, &lines), "abc\ndef\nghi\nj");
    EXPECT_EQ(widest, 27);
    EXPECT_EQ(lines, 4);

    // A box narrower than one glyph, or none at all, still gets one
    // character per line and ends.
    EXPECT_EQ(Wrap("abc", 5, &widest, &lines), "a\nb\nc");
    EXPECT_EQ(widest, 9);
    EXPECT_EQ(lines, 3);
    EXPECT_EQ(Wrap("ab", 0, nullptr, &lines), "a\nb");

    // Line feeds stay; text that fits is left alone; multi-byte characters
    // are never split.
    EXPECT_EQ(Wrap("ab\ncd", 200, &widest, &lines), "ab\ncd");
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(Wrap("", 50, &widest, &lines), "");
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(widest, 0);
    EXPECT_EQ(Wrap("ab\xC3\xA9" "cd", 20, nullptr, &lines), "ab\xC3\xA9\ncd");
}

TEST(Text, MeasuresFixedCells)
{
    int lines = 0;
    EXPECT_EQ(MeasureTextBlock("abc\nde", nullptr, 0, &lines), 27);
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(MeasureTextBlock("a\tb\r", nullptr, 0, &lines), 18);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(MeasureTextBlock("abc", nullptr, 24, &lines), 54);

    // Character spacing sits between characters, not after the last one.
    GetDefaultFont()->SetSpacing(2, 3);
    EXPECT_EQ(MeasureTextBlock("abc", nullptr, 0, &lines), 31);
    int widest = 0;
    EXPECT_EQ(Wrap("abcd", 33, &widest, &lines), "abc\nd");
    EXPECT_EQ(widest, 31);
}

TEST(Text, AlignmentMovesTheWholeBlock)
{
    const CxRect box(0, 0, 99, 49);
    CxDrawSurface plain;
    Draw(plain, "ab", box, 0);
    const CxRect ink = InkBox(plain);
    ASSERT_FALSE(ink.IsEmpty());

    struct Case
    {
        uint32_t flags;
        int32_t dx, dy;
    } const cases[] = {
        {PIM_TEXT_RIGHT, 82, 0},
        {PIM_TEXT_CENTRE, 41, 0},
        {PIM_TEXT_VCENTRE, 0, 19},
        {PIM_TEXT_BOTTOM | PIM_TEXT_CENTRE, 41, 38},
    };
    for (const Case& c : cases) {
        CxDrawSurface moved;
        Draw(moved, "ab", box, c.flags);
        EXPECT_EQ(InkBox(moved), ink.Offset(c.dx, c.dy)) << c.flags;
    }

    // Two lines centre as one block, each line on its own width.
    CxDrawSurface two;
    Draw(two, "ab\nabcd", box, PIM_TEXT_VCENTRE | PIM_TEXT_CENTRE);
    const CxRect both = InkBox(two);
    EXPECT_EQ(both.top, ink.top + 13);
    EXPECT_EQ(both.left, ink.left + 32);

    // Size 0 is the native size: a wrapped second line sits 12 rows down.
    CxDrawSurface native, explicitSize;
    Draw(native, "ab ab", CxRect(0, 0, 25, 59), PIM_TEXT_WRAP, 0);
    Draw(explicitSize, "ab ab", CxRect(0, 0, 25, 59), PIM_TEXT_WRAP, 12);
    EXPECT_EQ(InkBox(native), InkBox(explicitSize));
    EXPECT_EQ(InkBox(native).bottom, ink.bottom + 12);
}

TEST(Text, UnwrappedTextStopsAtTheRightEdge)
{
    CxDrawSurface surface;
    Draw(surface, "abcdefgh", CxRect(0, 0, 29, 20), 0);
    // 'd' (columns 27..35) reaches the edge and is still drawn; 'e' is not.
    const CxRect ink = InkBox(surface);
    EXPECT_GE(ink.right, 28);
    EXPECT_LE(ink.right, 35);
}

TEST(Text, SelectionAndShadowColours)
{
    CxDrawSurface surface;
    ASSERT_EQ(surface.Create(80, 14, 32), PIM_OK);
    ST_TEXT_SELECTION selection;
    selection.start = 2;
    selection.end = 5;
    selection.textColour = 0x00FF0000;
    selection.backgroundColour = 0x000000FF;
    ASSERT_EQ(DrawText(surface, surface.GetRect(), kWhite, "abcdef", 0, 0, nullptr, PIM_FONT_OWN_KEY, PIM_NO_COLOUR,
                       &selection),
              PIM_OK);
    for (int cell = 0; cell < 6; ++cell) {
        const bool selected = cell >= 2 && cell < 5;
        int red = 0, blue = 0, white = 0;
        for (int32_t y = 0; y < 12; ++y)
            for (int32_t x = cell * 9; x < cell * 9 + 9; ++x) {
                const uint32_t pixel = surface.GetPixel(x, y);
                red += pixel == 0xFFFF0000u;
                blue += pixel == 0xFF0000FFu;
                white += pixel == kOpaqueWhite;
            }
        EXPECT_EQ(red > 0, selected) << cell;
        EXPECT_EQ(red + blue == 108, selected) << cell;
        EXPECT_EQ(white > 0, !selected) << cell;
    }

    // The shadow lies one pixel down and right, under the text.
    surface.FillRect(surface.GetRect(), 0);
    DrawText(surface, surface.GetRect(), kWhite, "A", PIM_TEXT_SHADOW, 0, nullptr, PIM_FONT_OWN_KEY, 0x000000FF,
             nullptr);
    int shadow = 0;
    for (int32_t y = 0; y < 13; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            const uint32_t pixel = surface.GetPixel(x, y);
            if (pixel == 0xFF0000FFu) {
                ++shadow;
                EXPECT_EQ(surface.GetPixel(x - 1, y - 1), kOpaqueWhite) << x << "," << y;
            }
            if (pixel == kOpaqueWhite) {
                EXPECT_NE(surface.GetPixel(x + 1, y + 1), 0u) << x << "," << y;
            }
        }
    EXPECT_GT(shadow, 0);
}

TEST(Text, MissingGlyphsAdvanceNothingAndAreTracedOnce)
{
    TraceRecorder trace;
    const int errors = GetErrorCount();
    CxDrawSurface with, without;
    Draw(with, "a\xE2\x82\xAC\xE2\x82\xAC" "b", CxRect(0, 0, 119, 59), 0);
    Draw(without, "ab", CxRect(0, 0, 119, 59), 0);
    EXPECT_EQ(InkBox(with), InkBox(without));
    EXPECT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(GetErrorCount(), errors);

    // Nothing to draw, nothing done; an uncreated target is refused.
    CxDrawSurface none;
    EXPECT_EQ(DrawText(with, with.GetRect(), kWhite, "", 0, 0, nullptr, PIM_FONT_OWN_KEY, PIM_NO_COLOUR, nullptr),
              PIM_OK);
    ErrorRecorder recorder;
    EXPECT_EQ(DrawText(none, CxRect(0, 0, 9, 9), kWhite, "x", 0, 0, nullptr, PIM_FONT_OWN_KEY, PIM_NO_COLOUR, nullptr),
              PIM_ERR_BAD_ARG);
}
