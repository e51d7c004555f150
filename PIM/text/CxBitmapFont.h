#pragma once
// A font cut from a picture strip. The strip's top row is a marker row: every
// pixel there with the colour of pixel (0, 0) starts a glyph, which runs to
// the column before the next marker (the last one to the right edge) over the
// strip's full height. Glyph i has code i. The built-in default font is one.

#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/text/CxFont.h"

// "TNOF" read as bytes.
constexpr uint32_t PIM_BITMAP_FONT_MAGIC = 0x464F4E54u;
constexpr uint32_t PIM_BITMAP_FONT_VERSION = 1;
constexpr uint32_t PIM_BITMAP_FONT_FLAGS = 38;
// Header flag: the glyph index is the code point itself.
constexpr uint32_t PIM_BITMAP_FONT_INDEXED = 0x20;

struct ST_BITMAP_FONT_HEADER
{
    uint32_t magic = PIM_BITMAP_FONT_MAGIC;
    uint32_t version = PIM_BITMAP_FONT_VERSION;
    uint32_t flags = PIM_BITMAP_FONT_FLAGS;
};

struct ST_BITMAP_GLYPH
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = -1;
    int32_t bottom = -1;
    int32_t reserved[2] = {};
    uint16_t code = 0;
};

class CxBitmapFont : public CxFont
{
public:
    CxBitmapFont() = default;
    ~CxBitmapFont() override;

    // Cuts a copy of `strip` into glyphs. 16 for a strip that is not
    // created or has no pixels, 1 when memory runs out.
    int Create(const CxDrawSurface& strip);
    // Loads the picture through the image registry, then cuts it.
    int Load(const char* fileName) override;
    void Unload() override;

    int DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t code, uint32_t colour, int size, uint32_t key,
                 uint32_t flags) override;
    int MeasureText(const char* text, int size) override;
    int MeasureChar(uint32_t code, int size) override;
    int GetNativeSize() override { return m_nativeSize; }
    int GetMaxCode() override { return m_glyphCount - 1; }

    const ST_BITMAP_FONT_HEADER& GetHeader() const { return m_header; }
    int GetGlyphCount() const { return m_glyphCount; }
    // Null past the table.
    const ST_BITMAP_GLYPH* GetGlyph(int index) const;
    // The colour key in the blit convention; PIM_NO_KEY when there is none.
    uint32_t GetTransparentColour() const { return m_transparent; }
    size_t GetStripBytes() const { return m_stripBytes; }
    CxDrawSurface& GetStrip() { return m_strip; }

private:
    // The glyph for a code, or null (traced once per code).
    const ST_BITMAP_GLYPH* FindGlyph(uint32_t code);
    void TraceMissing(uint32_t code);
    int ScaledWidth(const ST_BITMAP_GLYPH& glyph, int size) const;

    CxDrawSurface m_strip;
    ST_BITMAP_FONT_HEADER m_header;
    size_t m_stripBytes = 0;
    int m_nativeSize = 0;
    uint32_t m_transparent = PIM_NO_KEY;
    ST_BITMAP_GLYPH* m_glyphs = nullptr;
    int m_glyphCount = 0;
    // Codes already traced as missing. A text full of unknown characters
    // must neither flood the trace nor grow memory: past the limit one last
    // line says so and the rest go quiet.
    static constexpr int kTracedLimit = 64;
    uint32_t m_traced[kTracedLimit] = {};
    int m_tracedCount = 0;
};

// The ".PCX" font factory: a strip picture loaded through the image registry.
CxFont* CreatePcxStripFont(const char* fileName);
// Registers CreatePcxStripFont for ".PCX" in the font-filter registry.
int RegisterBitmapFontFilter();
// The built-in font's strip: 1152 x 12 pixels, 8 bits (what
// CreateDefaultFont cuts).
int BuildDefaultFontStrip(CxDrawSurface& strip);
