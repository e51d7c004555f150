// The font list, the font-file filter registry, strip fonts and the
// built-in font.
#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/text/CxBitmapFont.h"
#include "PIM/text/CxFont.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

constexpr uint32_t kMarker = 5;
constexpr uint32_t kPaper = 1;
constexpr uint32_t kInk = 9;

// A strip of glyphs of the given widths: markers on the top row, paper in
// each glyph's first column, ink everywhere else below the top row.
void MakeStrip(CxDrawSurface& strip, std::initializer_list<int> widths, int height, int depth = 8,
               uint32_t ink = kInk, uint32_t paper = kPaper, uint32_t marker = kMarker)
{
    int total = 0;
    for (int w : widths)
        total += w;
    ASSERT_EQ(strip.Create(total, height, depth), PIM_OK);
    strip.FillRect(strip.GetRect(), ink);
    int x = 0;
    for (int w : widths) {
        strip.FillRect(CxRect(x, 0, x + w - 1, 0), paper);
        strip.FillRect(CxRect(x, 1, x, height - 1), paper);
        strip.SetPixel(x, 0, marker);
        x += w;
    }
}

// The bounding box of the pixels that differ from `background`.
CxRect InkBox(CxDrawSurface& surface, uint32_t background)
{
    CxRect box;
    for (int32_t y = 0; y < surface.GetHeight(); ++y)
        for (int32_t x = 0; x < surface.GetWidth(); ++x)
            if (surface.GetPixel(x, y) != background)
                box = box.Union(CxRect(x, y, x, y));
    return box;
}

CxFont* g_made = nullptr;

CxFont* MakeFont(const char*)
{
    auto* font = new CxBitmapFont;
    CxDrawSurface strip;
    MakeStrip(strip, {3, 4}, 5);
    font->Create(strip);
    g_made = font;
    return font;
}

} // namespace

TEST(FontFilters, RegistrationRules)
{
    ErrorRecorder errors;
    EXPECT_EQ(RegisterFontFilter("ttf", &MakeFont), PIM_ERR_BAD_ARG);
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].message, "Extension MUST include the period as in '.ttf'");
    EXPECT_EQ(RegisterFontFilter(".toolongext", &MakeFont), PIM_ERR_BAD_ARG);

    // Ten fit; the eleventh is refused loudly, a repeat only updates.
    for (int i = 0; i < PIM_FONT_FILTER_COUNT; ++i)
        EXPECT_EQ(RegisterFontFilter(("." + std::to_string(i)).c_str(), &MakeFont), PIM_OK) << i;
    EXPECT_EQ(RegisterFontFilter(".fnt", &MakeFont), PIM_ERR_BAD_ARG);
    EXPECT_EQ(RegisterFontFilter(".3", nullptr), PIM_OK);
    intptr_t handle = 1;
    EXPECT_EQ(LoadFont("a.fnt", &handle), PIM_ERR_UNKNOWN);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(LoadFont("a.3", &handle), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.back().message, "No Load function registered for 'a.3'");

    UnregisterFontFilter(".[0-4]");
    EXPECT_EQ(RegisterFontFilter(".fnt", &MakeFont), PIM_OK);
    EXPECT_EQ(LoadFont("dir/A.FNT", &handle), PIM_OK);
    EXPECT_EQ(handle, reinterpret_cast<intptr_t>(g_made));
    EXPECT_EQ(FindFont(handle), g_made);
    EXPECT_EQ(g_made->GetHandle(), handle);
    DeleteFont(handle);
    EXPECT_EQ(FindFont(handle), nullptr);
    DeleteFont(handle); // unknown handles are ignored
}

TEST(FontFilters, LoadsAStripPictureThroughTheImageRegistry)
{
    RegisterDefaultImageFilters();
    ASSERT_EQ(RegisterBitmapFontFilter(), PIM_OK);
    ASSERT_EQ(RegisterFontFilter(".tga", &CreatePcxStripFont), PIM_OK);
    TempFolder folder;
    CxDrawSurface strip;
    MakeStrip(strip, {2, 3, 4}, 6, 24, 0x102030, 0x405060, 0x708090);
    const std::string path = folder / "strip.tga";
    ASSERT_EQ(strip.Save(path.c_str()), PIM_OK);

    intptr_t handle = 0;
    ASSERT_EQ(LoadFont(path.c_str(), &handle), PIM_OK);
    auto* font = dynamic_cast<CxBitmapFont*>(FindFont(handle));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetGlyphCount(), 3);
    EXPECT_EQ(font->GetNativeSize(), 6);
    EXPECT_EQ(font->MeasureChar(2, 0), 4);

    ErrorRecorder errors;
    EXPECT_NE(LoadFont((folder / "missing.tga").c_str(), &handle), PIM_OK);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(CreatePcxStripFont((folder / "missing.pcx").c_str()), nullptr);
}

TEST(BitmapFont, CutsTheStripAtMarkers)
{
    CxDrawSurface strip;
    MakeStrip(strip, {3, 4, 2}, 5);
    CxBitmapFont font;
    ASSERT_EQ(font.Create(strip), PIM_OK);
    ASSERT_EQ(font.GetGlyphCount(), 3);
    const int lefts[] = {0, 3, 7}, rights[] = {2, 6, 8};
    for (int i = 0; i < 3; ++i) {
        const ST_BITMAP_GLYPH* glyph = font.GetGlyph(i);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->left, lefts[i]);
        EXPECT_EQ(glyph->right, rights[i]);
        EXPECT_EQ(glyph->top, 0);
        EXPECT_EQ(glyph->bottom, 4);
        EXPECT_EQ(glyph->code, i);
        // The marker no longer shows: it became paper.
        EXPECT_EQ(font.GetStrip().GetPixel(lefts[i], 0), kPaper);
    }
    EXPECT_EQ(font.GetGlyph(3), nullptr);
    EXPECT_EQ(font.GetTransparentColour(), kPaper);
    EXPECT_EQ(font.GetNativeSize(), 5);
    EXPECT_EQ(font.GetMaxCode(), 2);
    EXPECT_EQ(font.GetLineHeight(0), 5);
    EXPECT_EQ(font.GetHeader().magic, 0x464F4E54u);
    EXPECT_EQ(font.GetHeader().flags, 38u);
    EXPECT_EQ(font.GetStripBytes(), strip.GetBitsSize());

    // The surface's own key wins over the first paper pixel.
    strip.SetTransparentColour(kInk);
    ASSERT_EQ(font.Create(strip), PIM_OK);
    EXPECT_EQ(font.GetTransparentColour(), kInk);
    EXPECT_EQ(font.GetStrip().GetPixel(3, 0), kInk);

    // A top row of nothing but markers: one-pixel glyphs and no key, so the
    // markers stay as they are.
    CxDrawSurface solid;
    ASSERT_EQ(solid.Create(4, 2, 8), PIM_OK);
    solid.FillRect(solid.GetRect(), kMarker);
    ASSERT_EQ(font.Create(solid), PIM_OK);
    EXPECT_EQ(font.GetGlyphCount(), 4);
    EXPECT_EQ(font.MeasureChar(3, 0), 1);
    EXPECT_EQ(font.GetTransparentColour(), PIM_NO_KEY);
    EXPECT_EQ(font.GetStrip().GetPixel(2, 0), kMarker);

    ErrorRecorder errors;
    CxDrawSurface empty;
    EXPECT_EQ(font.Create(empty), PIM_ERR_BAD_ARG);
    EXPECT_EQ(font.GetGlyphCount(), 0);
}

TEST(BitmapFont, DrawsScaledAndSilhouettedGlyphs)
{
    CxDrawSurface strip;
    MakeStrip(strip, {3, 4}, 5);
    CxBitmapFont font;
    ASSERT_EQ(font.Create(strip), PIM_OK);
    CxDrawSurface target;
    ASSERT_EQ(target.Create(40, 30, 8), PIM_OK);

    // Native size: the glyph's ink (columns 4..6, rows 1..4) lands 1:1.
    EXPECT_EQ(font.DrawChar(target, 10, 10, 1, PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0), 4);
    EXPECT_EQ(InkBox(target, 0), CxRect(11, 11, 13, 14));
    EXPECT_EQ(target.GetPixel(11, 11), kInk);

    // Twice the size doubles the whole glyph box and the advance.
    target.FillRect(target.GetRect(), 0);
    EXPECT_EQ(font.DrawChar(target, 10, 10, 1, PIM_NO_COLOUR, 10, PIM_FONT_OWN_KEY, 0), 8);
    EXPECT_EQ(InkBox(target, 0), CxRect(12, 12, 17, 19));
    EXPECT_EQ(font.MeasureChar(1, 10), 8);
    EXPECT_EQ(font.MeasureChar(0, 10), 6);
    EXPECT_EQ(font.MeasureText("\x01\x00", 10), 8);
    EXPECT_EQ(font.MeasureText("\x01\x01\t", 0), 8);

    // A colour draws the glyph as a solid silhouette on any depth.
    CxDrawSurface deep;
    ASSERT_EQ(deep.Create(20, 10, 32), PIM_OK);
    font.DrawChar(deep, 0, 0, 1, 0x00FF0000, 0, PIM_FONT_OWN_KEY, 0);
    EXPECT_EQ(deep.GetPixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(deep.GetPixel(0, 1), 0u);
    EXPECT_EQ(InkBox(deep, 0), CxRect(1, 1, 3, 4));
    CxDrawSurface wide;
    ASSERT_EQ(wide.Create(20, 10, 24), PIM_OK);
    font.DrawChar(wide, 0, 0, 1, 0x00123456, 0, PIM_FONT_OWN_KEY, 0);
    EXPECT_EQ(wide.GetRed(2, 2), 0x12);
    EXPECT_EQ(wide.GetBlue(2, 2), 0x56);
}

TEST(BitmapFont, TwentyFourBitStripsKeepTheirPaper)
{
    // GetPixel and the colour key disagree on the byte order of 24-bit
    // pixels: the paper must still be transparent when drawn.
    CxDrawSurface strip;
    MakeStrip(strip, {3, 3}, 4, 24, 0x0A0B0C, 0x010203, 0x040506);
    CxBitmapFont font;
    ASSERT_EQ(font.Create(strip), PIM_OK);
    CxDrawSurface target;
    ASSERT_EQ(target.Create(8, 6, 24), PIM_OK);
    target.FillRect(target.GetRect(), 0x777777);
    font.DrawChar(target, 0, 0, 0, PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0);
    EXPECT_EQ(target.GetPixel(0, 0), 0x777777u);
    EXPECT_EQ(target.GetPixel(0, 2), 0x777777u);
    EXPECT_EQ(target.GetPixel(1, 2), 0x0A0B0Cu);
}

TEST(BitmapFont, MissingGlyphIsTracedOnceAndNotCounted)
{
    CxDrawSurface strip;
    MakeStrip(strip, {3, 4}, 5);
    CxBitmapFont font;
    ASSERT_EQ(font.Create(strip), PIM_OK);
    CxDrawSurface target;
    ASSERT_EQ(target.Create(10, 10, 8), PIM_OK);
    TraceRecorder trace;
    const int errors = GetErrorCount();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(font.DrawChar(target, 0, 0, 0x20AC, PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0), 0);
        EXPECT_EQ(font.MeasureChar(0x20AC, 0), 0);
    }
    EXPECT_EQ(trace.lines.size(), 1u);
    font.DrawChar(target, 0, 0, 7, PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0);
    EXPECT_EQ(trace.lines.size(), 2u);
    EXPECT_EQ(GetErrorCount(), errors);
    EXPECT_EQ(font.GetError(), PIM_OK);
    EXPECT_EQ(InkBox(target, 0), CxRect());

    // A flood of distinct unknown codes stays bounded.
    for (uint32_t code = 1000; code < 2000; ++code)
        font.MeasureChar(code, 0);
    EXPECT_LT(trace.lines.size(), 100u);

    // Drawing with no strip is an error of the font.
    ErrorRecorder recorder;
    font.Unload();
    EXPECT_EQ(font.DrawChar(target, 0, 0, 0, PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0), 0);
    EXPECT_EQ(font.GetError(), PIM_ERR_UNKNOWN);
}

TEST(FontList, DefaultFontAndBitmapFonts)
{
    CxFont* font = GetDefaultFont();
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(FindFont(PIM_DEFAULT_FONT), font);
    EXPECT_EQ(GetDefaultFontHandle(), font->GetHandle());
    EXPECT_EQ(CreateDefaultFont(), PIM_OK);
    EXPECT_EQ(GetDefaultFont(), font);
    EXPECT_EQ(font->GetNativeSize(), 12);
    EXPECT_EQ(font->GetMaxCode(), 127);
    EXPECT_EQ(font->MeasureChar('W', 0), 9);
    EXPECT_EQ(font->MeasureText("Hello", 0), 45);
    EXPECT_EQ(font->MeasureChar('W', 24), 18);

    // 'I' has ink, but never in the marker column or the top row; a space
    // has none at all.
    CxDrawSurface target;
    ASSERT_EQ(target.Create(40, 20, 8), PIM_OK);
    font->DrawChar(target, 0, 0, 'I', PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0);
    const CxRect ink = InkBox(target, 0);
    EXPECT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.left, 1);
    EXPECT_GE(ink.top, 1);
    EXPECT_LE(ink.right, 8);
    EXPECT_LE(ink.bottom, 11);
    target.FillRect(target.GetRect(), 0);
    font->DrawChar(target, 0, 0, ' ', PIM_NO_COLOUR, 0, PIM_FONT_OWN_KEY, 0);
    EXPECT_TRUE(InkBox(target, 0).IsEmpty());

    CxDrawSurface strip;
    ASSERT_EQ(BuildDefaultFontStrip(strip), PIM_OK);
    EXPECT_EQ(strip.GetWidth(), 1152);
    EXPECT_EQ(strip.GetHeight(), 12);
    EXPECT_EQ(strip.GetPixel(9 * 65, 0), 255u);

    // A bitmap font of our own joins the list; the default goes and comes
    // back on demand.
    CxDrawSurface mine;
    MakeStrip(mine, {3, 4}, 5);
    intptr_t handle = 0;
    ASSERT_EQ(CreateBitmapFont(mine, &handle), PIM_OK);
    EXPECT_NE(FindFont(handle), nullptr);
    const intptr_t old = font->GetHandle();
    DeleteDefaultFont();
    EXPECT_EQ(FindFont(old), nullptr);
    EXPECT_EQ(GetDefaultFontHandle(), 0);
    EXPECT_NE(GetDefaultFont(), nullptr);
    SetDefaultFontHandle(handle);
    EXPECT_EQ(GetDefaultFont(), FindFont(handle));
    EXPECT_EQ(RegisterFont(nullptr), 0);
    DeleteAllFonts();
    EXPECT_EQ(FindFont(handle), nullptr);
}

TEST(FontList, AllocationFailures)
{
    ErrorRecorder errors;
    CxDrawSurface strip;
    MakeStrip(strip, {3, 4}, 5);
    SetAllocationFailHook([](size_t) { return true; });
    intptr_t handle = 7;
    EXPECT_EQ(CreateBitmapFont(strip, &handle), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(handle, 0);
    ASSERT_FALSE(errors.errors.empty());
    EXPECT_EQ(errors.errors.back().message, "Could not allocate a new CxBitmapFont");
}

TEST(FontColours, ConvertAtTheDrawSite)
{
    // 24-bit fills take blue highest, draw arguments red highest: both must
    // come out as the same colour.
    CxDrawSurface wide;
    ASSERT_EQ(wide.Create(2, 1, 24), PIM_OK);
    wide.FillRect(CxRect(0, 0, 0, 0), FontColourToPixel(wide, 0x00123456));
    EXPECT_EQ(wide.GetRed(0, 0), 0x12);
    EXPECT_EQ(wide.GetGreen(0, 0), 0x34);
    EXPECT_EQ(wide.GetBlue(0, 0), 0x56);
    EXPECT_EQ(FontColourToDrawArgument(wide, 0x00123456), 0x123456u);

    // Paletted targets take the nearest entry; alpha is opaque.
    CxDrawSurface paletted;
    ASSERT_EQ(paletted.Create(2, 1, 8), PIM_OK);
    uint8_t palette[768] = {};
    palette[77 * 3] = 250;
    palette[77 * 3 + 1] = 10;
    paletted.SetPalette(palette, sizeof palette);
    EXPECT_EQ(FontColourToPixel(paletted, 0x00FF0000), 77u);
    CxDrawSurface deep;
    ASSERT_EQ(deep.Create(2, 1, 32), PIM_OK);
    EXPECT_EQ(FontColourToPixel(deep, 0x00010203), 0xFF010203u);
}
