#pragma once
// A stand-in font for tests, benchmarks and fuzz targets: every glyph is a
// block `width` pixels wide and as tall as the size asked for, filled with
// the text colour (white for "the font's own"), so that text can be drawn,
// measured and counted without a font file.

#include "PIM/text/CxFont.h"

#include <cstring>

class BlockFont : public CxFont
{
public:
    explicit BlockFont(int width = 6) : m_width(width) {}
    int Load(const char*) override { return PIM_OK; }
    void Unload() override {}
    int DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t, uint32_t colour, int size, uint32_t,
                 uint32_t) override
    {
        const uint32_t rgb = colour == PIM_NO_COLOUR ? 0x00FFFFFF : colour;
        target.FillRect(CxRect(x, y, x + m_width - 1, y + ResolveSize(size) - 1), FontColourToPixel(target, rgb));
        return m_width;
    }
    int MeasureText(const char* text, int) override { return m_width * static_cast<int>(std::strlen(text)); }
    int MeasureChar(uint32_t, int) override { return m_width; }
    int GetNativeSize() override { return 12; }

private:
    int m_width;
};
