// The strip-font cutter over arbitrary pictures: a small surface built from
// the bytes is cut into glyphs, which are then measured and drawn at several
// sizes, plain and as silhouettes, as the game would.
#include "PIM/core/PimTrace.h"
#include "PIM/text/CxBitmapFont.h"
#include "fuzz/FuzzPicture.h"

#include <cstring>

namespace {

constexpr int kDepths[] = {1, 4, 8, 16, 24, 32};

// The glyphs must tile the strip: no gaps, no overlaps, full height.
void CheckGlyphs(CxBitmapFont& font, const CxDrawSurface& strip)
{
    const int count = font.GetGlyphCount();
    fuzz::Check(count >= 1);
    int32_t next = 0;
    for (int i = 0; i < count; ++i) {
        const ST_BITMAP_GLYPH* glyph = font.GetGlyph(i);
        fuzz::Check(glyph && glyph->left == next && glyph->right >= glyph->left);
        fuzz::Check(glyph->top == 0 && glyph->bottom == strip.GetHeight() - 1 && glyph->code == i);
        next = glyph->right + 1;
    }
    fuzz::Check(next == strip.GetWidth());
    fuzz::Check(font.GetNativeSize() == strip.GetHeight());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    if (size < 4)
        return 0;
    const int depth = kDepths[data[0] % 6];
    const int32_t width = 1 + data[1] % 80;
    const int32_t height = 1 + data[2] % 24;
    const uint8_t options = data[3];
    data += 4;
    size -= 4;

    CxDrawSurface strip;
    fuzz::Check(strip.Create(width, height, depth) == PIM_OK);
    uint8_t* bits = strip.LockBits();
    fuzz::Check(bits != nullptr);
    const size_t bytes = strip.GetBitsSize();
    std::memcpy(bits, data, size < bytes ? size : bytes);
    strip.UnlockBits();
    if (options & 1)
        strip.SetTransparentColour(strip.GetPixel(width - 1, height - 1));

    CxBitmapFont font;
    if (font.Create(strip) != PIM_OK)
        return 0;
    CheckGlyphs(font, strip);

    CxDrawSurface screen, deep, paletted;
    fuzz::Check(screen.Create(48, 32, 16, -1, nullptr, PIM_LAYOUT_565) == PIM_OK);
    fuzz::Check(deep.Create(48, 32, 32) == PIM_OK);
    fuzz::Check(paletted.Create(48, 32, 8) == PIM_OK);
    const int sizes[] = {0, height * 2, 1, 3 + (options >> 4)};
    for (uint32_t code = 0; code <= static_cast<uint32_t>(font.GetGlyphCount()) && code < 12; ++code)
        for (int s : sizes) {
            const int advance = font.MeasureChar(code, s);
            fuzz::Check(advance >= 0);
            fuzz::Check(font.DrawChar(screen, -2 + static_cast<int32_t>(code), 3, code, PIM_NO_COLOUR, s,
                                      PIM_FONT_OWN_KEY, 0) == advance);
            font.DrawChar(deep, static_cast<int32_t>(code) * 3, -1, code, 0x00FF8000, s, PIM_FONT_OWN_KEY, 0);
            if (code % 4 == 0)
                font.DrawChar(paletted, 1, 1, code, (options & 2) ? 0x0000FF : PIM_NO_COLOUR, s, PIM_NO_KEY, 0);
        }
    return 0;
}
