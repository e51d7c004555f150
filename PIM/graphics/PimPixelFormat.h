#pragma once
// Pixel layouts, palettes and the conversion of single pixels: the rules every
// surface operation shares. Pure functions on plain data, so that the general
// blit routine, the fast routines and the effects agree by construction.

#include "PIM/core/PimDefs.h"

// Pixel layout codes.
enum : uint8_t
{
    PIM_LAYOUT_DEFAULT = 0,
    PIM_LAYOUT_555 = 1,
    PIM_LAYOUT_565 = 2,
    PIM_LAYOUT_556 = 3,
    PIM_LAYOUT_655 = 4,
    PIM_LAYOUT_ARGB = 5, // 24 and 32 bits
    PIM_LAYOUT_4444 = 6,
    PIM_LAYOUT_INDEXED = 7, // 1..8 bits: a palette index
    PIM_LAYOUT_BGR555 = 8,  // 5-5-5 with red in the low bits
    PIM_LAYOUT_TABLE = 9,   // 4-bit alpha over a 12-bit colour-table index
    PIM_LAYOUT_LAST = 9,
};

// No transparent colour.
constexpr uint32_t PIM_NO_KEY = 0xFFFFFFFFu;

struct ST_RGB
{
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// A pixel split into 8-bit channels.
struct ST_ARGB
{
    uint8_t alpha;
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    constexpr bool operator==(const ST_ARGB&) const = default;
};

// What a pixel value means: depth, layout and the channel widths.
struct ST_PIXEL_FORMAT
{
    int depth = 0;
    uint8_t layout = 0;
    uint8_t alphaBits = 0;
    uint8_t redBits = 0;
    uint8_t greenBits = 0;
    uint8_t blueBits = 0;
    // Paletted depths and layout 9 need these (not owned).
    const ST_RGB* palette = nullptr;      // 256 entries
    const uint16_t* colourTable = nullptr; // layout 9
    int colourTableCount = 0;
};

// Inline: every blit asks it of both sides.
inline bool IsValidDepth(int depth)
{
    return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 || depth == 24 || depth == 32;
}
bool IsValidLayout(int layout);

// The layout a code means at a depth (0 chooses the default: 7 for depths 1..8,
// the preferred 16-bit layout or 1 at 16, 5 at 24 and 32).
uint8_t ResolveLayout(uint8_t layout, int depth);
// Fills the channel widths of `format` from its layout and depth.
void SetChannelWidths(ST_PIXEL_FORMAT& format);

// The process-wide preferred 16-bit layout (0 until a screen driver sets it).
uint8_t GetPreferredLayout16();
void SetPreferredLayout16(uint8_t layout);

// The default palette: a grey ramp with the twenty system colours at 0..9 and
// 246..255. The grey ramp: entry i = (i, i, i).
const ST_RGB* DefaultPalette();
const ST_RGB* GreyPalette();

// Nearest entry by squared distance over red, green, blue; the running best
// starts at 0x30000 and only a strictly smaller distance replaces it, so the
// lowest index wins ties and 0 is the answer when nothing is closer.
int NearestPaletteIndex(const ST_RGB* palette, int count, uint8_t red, uint8_t green, uint8_t blue);
// Nearest colour-table entry (layout 9): distance on 5-bit components.
int NearestTableIndex(const uint16_t* table, int count, uint8_t red, uint8_t green, uint8_t blue);

// A 16-bit colour-table entry as 8-bit channels. Tables are built and
// stored in layout 1 and follow the screen: in layout 2 when the preferred
// layout is 565, in layout 8 when it is blue-high 5-5-5.
ST_ARGB SplitTableColour(uint16_t entry);
// A layout-1 table entry in the form tables take under `preferred`.
uint16_t TableEntryForLayout(uint16_t entry, uint8_t preferred);

// Pixel value <-> channels. Widening a channel of n bits shifts it left by
// 8 - n (no bit replication); narrowing shifts right. Depths without alpha
// give alpha 255. Layout-9 pixels beyond the table, or with no table, are
// fully transparent (alpha 0, black). 24-bit values here follow the
// "GetPixel" convention: first byte in memory is the most significant.
ST_ARGB SplitPixel(const ST_PIXEL_FORMAT& format, uint32_t value);
uint32_t PackPixel(const ST_PIXEL_FORMAT& format, ST_ARGB colour);

// Raw pixel access in a row; `x` in pixels. 24-bit values: first byte highest.
uint32_t ReadPixel(const uint8_t* row, int x, int depth);
void WritePixel(uint8_t* row, int x, int depth, uint32_t value);

// The 24-bit colour-key convention of drawing: the first byte in memory is
// the least significant (red x 65536 + green x 256 + blue for B, G, R bytes).
uint32_t Read24AsKey(const uint8_t* pixel);

// The pitch rule: floor(width x depth / 8), plus one byte below 8 bits when
// the width is not a multiple of 8. False on overflow.
bool PitchFor(int32_t width, int depth, int32_t& pitch);

// Each 8-bit component shifted to its channel width and packed; blue highest
// for layout 8, red highest otherwise; 0 for paletted depths.
uint32_t MakeColour(const ST_PIXEL_FORMAT& format, uint8_t red, uint8_t green, uint8_t blue);
