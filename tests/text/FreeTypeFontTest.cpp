// FreeType fonts over a real TrueType file: metrics, drawing read back from
// 8, 16 and 32-bit targets, the glyph cache's eviction order, and files that
// are broken or hostile.
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/text/CxFreeTypeFont.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

const char* const kFontFolder = "/usr/share/fonts/truetype/dejavu";
const char* const kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<uint8_t> FontBytes()
{
    std::ifstream in(kFontFile, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at)
{
    return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) | b[at + 3];
}

int16_t Be16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int16_t>((b[at] << 8) | b[at + 1]);
}

// Offset of a table in a TrueType file (0 when absent).
size_t FindTable(const std::vector<uint8_t>& bytes, const char* tag)
{
    const size_t count = static_cast<size_t>((bytes[4] << 8) | bytes[5]);
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 12 + 16 * i;
        if (std::memcmp(&bytes[entry], tag, 4) == 0)
            return Be32(bytes, entry + 8);
    }
    return 0;
}

// The baseline's distance below the cell top, from the face's box as the
// font puts it.
int CellTopToGlyphTop(int lineHeight, int16_t yMin, int16_t yMax, int glyphTop)
{
    const int descent = yMax > yMin ? static_cast<int>(std::trunc(double(lineHeight) * yMin / (yMax - yMin))) : 0;
    return lineHeight + descent - glyphTop;
}

struct Ink
{
    uint8_t red, green, blue;
};

int Mix(int old, int ink, int grey)
{
    return (old * (255 - grey) + ink * grey + 127) / 255;
}

enum class Coverage
{
    Blended,   // grey levels blend the ink over the target
    HardEdged, // half coverage or more is ink, less is nothing
};

// Draws `code` over a filled target and compares every target pixel with
// what the glyph's bits say it must be: outside the glyph and where its bits
// are clear the background, elsewhere the ink or the blend (within the
// target's channel precision).
void ExpectGlyphDrawn(CxFreeTypeFont& font, CxDrawSurface& target, const std::vector<uint8_t>& fontBytes,
                      uint32_t code, CxPoint at, Ink ink, uint32_t flags, Coverage coverage)
{
    SCOPED_TRACE(testing::Message() << "depth " << target.GetDepth() << ", code " << code);
    ASSERT_EQ(target.FillRect(target.GetRect(), target.MakeColour(20, 40, 200)), PIM_OK);
    const Ink background{target.GetRed(0, 0), target.GetGreen(0, 0), target.GetBlue(0, 0)};
    // Full coverage is the ink exactly as the target stores it.
    CxDrawSurface swatch;
    ASSERT_EQ(swatch.Create(1, 1, target.GetDepth(), -1, nullptr, target.GetPixelLayout()), PIM_OK);
    swatch.SetPixel(0, 0, target.MakeColour(ink.red, ink.green, ink.blue));
    const Ink solid{swatch.GetRed(0, 0), swatch.GetGreen(0, 0), swatch.GetBlue(0, 0)};
    const uint32_t colour = (uint32_t{ink.red} << 16) | (uint32_t{ink.green} << 8) | ink.blue;
    const int advance = font.DrawChar(target, at.x, at.y, code, colour, 16, PIM_NO_KEY, flags);
    const ST_GLYPH* glyph = font.FindGlyph(code, 16);
    ASSERT_NE(glyph, nullptr);
    ASSERT_NE(glyph->image, nullptr);
    EXPECT_EQ(advance, glyph->advance);
    EXPECT_GT(advance, 0);

    const size_t head = FindTable(fontBytes, "head");
    const int32_t left = at.x + glyph->left;
    const int32_t top = at.y + CellTopToGlyphTop(font.GetLineHeight(16), Be16(fontBytes, head + 38),
                                                 Be16(fontBytes, head + 42), glyph->top);
    CxDrawSurface& image = *glyph->image;
    const int tolerance = target.GetDepth() == 16 ? 8 : 1;
    int inked = 0;
    for (int32_t y = 0; y < target.GetHeight(); ++y) {
        for (int32_t x = 0; x < target.GetWidth(); ++x) {
            const int32_t gx = x - left, gy = y - top;
            int grey = 0;
            if (gx >= 0 && gy >= 0 && gx < image.GetWidth() && gy < image.GetHeight())
                grey = image.GetDepth() == 1 ? (image.GetPixel(gx, gy) ? 255 : 0) : static_cast<int>(image.GetPixel(gx, gy));
            if (coverage == Coverage::HardEdged)
                grey = grey >= 128 ? 255 : 0;
            const Ink over = grey == 255 ? solid : ink;
            const int want[3] = {Mix(background.red, over.red, grey), Mix(background.green, over.green, grey),
                                 Mix(background.blue, over.blue, grey)};
            const int got[3] = {target.GetRed(x, y), target.GetGreen(x, y), target.GetBlue(x, y)};
            for (int c = 0; c < 3; ++c) {
                ASSERT_NEAR(got[c], want[c], grey == 0 || grey == 255 ? 0 : tolerance)
                    << "pixel " << x << "," << y << " grey " << grey << " channel " << c;
            }
            if (grey != 0 && target.GetDepth() == 32) {
                ASSERT_EQ(target.GetPixel(x, y) >> 24, 255u) << x << "," << y;
            }
            inked += grey != 0;
        }
    }
    EXPECT_GT(inked, 10);
}

class FreeTypeFontTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kFontFile))
            GTEST_SKIP() << kFontFile << " is missing (scripts/setup installs fonts-dejavu-core)";
        m_bytes = FontBytes();
        ASSERT_GT(m_bytes.size(), 1000u);
    }

    CxDirectoryFileSystem m_fonts{"<Fonts>", kFontFolder};
    std::vector<uint8_t> m_bytes;
};

} // namespace

TEST_F(FreeTypeFontTest, LoadsMeasuresAndSharesTheLibrary)
{
    ErrorRecorder errors;
    EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 0);
    {
        CxFreeTypeFont font;
        ASSERT_EQ(font.Load("<Fonts>DejaVuSans.ttf"), PIM_OK);
        CxFreeTypeFont bold;
        ASSERT_EQ(bold.Load("<Fonts>DejaVuSans-Bold.ttf"), PIM_OK);
        EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 2);

        EXPECT_EQ(font.GetNativeSize(), 12);
        EXPECT_EQ(font.GetLineHeight(0), font.GetLineHeight(12));
        // The face's line spacing (ascent + descent + gap) is a little more
        // than the pixel size, and grows with it.
        const int line12 = font.GetLineHeight(12), line16 = font.GetLineHeight(16), line32 = font.GetLineHeight(32);
        EXPECT_GE(line12, 12);
        EXPECT_LE(line12, 16);
        EXPECT_LT(line12, line16);
        EXPECT_LT(line16, line32);

        // Text widths are the sums of the advances, code point by code point.
        const int a = font.MeasureChar('A', 16), v = font.MeasureChar('V', 16), e = font.MeasureChar(0xE9, 16);
        EXPECT_GT(a, 5);
        EXPECT_EQ(font.MeasureText("AVA", 16), 2 * a + v);
        EXPECT_EQ(font.MeasureText("\xC3\xA9", 16), e);
        EXPECT_EQ(font.MeasureText("", 16), 0);
        EXPECT_EQ(font.MeasureText(nullptr, 16), 0);
        EXPECT_LT(font.MeasureText("iiii", 16), font.MeasureText("WWWW", 16));
        EXPECT_EQ(font.MeasureText("AVA", 0), font.MeasureText("AVA", 12));
        EXPECT_LT(font.MeasureText("AVA", 12), font.MeasureText("AVA", 32));
        EXPECT_GE(bold.MeasureText("WWWW", 16), font.MeasureText("WWWW", 16));
        EXPECT_TRUE(errors.errors.empty());

        bold.Unload();
        EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 1);
        EXPECT_FALSE(bold.IsLoaded());
        // A font loaded again replaces its face rather than holding two.
        ASSERT_EQ(font.Load("<Fonts>DejaVuSans.ttf"), PIM_OK);
        EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 1);
        EXPECT_EQ(font.GetCachedGlyphCount(), 0);
    }
    EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 0);

    // The factory hands back a loaded font, or null with the font's error.
    CxFont* made = CreateFreeTypeFont("<Fonts>DejaVuSans.ttf");
    ASSERT_NE(made, nullptr);
    EXPECT_GT(made->MeasureText("Marrowdale", 0), 0);
    delete made;
    EXPECT_EQ(CreateFreeTypeFont("<Fonts>NoSuchFont.ttf"), nullptr);
    EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 0);
}

TEST_F(FreeTypeFontTest, RefusesBrokenAndHostileFiles)
{
    ErrorRecorder errors;
    CxFreeTypeFont font;
    auto lastIs = [&](int code, const std::string& message) {
        ASSERT_FALSE(errors.errors.empty());
        EXPECT_EQ(errors.errors.back().code, code);
        EXPECT_EQ(errors.errors.back().message, message);
    };
    EXPECT_EQ(font.Load("<Fonts>NoSuchFont.ttf"), PIM_ERR_OPEN);
    lastIs(PIM_ERR_OPEN, "Unable to load font: <Fonts>NoSuchFont.ttf");
    const uint8_t junk[] = "this is not a font at all, not even close";
    EXPECT_EQ(font.LoadFromMemory(junk, sizeof junk, "junk.ttf"), PIM_ERR_OPEN);
    lastIs(PIM_ERR_OPEN, "Unable to create font from buffer: junk.ttf");
    EXPECT_EQ(font.LoadFromMemory(junk, 0, "empty.ttf"), PIM_ERR_OPEN);
    // The size is refused before a byte is read or allocated.
    EXPECT_EQ(font.LoadFromMemory(junk, PIM_MAX_FONT_FILE_SIZE + 1, "huge.ttf"), PIM_ERR_OPEN);
    lastIs(PIM_ERR_OPEN, "Unable to load font: huge.ttf");
    EXPECT_FALSE(font.IsLoaded());
    EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 0);
    // An unloaded font measures and draws nothing.
    CxDrawSurface target;
    ASSERT_EQ(target.Create(40, 30, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    EXPECT_EQ(font.MeasureText("abc", 12), 0);
    EXPECT_EQ(font.DrawChar(target, 0, 0, 'a', 0xFFFFFF, 12, PIM_NO_KEY, 0), 0);

    // Cut files: whatever FreeType makes of them, measuring and drawing
    // stays inside the surface and the file's bytes.
    for (size_t length : {size_t{12}, size_t{200}, size_t{4096}, m_bytes.size() / 2}) {
        if (font.LoadFromMemory(m_bytes.data(), length, "cut.ttf") == PIM_OK) {
            font.MeasureText("Hello", 12);
            font.DrawChar(target, 3, 3, 'H', 0xFFFFFF, 12, PIM_NO_KEY, 0);
        }
    }
    // Memory running out at any point of the load (the copy of the bytes,
    // the library, the face) fails the load cleanly or leaves a usable font.
    static int allowed;
    static int made;
    for (allowed = 0; allowed < 60; allowed += 3) {
        made = 0;
        SetAllocationFailHook([](size_t) { return made++ >= allowed; });
        if (font.LoadFromMemory(m_bytes.data(), m_bytes.size(), "starved.ttf") == PIM_OK)
            font.DrawChar(target, 3, 3, 'H', 0xFFFFFF, 12, PIM_NO_KEY, 0);
        SetAllocationFailHook(nullptr);
        font.Unload();
        EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 0) << allowed;
    }

    // A face whose box has no height: the baseline goes to the foot of the
    // line instead of dividing by zero.
    std::vector<uint8_t> flat = m_bytes;
    const size_t head = FindTable(flat, "head");
    ASSERT_NE(head, 0u);
    for (size_t at : {head + 38, head + 42})
        flat[at] = flat[at + 1] = 0;
    ASSERT_EQ(font.LoadFromMemory(flat.data(), flat.size(), "flat.ttf"), PIM_OK);
    ExpectGlyphDrawn(font, target, flat, 'T', {2, 1}, {255, 255, 255}, 0, Coverage::Blended);
}

TEST_F(FreeTypeFontTest, DrawsGreyGlyphsByCoverage)
{
    ErrorRecorder errors;
    CxFreeTypeFont font;
    ASSERT_EQ(font.Load("<Fonts>DejaVuSans.ttf"), PIM_OK);
    CxDrawSurface wide, deep, paletted;
    ASSERT_EQ(wide.Create(40, 30, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    ASSERT_EQ(deep.Create(40, 30, 32), PIM_OK);
    for (uint32_t code : {uint32_t{'g'}, uint32_t{'W'}, uint32_t{0xE9}}) {
        ExpectGlyphDrawn(font, wide, m_bytes, code, {3, 2}, {250, 200, 10}, 0, Coverage::Blended);
        ExpectGlyphDrawn(font, deep, m_bytes, code, {3, 2}, {250, 200, 10}, PIM_TEXT_ALPHA32, Coverage::Blended);
        // Without the flag a 32-bit target gets hard edges.
        ExpectGlyphDrawn(font, deep, m_bytes, code, {5, 4}, {250, 200, 10}, 0, Coverage::HardEdged);
    }
    const ST_GLYPH* g = font.FindGlyph('g', 16);
    ASSERT_NE(g, nullptr);
    EXPECT_FALSE(g->monochrome);
    EXPECT_EQ(g->image->GetDepth(), 8);

    // Paletted targets take the nearest palette entry.
    ASSERT_EQ(paletted.Create(40, 30, 8), PIM_OK);
    ASSERT_EQ(paletted.FillRect(paletted.GetRect(), 0), PIM_OK);
    font.DrawChar(paletted, 2, 2, 'W', 0xFFFFFF, 16, PIM_NO_KEY, 0);
    const uint32_t white = static_cast<uint32_t>(
        NearestPaletteIndex(paletted.GetPaletteEntries(), 256, 255, 255, 255));
    EXPECT_GT(paletted.CountPixelsOfValue(white), 10);

    // Glyphs that fall partly off the target are clipped, not written past it.
    ASSERT_EQ(wide.FillRect(wide.GetRect(), 0), PIM_OK);
    font.DrawChar(wide, -4, -6, 'W', 0xFFFFFF, 16, PIM_NO_KEY, 0);
    font.DrawChar(wide, 36, 24, 'W', 0xFFFFFF, 16, PIM_NO_KEY, 0);
    EXPECT_EQ(wide.GetPixel(20, 15), 0u);
    EXPECT_TRUE(errors.errors.empty());
}

TEST_F(FreeTypeFontTest, DrawsMonochromeGlyphsInTheColour)
{
    CxFreeTypeFont font;
    ASSERT_EQ(font.Load("<Fonts>DejaVuSans.ttf"), PIM_OK);
    ASSERT_NE(font.FindGlyph('W', 16), nullptr);
    font.SetMonochrome(true);
    EXPECT_EQ(font.GetCachedGlyphCount(), 0);
    CxDrawSurface wide, deep;
    ASSERT_EQ(wide.Create(40, 30, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    ASSERT_EQ(deep.Create(40, 30, 32), PIM_OK);
    for (uint32_t code : {uint32_t{'W'}, uint32_t{'q'}}) {
        ExpectGlyphDrawn(font, wide, m_bytes, code, {1, 0}, {0, 255, 0}, 0, Coverage::Blended);
        // The same glyph in another colour: the palette follows each draw.
        ExpectGlyphDrawn(font, deep, m_bytes, code, {6, 3}, {255, 0, 128}, 0, Coverage::Blended);
        const ST_GLYPH* glyph = font.FindGlyph(code, 16);
        ASSERT_NE(glyph, nullptr);
        EXPECT_TRUE(glyph->monochrome);
        EXPECT_EQ(glyph->image->GetDepth(), 1);
    }
}

TEST_F(FreeTypeFontTest, CacheEvictsTheGlyphCreatedFirst)
{
    CxFreeTypeFont font;
    ASSERT_EQ(font.Load("<Fonts>DejaVuSans.ttf"), PIM_OK);
    std::vector<uint32_t> codes;
    for (uint32_t c = 0x21; c <= 0x7E; ++c)
        codes.push_back(c);
    for (uint32_t c = 0xA1; codes.size() < PIM_GLYPH_CACHE_SIZE + 2; ++c)
        codes.push_back(c);
    for (int i = 0; i < PIM_GLYPH_CACHE_SIZE; ++i)
        ASSERT_GT(font.MeasureChar(codes[i], 14), 0) << codes[i];
    EXPECT_EQ(font.GetCachedGlyphCount(), PIM_GLYPH_CACHE_SIZE);

    // Using the first glyph again is a hit: it stays first in line.
    const ST_GLYPH* first = font.FindGlyph(codes[0], 14);
    ASSERT_NE(first, nullptr);
    const uint64_t tick = first->tick;
    EXPECT_EQ(font.FindGlyph(codes[0], 14), first);
    EXPECT_EQ(first->tick, tick);

    font.MeasureChar(codes[PIM_GLYPH_CACHE_SIZE], 14);
    EXPECT_EQ(font.GetCachedGlyphCount(), PIM_GLYPH_CACHE_SIZE);
    EXPECT_FALSE(font.IsGlyphCached(codes[0], 14));
    EXPECT_TRUE(font.IsGlyphCached(codes[1], 14));
    EXPECT_TRUE(font.IsGlyphCached(codes[PIM_GLYPH_CACHE_SIZE], 14));
    // The same code point at another size is another glyph: it evicts the
    // second-oldest.
    font.MeasureChar(codes[5], 15);
    EXPECT_FALSE(font.IsGlyphCached(codes[1], 14));
    EXPECT_TRUE(font.IsGlyphCached(codes[5], 14));
    EXPECT_TRUE(font.IsGlyphCached(codes[5], 15));
    // Size 0 and the native size are one entry.
    font.MeasureChar(codes[2], 12);
    EXPECT_TRUE(font.IsGlyphCached(codes[2], 0));
    EXPECT_EQ(font.GetCachedGlyphCount(), PIM_GLYPH_CACHE_SIZE);
}

TEST_F(FreeTypeFontTest, MissingAndBlankGlyphs)
{
    ErrorRecorder errors;
    CxFreeTypeFont font;
    ASSERT_EQ(font.Load("<Fonts>DejaVuSans.ttf"), PIM_OK);
    CxDrawSurface target;
    ASSERT_EQ(target.Create(30, 30, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    ASSERT_EQ(target.FillRect(target.GetRect(), 0x1234), PIM_OK);

    // A code point the face lacks: traced once, not counted as an error
    // (a text drawn every frame would soon end the game), advance 0,
    // nothing drawn; the font keeps error 13.
    TraceRecorder trace;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(font.DrawChar(target, 2, 2, 0x10FFFD, 0xFFFFFF, 16, PIM_NO_KEY, 0), 0);
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(font.GetError(), PIM_ERR_UNKNOWN);
    ASSERT_EQ(trace.lines.size(), 1u);
    EXPECT_EQ(trace.lines[0], "Unable to load glyph for '0010fffd'\n");
    font.ClearError();
    EXPECT_EQ(font.MeasureText("a\xF4\x8F\xBF\xBD" "a", 16), 2 * font.MeasureChar('a', 16));
    EXPECT_EQ(font.GetCachedGlyphCount(), 1);

    // The space has an advance but no bits.
    errors.errors.clear();
    const ST_GLYPH* space = font.FindGlyph(' ', 16);
    ASSERT_NE(space, nullptr);
    EXPECT_EQ(space->image, nullptr);
    EXPECT_EQ(font.DrawChar(target, 2, 2, ' ', 0xFFFFFF, 16, PIM_NO_KEY, 0), space->advance);
    EXPECT_GT(space->advance, 0);
    EXPECT_EQ(target.CountPixelsOfValue(0x1234), 30 * 30);
    EXPECT_TRUE(errors.errors.empty());
}

TEST_F(FreeTypeFontTest, LoadsThroughTheFontFilterRegistry)
{
    ASSERT_EQ(RegisterFreeTypeFontFilter(), PIM_OK);
    intptr_t handle = 0;
    ASSERT_EQ(LoadFont("<Fonts>DejaVuSans.ttf", &handle), PIM_OK);
    auto* font = dynamic_cast<CxFreeTypeFont*>(FindFont(handle));
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->IsLoaded());
    EXPECT_GT(font->MeasureText("Marrowdale", 0), 0);
    DeleteFont(handle);
    EXPECT_EQ(CxFreeTypeFont::GetLibraryUsers(), 0);
    ResetFontFilters();
}
