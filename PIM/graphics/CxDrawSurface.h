#pragma once
// The pixel buffer of every picture, glyph, movie frame and the screen's back
// buffer: 1, 2, 4, 8, 16, 24 or 32 bits per pixel in one of ten layouts, with
// a palette, a transparent colour and a name. Its bits are a cached object:
// they may go to a swap file while the surface is unlocked and come back on
// the next lock.
//
// Every operation leaves and returns the surface's error code; a surface with
// an error refuses to draw and to be drawn onto until the caller clears it.
// Rectangles are inclusive and clipped to the surface.
//
// A surface drawn with a colour key keeps the opaque runs of its pixels
// (CxKeySpans) and draws from them while its pixels stay as they were. So
// every way of writing pixels counts as a change: LockBits (whoever takes the
// bits may write them; LockBitsToRead is for those who only read), every
// operation here that writes, the raw setters, new bits, a palette or colour
// table. Runs are used only while nobody else holds the bits locked, and
// never for external bits, which their owner may write at any time.

#include "PIM/core/CxError.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/CxString.h"
#include "PIM/files/CxCachedObject.h"
#include "PIM/graphics/CxKeySpans.h"
#include "PIM/graphics/CxRenderTarget.h"
#include "PIM/graphics/CxSurfaceBase.h"
#include "PIM/graphics/PimDrawParams.h"
#include "PIM/graphics/PimPixelFormat.h"

// Flag bits.
enum : uint32_t
{
    PIM_SURFACE_CREATED = 0x80000000u,
    PIM_SURFACE_EXTERNAL_BITS = 0x40000000u,
    PIM_SURFACE_USER_FLAGS = 0x3FFFFFFFu,
};

constexpr int PIM_MAX_COLOUR_TABLE = 4096;

class CxDrawSurface : public CxSurfaceBase, public CxRenderTarget, public CxError, public CxCachedObject
{
public:
    CxDrawSurface();
    ~CxDrawSurface() override;
    CxDrawSurface(const CxDrawSurface&) = delete;
    CxDrawSurface& operator=(const CxDrawSurface&) = delete;

    // --- CxSurfaceBase / CxRenderTarget ------------------------------------------------
    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    CxDrawSurface* AsDrawSurface() override { return this; }
    int DrawSurface(CxSurfaceBase* source, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                    const ST_DRAW_PARAMS* params) override;
    int DrawSurface(CxSurfaceBase* source, const CxRect* destinationRect, const CxRect* sourceRect, uint32_t key,
                    const ST_DRAW_PARAMS* params) override;
    int LockTarget() override { return LockBits() ? 0 : m_error; }
    void UnlockTarget() override { UnlockBits(); }
    int32_t GetTargetWidth() const override { return m_width; }
    int32_t GetTargetHeight() const override { return m_height; }
    uint32_t MakeColour(uint8_t red, uint8_t green, uint8_t blue) const override;
    using CxRenderTarget::DrawLine;
    // See the line rules in the .cpp: horizontal spans leave out their far end.
    int DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) override;
    int FillRect(const CxRect& rect, uint32_t colour) override;
    int BlendLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, float opacity) override;

    // --- life ---------------------------------------------------------------------------------
    // CreateCopy of the source (nothing when it is this surface); returns this.
    virtual CxDrawSurface& Assign(const CxDrawSurface& source);
    virtual int CreateCopy(const CxDrawSurface& source);
    // Validates everything (depth in the allowed set, sizes >= 0, pitch at
    // least a row, pitch x height without overflow, layout <= 9): else 16.
    // pitch -1: the pitch rule. bits: external bits (never freed) or null.
    virtual int Create(int32_t width, int32_t height, int depth, int32_t pitch = -1, uint8_t* bits = nullptr,
                       uint8_t layout = PIM_LAYOUT_DEFAULT);
    virtual void Destroy();
    // A new surface (through the factory) holding the rectangle (null: all).
    virtual CxDrawSurface* CreateSurface(const CxRect* rect);
    // Through the image filter registry.
    virtual int Load(const char* fileName, int argument = 0);
    virtual int Save(const char* fileName, int argument = 0);

    // --- bits and geometry ------------------------------------------------------------------
    uint8_t* GetBits() const { return static_cast<uint8_t*>(m_bits); }
    uint8_t* GetPixelAddress(CxPoint p) const { return GetRawPixelAddress(p.x, p.y); }
    uint8_t* GetPixelAddress(int32_t x, int32_t y) const { return GetRawPixelAddress(x, y); }
    // No bounds check.
    uint8_t* GetRawPixelAddress(int32_t x, int32_t y) const
    {
        return GetBits() + static_cast<ptrdiff_t>(y) * m_pitch + static_cast<ptrdiff_t>(x) * m_depth / 8;
    }
    size_t GetBitsSize() const { return m_bitsSize; }
    CxSize GetSize() const { return CxSize(m_width, m_height); }
    CxRect GetRect() const { return CxRect(0, 0, m_width - 1, m_height - 1); }
    int GetDepth() const { return m_depth; }
    int32_t GetPitch() const { return m_pitch; }
    // The bits, present (allocated, or read back from the swap file) and held
    // in memory until UnlockBits; null when they cannot be had (error set).
    // Counts as a change of the pixels.
    uint8_t* LockBits();
    // The same for a caller that only reads them (hit tests, savers): the
    // pixels count as unchanged.
    const uint8_t* LockBitsToRead() { return LockBitsAsIs(); }
    void UnlockBits();
    // Says that the pixels changed, for code that writes them through a
    // pointer it kept from an earlier lock.
    void MarkPixelsChanged() { ++m_pixelsVersion; }
    // Moves on with every change of the pixels (wraps).
    uint32_t GetPixelsVersion() const { return m_pixelsVersion; }
    // The opaque runs of the last keyed draw (tests and measurements).
    const CxKeySpans& GetKeySpans() const { return m_spans; }

    // --- formats ----------------------------------------------------------------------------
    virtual int ConvertFormat(int depth, uint8_t layout);
    virtual int ConvertLayout16(uint8_t layout);
    virtual int ConvertToPreferredLayout();
    virtual int PackRows();
    int GetRedBits() const { return m_format.redBits; }
    int GetGreenBits() const { return m_format.greenBits; }
    int GetBlueBits() const { return m_format.blueBits; }
    int GetAlphaBits() const { return m_format.alphaBits; }
    // The format record the pixel functions take (palette and table included).
    const ST_PIXEL_FORMAT& GetFormat() const { return m_format; }

    // --- drawing this surface somewhere -----------------------------------------------------
    virtual int DrawAt(CxRenderTarget& target, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                       const ST_DRAW_PARAMS* params);
    virtual int DrawOnto(CxRenderTarget& target, const CxRect* destinationRect, const CxRect* sourceRect,
                         uint32_t key, const ST_DRAW_PARAMS* params);
    virtual int BlitAt(CxDrawSurface& destination, int32_t x, int32_t y, const CxRect* sourceRect, uint32_t key,
                       const ST_DRAW_PARAMS* params);
    virtual int Blit(CxDrawSurface& destination, const CxRect* destinationRect, const CxRect* sourceRect,
                     uint32_t key, const ST_DRAW_PARAMS* params);
    // pitch x height bytes, no conversion; 16 when the sizes differ.
    virtual int CopyBitsTo(CxDrawSurface& destination);

    // --- effects ------------------------------------------------------------------------------
    virtual int Blur(int passes, const CxRect* rect);
    virtual int Darken(int amount, const CxRect* rect);
    virtual int Brighten(int amount, const CxRect* rect);
    virtual int SetAlpha(int alpha, const CxRect* rect);
    virtual int ScaleAlpha(double factor, const CxRect* rect);
    virtual int Tint(uint32_t colour, int amount, const CxRect* rect);

    // --- pixels -------------------------------------------------------------------------------
    uint32_t GetPixel(CxPoint p) { return GetPixel(p.x, p.y); }
    // 0 outside the surface.
    virtual uint32_t GetPixel(int32_t x, int32_t y);
    virtual uint8_t GetRed(int32_t x, int32_t y);
    virtual uint8_t GetGreen(int32_t x, int32_t y);
    virtual uint8_t GetBlue(int32_t x, int32_t y);
    // Ignored outside the surface.
    virtual void SetPixel(int32_t x, int32_t y, uint32_t value);
    void SetPixel(CxPoint p, uint32_t value) { SetPixel(p.x, p.y, value); }
    int DrawCircle(CxPoint centre, int radius, uint32_t colour) { return DrawCircle(centre.x, centre.y, radius, colour); }
    virtual int DrawCircle(int32_t x, int32_t y, int radius, uint32_t colour);
    int FillCircle(CxPoint centre, int radius, uint32_t colour) { return FillCircle(centre.x, centre.y, radius, colour); }
    virtual int FillCircle(int32_t x, int32_t y, int radius, uint32_t colour);
    virtual int DrawRect(const CxRect& rect, uint32_t colour);
    virtual int FloodFill(int32_t x, int32_t y, uint32_t value);
    virtual int ReplaceColour(uint32_t from, uint32_t to);
    virtual int SwapColours(uint32_t a, uint32_t b);
    virtual int FlipHorizontal(const CxRect* rect);
    virtual int FlipVertical(const CxRect* rect);
    virtual int Rotate(int degrees);
    virtual int ScrollHorizontal(int32_t pixels);
    int ScrollHorizontalBack(int32_t pixels) { return ScrollHorizontal(-pixels); }
    virtual int ScrollVertical(int32_t rows, int noOp = 0);
    int ScrollVerticalBack(int32_t rows, int noOp = 0) { return ScrollVertical(-rows, noOp); }

    // --- attributes -------------------------------------------------------------------------
    void SetUserFlags(uint32_t value) { m_flags = (m_flags & ~PIM_SURFACE_USER_FLAGS) | (value & PIM_SURFACE_USER_FLAGS); }
    uint32_t GetUserFlags() const { return m_flags & PIM_SURFACE_USER_FLAGS; }
    bool HasUserFlags(uint32_t mask) const { return (GetUserFlags() & mask) == mask; }
    bool IsCreated() const { return (m_flags & PIM_SURFACE_CREATED) != 0; }
    void SetUserValue(uint32_t value) { m_userValue = value; }
    uint32_t GetUserValue() const { return m_userValue; }
    void SetTransparentColour(uint32_t colour) { m_transparent = colour; }
    uint32_t GetTransparentColour() const { return m_transparent; }
    // 16 for a code beyond 9 (nothing changes).
    int SetPixelLayout(uint8_t layout);
    uint8_t GetPixelLayout() const { return m_format.layout; }
    void SetExternalBits(bool external);
    bool HasExternalBits() const { return (m_flags & PIM_SURFACE_EXTERNAL_BITS) != 0; }
    void SetName(const char* name) { m_name = name; }
    void GetName(CxString& out) const { out = m_name; }
    const char* GetNameText() const { return m_name.GetText(); }
    // Raw setters for screen drivers and loaders.
    void SetPitch(int32_t pitch) { m_pitch = pitch; MarkPixelsChanged(); }
    void SetDepth(int depth) { m_depth = depth; m_format.depth = depth; MarkPixelsChanged(); }
    void SetWidth(int32_t width) { m_width = width; MarkPixelsChanged(); }
    void SetHeight(int32_t height) { m_height = height; MarkPixelsChanged(); }
    void SetBits(uint8_t* bits) { m_bits = bits; MarkPixelsChanged(); }

    // --- palette and colour table ---------------------------------------------------------
    // At most 768 bytes are taken; frees the palette lookup.
    void SetPalette(const uint8_t* bytes, size_t length);
    void SetPalette(const uint8_t* bytes) { SetPalette(bytes, 768); }
    const uint8_t* GetPalette() const { return reinterpret_cast<const uint8_t*>(m_palette); }
    const ST_RGB* GetPaletteEntries() const { return m_palette; }
    virtual int RemapToPalette(const uint8_t* palette);
    // Fills `out` (768 bytes) with up to `colours` entries for this surface's
    // pixels (the palette builder of the images code).
    virtual int BuildPalette(uint8_t* out, bool fromDefault, int colours);
    void SplitPixel(uint32_t value, uint8_t* alpha, uint8_t* red, uint8_t* green, uint8_t* blue) const;
    uint32_t PaletteIndexToPixel(int index) const;
    int BuildPaletteLookup(uint8_t layout);
    void FreePaletteLookup();
    // The lookup for this layout, built when missing (null when it cannot be).
    const uint16_t* GetPaletteLookup(uint8_t layout);
    // Takes ownership of a table of `count` 16-bit colours (at most 4096).
    int SetColourTable(uint16_t* table, int count);
    const uint16_t* GetColourTable() const { return m_colourTable; }
    uint16_t* GetColourTable() { return m_colourTable; }
    int GetColourTableCount() const { return m_colourTableCount; }

    // --- statistics ---------------------------------------------------------------------------
    virtual int CountColours();
    virtual int CountPixelsOfValue(uint32_t value);
    // From (x, y) (negative starts are 0) row by row to the end: 1 and the
    // position of the first pixel equal to the value, else 0.
    virtual int FindPixel(uint32_t value, int32_t& x, int32_t& y);

protected:
    void SyncFormat();

    CxString m_name;
    uint16_t* m_colourTable = nullptr;
    int m_colourTableCount = 0;
    ST_RGB m_palette[256];
    uint16_t* m_paletteLookup = nullptr;
    uint8_t m_lookupLayout = 0;
    // void*, as the memory cache holds it: it may free it to a swap file
    // while the surface is unlocked and put it back on the next lock.
    void* m_bits = nullptr;
    size_t m_bitsSize = 0;
    uint32_t m_userValue = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int m_depth = 0;
    int32_t m_pitch = 0;
    uint32_t m_transparent = PIM_NO_KEY;
    uint32_t m_flags = 0;
    ST_PIXEL_FORMAT m_format;
    int m_lockDepth = 0;
    uint32_t m_pixelsVersion = 0;
    CxKeySpans m_spans;

private:
    // The bits for the length of one operation: locked on construction,
    // unlocked on the way out whatever path the operation takes. Operations
    // that only read pass `reading`, so that the pixels count as unchanged.
    class ScopedBits
    {
    public:
        explicit ScopedBits(CxDrawSurface& surface, bool reading = false)
            : m_surface(surface), m_block(reading ? surface.LockBitsAsIs() : surface.LockBits())
        {
        }
        ~ScopedBits()
        {
            if (m_block)
                m_surface.UnlockBits();
        }
        ScopedBits(const ScopedBits&) = delete;
        ScopedBits& operator=(const ScopedBits&) = delete;
        uint8_t* Get() const { return m_block; }
        explicit operator bool() const { return m_block != nullptr; }

    private:
        CxDrawSurface& m_surface;
        uint8_t* m_block;
    };

    // LockBits without counting a change.
    uint8_t* LockBitsAsIs();
    // Draws an equal-size keyed copy from the opaque runs when the case is
    // one they draw exactly and they are (or can now be made) current:
    // false, having drawn nothing, otherwise.
    bool DrawFromSpans(CxDrawSurface& destination, uint8_t* sourceBits, uint8_t* destinationBits,
                       const CxRect& destinationRect, const CxRect& sourceRect, uint32_t key);
    // The rectangle (null: the whole surface) clipped to the surface.
    CxRect ClipToSurface(const CxRect* rect) const;
    // Frees owned bits or forgets external ones. `restoreSwapped` brings
    // swapped-out bits back first so that their swap file is used up rather
    // than read into the next bits this surface gets.
    void ReleaseBits(bool restoreSwapped);
    void FreeColourTable();
    int RotateQuarter();
    int SwapOrReplace(uint32_t a, uint32_t b, bool both);
};
