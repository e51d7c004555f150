#include "PIM/graphics/PimPixelFormat.h"

#include <climits>

namespace {

uint8_t g_preferredLayout16 = 0;

struct PaletteTables
{
    ST_RGB defaults[256];
    ST_RGB greys[256];
};

const PaletteTables& Palettes()
{
    static const PaletteTables tables = [] {
        PaletteTables t{};
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<uint8_t>(i);
            t.defaults[i] = {v, v, v};
            t.greys[i] = {v, v, v};
        }
        // The twenty colours every system palette reserves.
        const struct
        {
            int index;
            ST_RGB colour;
        } system[] = {
            {0, {0, 0, 0}},         {1, {128, 0, 0}},       {2, {0, 128, 0}},       {3, {128, 128, 0}},
            {4, {0, 0, 128}},       {5, {128, 0, 128}},     {6, {0, 128, 128}},     {7, {192, 192, 192}},
            {8, {192, 220, 192}},   {9, {166, 202, 240}},   {246, {255, 251, 240}}, {247, {160, 160, 164}},
            {248, {128, 128, 128}}, {249, {255, 0, 0}},     {250, {0, 255, 0}},     {251, {255, 255, 0}},
            {252, {0, 0, 255}},     {253, {255, 0, 255}},   {254, {0, 255, 255}},   {255, {255, 255, 255}},
        };
        for (const auto& s : system)
            t.defaults[s.index] = s.colour;
        return t;
    }();
    return tables;
}

inline uint8_t Widen(uint32_t value, int bits)
{
    return bits <= 0 ? 0 : static_cast<uint8_t>((value & ((1u << bits) - 1)) << (8 - bits));
}

inline uint32_t Narrow(uint8_t value, int bits)
{
    return bits <= 0 ? 0 : static_cast<uint32_t>(value) >> (8 - bits);
}

} // namespace

bool IsValidLayout(int layout)
{
    return layout >= 0 && layout <= PIM_LAYOUT_LAST;
}

uint8_t GetPreferredLayout16()
{
    return g_preferredLayout16;
}

void SetPreferredLayout16(uint8_t layout)
{
    g_preferredLayout16 = layout;
}

uint8_t ResolveLayout(uint8_t layout, int depth)
{
    if (layout != PIM_LAYOUT_DEFAULT)
        return layout;
    if (depth <= 8)
        return PIM_LAYOUT_INDEXED;
    if (depth == 16)
        return g_preferredLayout16 ? g_preferredLayout16 : static_cast<uint8_t>(PIM_LAYOUT_555);
    return PIM_LAYOUT_ARGB;
}

void SetChannelWidths(ST_PIXEL_FORMAT& f)
{
    f.alphaBits = f.redBits = f.greenBits = f.blueBits = 0;
    switch (f.layout) {
    case PIM_LAYOUT_555:
    case PIM_LAYOUT_BGR555:
        f.redBits = f.greenBits = f.blueBits = 5;
        break;
    case PIM_LAYOUT_565:
        f.redBits = f.blueBits = 5;
        f.greenBits = 6;
        break;
    case PIM_LAYOUT_556:
        f.redBits = f.greenBits = 5;
        f.blueBits = 6;
        break;
    case PIM_LAYOUT_655:
        f.redBits = 6;
        f.greenBits = f.blueBits = 5;
        break;
    case PIM_LAYOUT_ARGB:
        f.alphaBits = f.depth == 32 ? 8 : 0;
        f.redBits = f.greenBits = f.blueBits = 8;
        break;
    case PIM_LAYOUT_4444:
        f.alphaBits = f.redBits = f.greenBits = f.blueBits = 4;
        break;
    case PIM_LAYOUT_TABLE:
        f.alphaBits = 4;
        f.redBits = f.blueBits = 5;
        f.greenBits = g_preferredLayout16 == PIM_LAYOUT_565 ? 6 : 5;
        break;
    default:
        break;
    }
}

const ST_RGB* DefaultPalette()
{
    return Palettes().defaults;
}

const ST_RGB* GreyPalette()
{
    return Palettes().greys;
}

int NearestPaletteIndex(const ST_RGB* palette, int count, uint8_t red, uint8_t green, uint8_t blue)
{
    if (!palette)
        return 0;
    int best = 0;
    int bestDistance = 0x30000;
    for (int i = 0; i < count && i < 256; ++i) {
        int dr = palette[i].red - red, dg = palette[i].green - green, db = palette[i].blue - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return best;
}

ST_ARGB SplitTableColour(uint16_t entry)
{
    if (g_preferredLayout16 == PIM_LAYOUT_565)
        return {255, Widen(entry >> 11, 5), Widen(entry >> 5, 6), Widen(entry, 5)};
    if (g_preferredLayout16 == PIM_LAYOUT_BGR555)
        return {255, Widen(entry, 5), Widen(entry >> 5, 5), Widen(entry >> 10, 5)};
    return {255, Widen(entry >> 10, 5), Widen(entry >> 5, 5), Widen(entry, 5)};
}

uint16_t TableEntryForLayout(uint16_t entry, uint8_t preferred)
{
    if (preferred == PIM_LAYOUT_565) // red and green move up a bit, green gains one
        return static_cast<uint16_t>(((entry >> 5) << 6) | (entry & 31));
    if (preferred == PIM_LAYOUT_BGR555) // red and blue change places
        return static_cast<uint16_t>((entry & 0x83E0) | ((entry & 31) << 10) | ((entry >> 10) & 31));
    return entry;
}

int NearestTableIndex(const uint16_t* table, int count, uint8_t red, uint8_t green, uint8_t blue)
{
    if (!table || count <= 0)
        return 0;
    const int r5 = red >> 3, g5 = green >> 3, b5 = blue >> 3;
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < count; ++i) {
        ST_ARGB c = SplitTableColour(table[i]);
        int dr = (c.red >> 3) - r5, dg = (c.green >> 3) - g5, db = (c.blue >> 3) - b5;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
            if (distance == 0)
                break;
        }
    }
    return best;
}

ST_ARGB SplitPixel(const ST_PIXEL_FORMAT& f, uint32_t value)
{
    if (f.depth <= 8) {
        const ST_RGB* palette = f.palette ? f.palette : DefaultPalette();
        const ST_RGB& c = palette[value & 0xFF];
        return {255, c.red, c.green, c.blue};
    }
    if (f.depth == 24)
        return {255, static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16)};
    if (f.depth == 32)
        return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
                static_cast<uint8_t>(value)};
    // 16 bits.
    switch (f.layout) {
    case PIM_LAYOUT_TABLE: {
        uint32_t index = value & 0x0FFF;
        if (!f.colourTable || index >= static_cast<uint32_t>(f.colourTableCount))
            return {0, 0, 0, 0}; // beyond the table: nothing to draw
        ST_ARGB c = SplitTableColour(f.colourTable[index]);
        c.alpha = Widen(value >> 12, 4);
        return c;
    }
    case PIM_LAYOUT_BGR555:
        return {255, Widen(value, 5), Widen(value >> 5, 5), Widen(value >> 10, 5)};
    case PIM_LAYOUT_4444:
        return {Widen(value >> 12, 4), Widen(value >> 8, 4), Widen(value >> 4, 4), Widen(value, 4)};
    default: {
        const int b = f.blueBits, g = f.greenBits, r = f.redBits;
        return {255, Widen(value >> (g + b), r), Widen(value >> b, g), Widen(value, b)};
    }
    }
}

uint32_t PackPixel(const ST_PIXEL_FORMAT& f, ST_ARGB c)
{
    if (f.depth <= 8) {
        const ST_RGB* palette = f.palette ? f.palette : DefaultPalette();
        return static_cast<uint32_t>(NearestPaletteIndex(palette, 1 << f.depth, c.red, c.green, c.blue));
    }
    if (f.depth == 24)
        return (static_cast<uint32_t>(c.blue) << 16) | (static_cast<uint32_t>(c.green) << 8) | c.red;
    if (f.depth == 32)
        return (static_cast<uint32_t>(c.alpha) << 24) | (static_cast<uint32_t>(c.red) << 16) |
               (static_cast<uint32_t>(c.green) << 8) | c.blue;
    switch (f.layout) {
    case PIM_LAYOUT_TABLE: {
        if (c.alpha == 0)
            return 0;
        uint32_t index =
            static_cast<uint32_t>(NearestTableIndex(f.colourTable, f.colourTableCount, c.red, c.green, c.blue));
        return ((static_cast<uint32_t>(c.alpha) >> 4) << 12) | (index & 0x0FFF);
    }
    case PIM_LAYOUT_BGR555:
        return (Narrow(c.blue, 5) << 10) | (Narrow(c.green, 5) << 5) | Narrow(c.red, 5);
    case PIM_LAYOUT_4444:
        return (Narrow(c.alpha, 4) << 12) | (Narrow(c.red, 4) << 8) | (Narrow(c.green, 4) << 4) | Narrow(c.blue, 4);
    default: {
        const int b = f.blueBits, g = f.greenBits, r = f.redBits;
        return (Narrow(c.red, r) << (g + b)) | (Narrow(c.green, g) << b) | Narrow(c.blue, b);
    }
    }
}

uint32_t ReadPixel(const uint8_t* row, int x, int depth)
{
    switch (depth) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 2:
        return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    case 8:
        return row[x];
    case 16:
        return static_cast<uint32_t>(row[2 * x]) | (static_cast<uint32_t>(row[2 * x + 1]) << 8);
    case 24: {
        const uint8_t* p = row + 3 * x;
        return (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
    }
    case 32: {
        const uint8_t* p = row + 4 * x;
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
               (static_cast<uint32_t>(p[3]) << 24);
    }
    default:
        return 0;
    }
}

void WritePixel(uint8_t* row, int x, int depth, uint32_t value)
{
    switch (depth) {
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
        break;
    }
    case 2: {
        const int shift = 6 - 2 * (x & 3);
        row[x >> 2] = static_cast<uint8_t>((row[x >> 2] & ~(3u << shift)) | ((value & 3u) << shift));
        break;
    }
    case 4:
        if (x & 1)
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0xF0u) | (value & 0x0Fu));
        else
            row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & 0x0Fu) | ((value & 0x0Fu) << 4));
        break;
    case 8:
        row[x] = static_cast<uint8_t>(value);
        break;
    case 16:
        row[2 * x] = static_cast<uint8_t>(value);
        row[2 * x + 1] = static_cast<uint8_t>(value >> 8);
        break;
    case 24: {
        uint8_t* p = row + 3 * x;
        p[0] = static_cast<uint8_t>(value >> 16);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value);
        break;
    }
    case 32: {
        uint8_t* p = row + 4 * x;
        p[0] = static_cast<uint8_t>(value);
        p[1] = static_cast<uint8_t>(value >> 8);
        p[2] = static_cast<uint8_t>(value >> 16);
        p[3] = static_cast<uint8_t>(value >> 24);
        break;
    }
    default:
        break;
    }
}

uint32_t Read24AsKey(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

bool PitchFor(int32_t width, int depth, int32_t& pitch)
{
    if (width < 0 || !IsValidDepth(depth))
        return false;
    int64_t bits = int64_t{width} * depth;
    int64_t bytes = bits / 8;
    if (depth < 8 && (width % 8) != 0)
        ++bytes;
    if (bytes > INT32_MAX)
        return false;
    pitch = static_cast<int32_t>(bytes);
    return true;
}

uint32_t MakeColour(const ST_PIXEL_FORMAT& f, uint8_t red, uint8_t green, uint8_t blue)
{
    if (f.depth <= 8)
        return 0;
    const int r = f.redBits, g = f.greenBits, b = f.blueBits;
    if (f.layout == PIM_LAYOUT_BGR555)
        return (Narrow(blue, b) << (g + r)) | (Narrow(green, g) << r) | Narrow(red, r);
    return (Narrow(red, r) << (g + b)) | (Narrow(green, g) << b) | Narrow(blue, b);
}
