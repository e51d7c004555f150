#pragma once
// A TrueType (or any FreeType-readable) font. The file's bytes stay in memory
// for the life of the face, since FreeType reads the face from them lazily.
// All FreeType fonts share one FreeType library whose memory comes from the
// engine allocator: the first face to open makes it, the last to close
// releases it.
//
// Rendered glyphs are cached per (code point, size), 128 of them; when the
// cache is full the glyph created first makes room, however recently it was
// drawn, so a hot glyph may be rendered again but the cache never thrashes
// on a lookup.

#include "PIM/files/CxBuffer.h"
#include "PIM/text/CxFont.h"

struct FT_FaceRec_;
struct FT_GlyphRec_;

constexpr int PIM_GLYPH_CACHE_SIZE = 128;
constexpr int PIM_FREETYPE_NATIVE_SIZE = 12;
// A larger file is refused before it is read: a game font is a few hundred
// kilobytes, and a hostile file must not make us hold gigabytes.
constexpr size_t PIM_MAX_FONT_FILE_SIZE = size_t{32} << 20;
// Sizes past this are drawn at this size.
constexpr int PIM_MAX_FONT_SIZE = 1024;

// One rendered glyph.
struct ST_GLYPH
{
    uint32_t code = 0;
    int size = 0;
    uint64_t tick = 0;               // creation order: the smallest is evicted first
    FT_GlyphRec_* glyph = nullptr;   // the rendered FreeType glyph (a bitmap glyph)
    CxDrawSurface* image = nullptr;  // its bits as a packed 1- or 8-bit surface; null when empty
    int32_t left = 0;                // left bearing in pixels
    int32_t top = 0;                 // top bearing (baseline to the top row) in pixels
    int32_t advance = 0;             // horizontal advance in whole pixels
    bool monochrome = false;
};

class CxFreeTypeFont : public CxFont
{
public:
    CxFreeTypeFont() = default;
    ~CxFreeTypeFont() override;

    // Through the file layer; 2 "Unable to load font: %s" when the file cannot
    // be read (or is too large), 2 "Unable to create font from buffer: %s"
    // when FreeType cannot open a face from its bytes.
    int Load(const char* fileName) override;
    // The same from bytes in memory (copied); `name` is for the messages.
    int LoadFromMemory(const uint8_t* data, size_t size, const char* name);
    void Unload() override;
    bool IsLoaded() const { return m_face != nullptr; }

    // The colour is 0x00RRGGBB (-1 is taken as black); the key is unused, since
    // glyphs carry their own coverage. PIM_TEXT_ALPHA32 lets grey glyphs blend
    // into 32-bit targets; without it they are drawn hard-edged there.
    int DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t code, uint32_t colour, int size, uint32_t key,
                 uint32_t flags) override;
    int MeasureText(const char* text, int size) override;
    int MeasureChar(uint32_t code, int size) override;
    // The size's metrics height in whole pixels.
    int GetLineHeight(int size) override;
    int GetNativeSize() override { return PIM_FREETYPE_NATIVE_SIZE; }

    // Glyphs rendered from now on are 1-bit (hard-edged) instead of 8-bit grey;
    // the cache is emptied when this changes.
    void SetMonochrome(bool monochrome);
    bool IsMonochrome() const { return m_monochrome; }

    // The cached glyph, rendered first when missing; null when the face
    // lacks it or FreeType fails: the font's error becomes 13 and "Unable to
    // load glyph for '%08lx'" is traced once per code (not a counted error).
    const ST_GLYPH* FindGlyph(uint32_t code, int size);
    bool IsGlyphCached(uint32_t code, int size) const;
    int GetCachedGlyphCount() const { return m_glyphCount; }
    void FlushGlyphCache();

    // How many faces hold the shared FreeType library (0: it does not exist).
    static int GetLibraryUsers();

private:
    // Sets the face's pixel size unless it is already set; false on failure.
    bool SelectSize(int size);
    // The pixel size a request stands for (0 is the native size).
    int PixelSize(int size);
    int RenderGlyph(uint32_t code, int size, ST_GLYPH& out);
    static void FreeGlyph(ST_GLYPH& entry);
    void NoteMissingGlyph(uint32_t code);

    CxBuffer m_fileData;
    FT_FaceRec_* m_face = nullptr;
    ST_GLYPH m_glyphs[PIM_GLYPH_CACHE_SIZE];
    int m_glyphCount = 0;
    uint64_t m_created = 0;
    int m_faceSize = 0;
    bool m_monochrome = false;
    // Codes already traced as missing (the first ones; later ones go untraced).
    static constexpr int kMissingCodes = 64;
    uint32_t m_missing[kMissingCodes] = {};
    int m_missingCount = 0;
};

// A FreeType font loaded from the file (null after reporting when it cannot be).
CxFont* CreateFreeTypeFont(const char* fileName);
// Registers ".ttf" with CreateFreeTypeFont in the font-file filter registry.
int RegisterFreeTypeFontFilter();
