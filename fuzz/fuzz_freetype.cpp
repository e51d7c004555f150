// A font face loaded from arbitrary bytes through our loader, then used as
// the text engine uses one: measured, and a few characters drawn (grey and
// hard-edged, at two sizes) into small 16 and 32-bit surfaces, partly off
// their edges. FreeType parses the bytes; what is ours is that nothing it
// hands back (odd pitches, empty or huge bitmaps, a box without height,
// wild advances) makes us read or write out of bounds or hold memory
// without bound.
#include "PIM/core/CxError.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxFreeTypeFont.h"

#include <cstdlib>

namespace {

void Quiet(void*, int, const char*) {}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

const uint32_t kCodes[] = {'A', 'g', ' ', 0xE9, 0x20AC, 0xFFFD};

void DrawAll(CxFreeTypeFont& font, CxDrawSurface& target, int size, uint32_t flags)
{
    int32_t x = -3;
    for (uint32_t code : kCodes) {
        const int advance = font.DrawChar(target, x, -2, code, 0x00FFC080, size, PIM_NO_KEY, flags);
        Check(advance >= -0x7FFF && advance <= 0x7FFF);
        x += advance;
    }
    target.ClearError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&Quiet, nullptr});
    CxFreeTypeFont font;
    if (font.LoadFromMemory(data, size, "fuzz.ttf") != PIM_OK) {
        Check(!font.IsLoaded());
        return 0;
    }
    CxDrawSurface wide;
    CxDrawSurface deep;
    Check(wide.Create(48, 24, 16, -1, nullptr, PIM_LAYOUT_565) == PIM_OK);
    Check(deep.Create(48, 24, 32) == PIM_OK);
    font.GetLineHeight(0);
    font.MeasureText("Ag \xC3\xA9\xE2\x82\xAC\xFF", 0);
    DrawAll(font, wide, 0, 0);
    DrawAll(font, deep, 20, PIM_TEXT_ALPHA32);
    font.SetMonochrome(true);
    DrawAll(font, wide, 9, 0);
    Check(font.GetCachedGlyphCount() <= PIM_GLYPH_CACHE_SIZE);
    return 0;
}
