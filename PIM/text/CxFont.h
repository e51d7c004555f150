#pragma once
// A font: TrueType faces rendered by FreeType (CxFreeTypeFont) and fonts cut
// from a picture strip (CxBitmapFont, the built-in default font among them)
// behind one interface. Fonts live in a font list and are addressed by
// handle (-1 is the default font); a font-file filter registry maps file
// extensions to factories.
//
// Colours given to fonts are 0x00RRGGBB (-1 for the font's own colours) and
// are converted at the draw site: the target's MakeColour, or the nearest
// palette entry on a paletted target.

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/PimDefs.h"

class CxDrawSurface;
class CxFont;

// The default font's handle.
constexpr intptr_t PIM_DEFAULT_FONT = -1;
constexpr uint32_t PIM_NO_COLOUR = 0xFFFFFFFFu;
// DrawChar's key: the font's own transparent colour.
constexpr uint32_t PIM_FONT_OWN_KEY = 0xFFFFFFFEu;
// Text flags (DrawText and CxDrawText); other bits go to the font's DrawChar.
enum : uint32_t
{
    PIM_TEXT_RIGHT = 0x2,
    PIM_TEXT_CENTRE = 0x4,
    PIM_TEXT_BOTTOM = 0x10,
    PIM_TEXT_VCENTRE = 0x20,
    PIM_TEXT_SHADOW = 0x40,
    PIM_TEXT_WRAP = 0x80,
    PIM_TEXT_ALPHA32 = 0x10000000u, // grey glyphs blend into 32-bit targets too
};

constexpr int PIM_FONT_FILTER_COUNT = 10;
using PimFontFactory = CxFont* (*)(const char* fileName);

class CxFont : public CxError, public CxObject
{
public:
    CxFont() = default;
    ~CxFont() override = default;
    CxFont(const CxFont&) = delete;
    CxFont& operator=(const CxFont&) = delete;

    virtual int Load(const char* fileName) = 0;
    virtual void Unload() = 0;
    // Draws one code point with its top-left cell corner at (x, y); the
    // advance in pixels. `size` 0 is the font's native size.
    virtual int DrawChar(CxDrawSurface& target, int32_t x, int32_t y, uint32_t code, uint32_t colour, int size,
                         uint32_t key, uint32_t flags) = 0;
    // UTF-8 text; `size` 0 is the native size.
    virtual int MeasureText(const char* text, int size) = 0;
    virtual int MeasureChar(uint32_t code, int size) = 0;
    virtual int GetLineHeight(int size) { return size == 0 ? GetNativeSize() : size; }
    virtual int GetNativeSize() = 0;
    virtual int GetMaxCode() { return -1; }
    void SetSpacing(int32_t x, int32_t y) { m_spacing = CxSize(x, y); }
    CxSize GetSpacing() const { return m_spacing; }
    intptr_t GetHandle() const { return m_handle; }
    void SetHandle(intptr_t handle) { m_handle = handle; }

    // 0 becomes the native size: every entry point resolves it first.
    int ResolveSize(int size) { return size > 0 ? size : GetNativeSize(); }

protected:
    CxSize m_spacing;
    intptr_t m_handle = 0;
};

// 0x00RRGGBB as a pixel value of `target` for FillRect and SetPixel (the
// nearest palette entry on paletted targets, opaque where there is alpha).
uint32_t FontColourToPixel(const CxDrawSurface& target, uint32_t rgb);
// The same colour as a draw argument (modes 10 and 11), which takes 24-bit
// colours in the colour-key byte order.
uint32_t FontColourToDrawArgument(const CxDrawSurface& target, uint32_t rgb);

// --- the font-file filter registry ----------------------------------------------------------------
// 16 with "Extension MUST include the period as in '.ttf'" without the
// period; 16 with a message when all 10 entries are taken (never a silent
// success). An entry with the same extension (any case) is replaced.
int RegisterFontFilter(const char* extension, PimFontFactory factory);
// Frees the entries whose extension matches the wildcard pattern.
void UnregisterFontFilter(const char* pattern);
void ResetFontFilters();

// --- the font list ----------------------------------------------------------------------------------
// The first filter whose extension ends the name makes the font; it is
// registered and its handle stored. 16 "No Load function registered for
// '%s'"; 13 "No font file filter registered for '%s'".
int LoadFont(const char* fileName, intptr_t* handle);
// Takes ownership of `font` and registers it; its handle is returned.
intptr_t RegisterFont(CxFont* font);
// A bitmap font cut from a strip picture (the surface is copied); 1 "Could
// not allocate a new CxBitmapFont".
int CreateBitmapFont(CxDrawSurface& strip, intptr_t* handle);
// -1 for the default font; null when unknown.
CxFont* FindFont(intptr_t handle);
void DeleteFont(intptr_t handle);
// The built-in 8 x 12 font, registered as the default font (nothing
// happens when it already exists).
int CreateDefaultFont();
void DeleteDefaultFont();
// The default font, made on first use; null only when it cannot be made.
CxFont* GetDefaultFont();
// Any registered font may serve as the default (0: none).
intptr_t GetDefaultFontHandle();
void SetDefaultFontHandle(intptr_t handle);
// Deletes every font and the default font (tests, shut-down).
void DeleteAllFonts();
