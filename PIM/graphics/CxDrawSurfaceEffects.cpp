// Whole-surface and rectangle effects: flips, rotation, scrolling, colour and
// alpha adjustments, blur and colour replacement.
//
// Depths an effect has no meaning for are left alone without an error:
// Darken, Brighten, SetAlpha, ScaleAlpha and Tint leave paletted surfaces
// (and layout 9, whose pixels are table indices) unchanged, Blur works on
// 24-bit surfaces only, colour replacement needs whole-byte pixels. Flips
// and rotation work at every depth: a 24-bit or 1-bit sprite mirrors as
// well as any other.
#include "PIM/graphics/CxDrawSurface.h"

#include "PIM/core/CxMemory.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

// One bit field of a pixel and what each of its values becomes.
struct Field
{
    int shift = 0;
    int bits = 0;
    uint8_t table[256] = {};
};

// Where the channels of a 16, 24 or 32-bit pixel lie in the little-endian
// word LoadWord reads (24-bit pixels read as red x 65536 + green x 256 + blue).
struct Channels
{
    int alphaShift = 0, alphaBits = 0;
    int redShift = 0, redBits = 0;
    int greenShift = 0, greenBits = 0;
    int blueShift = 0, blueBits = 0;
};

// False for depths and layouts without colour channels to work on.
bool ChannelsOf(const ST_PIXEL_FORMAT& f, Channels& c)
{
    if (f.depth == 24 || f.depth == 32) {
        c.alphaShift = 24;
        c.alphaBits = f.depth == 32 ? 8 : 0;
        c.redShift = 16;
        c.greenShift = 8;
        c.blueShift = 0;
        c.redBits = c.greenBits = c.blueBits = 8;
        return true;
    }
    if (f.depth != 16 || f.layout == PIM_LAYOUT_TABLE || f.redBits == 0)
        return false;
    c.redBits = f.redBits;
    c.greenBits = f.greenBits;
    c.blueBits = f.blueBits;
    if (f.layout == PIM_LAYOUT_BGR555) {
        c.greenShift = f.redBits;
        c.blueShift = f.redBits + f.greenBits;
    } else {
        c.greenShift = f.blueBits;
        c.redShift = f.blueBits + f.greenBits;
    }
    c.alphaShift = f.redBits + f.greenBits + f.blueBits;
    c.alphaBits = f.alphaBits;
    return true;
}

// The alpha field: byte 3 at 32 bits; at 16 bits whatever lies above the
// colour bits (four bits for layouts 6 and 9, bit 15 for 5-5-5, nothing for
// the six-bit layouts). False when there is none.
bool AlphaFieldOf(const ST_PIXEL_FORMAT& f, int& shift, int& bits)
{
    if (f.depth == 32) {
        shift = 24;
        bits = 8;
        return true;
    }
    if (f.depth != 16)
        return false;
    shift = f.layout == PIM_LAYOUT_TABLE ? 12 : f.redBits + f.greenBits + f.blueBits;
    bits = 16 - shift;
    return bits > 0;
}

inline uint32_t LoadWord(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

inline void StoreWord(uint8_t* p, int bytes, uint32_t v)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Fills a field's table from a mapping of 8-bit values: each field value is
// widened to 8 bits, mapped, clamped and narrowed back.
template <class Map>
void FieldFrom8Bit(Field& field, int shift, int bits, Map map)
{
    field.shift = shift;
    field.bits = bits;
    for (uint32_t v = 0; v < (1u << bits); ++v) {
        const int mapped = std::clamp(map(static_cast<int>(v << (8 - bits))), 0, 255);
        field.table[v] = static_cast<uint8_t>(static_cast<uint32_t>(mapped) >> (8 - bits));
    }
}

inline uint32_t MapWord(uint32_t v, const Field* fields, int count)
{
    uint32_t out = v;
    for (int i = 0; i < count; ++i) {
        const uint32_t mask = (1u << fields[i].bits) - 1;
        out = (out & ~(mask << fields[i].shift)) |
              (static_cast<uint32_t>(fields[i].table[(v >> fields[i].shift) & mask]) << fields[i].shift);
    }
    return out;
}

// Rewrites the fields of every pixel of the area (16, 24 or 32 bits);
// bits outside the fields are kept. Large 16-bit areas go through a table of
// every word, which makes the per-pixel work one load.
void ApplyFields(CxDrawSurface& surface, const CxRect& area, const Field* fields, int count)
{
    if (area.IsEmpty() || count == 0)
        return;
    uint8_t* bits = surface.LockBits();
    if (!bits)
        return;
    const int bytes = surface.GetDepth() / 8;
    const int32_t pitch = surface.GetPitch();
    uint16_t* words = nullptr;
    if (bytes == 2 && area.Width() * area.Height() >= 32768) {
        words = static_cast<uint16_t*>(Allocate(65536 * sizeof(uint16_t), __FILE__, __LINE__, false));
        if (words)
            for (uint32_t v = 0; v < 65536; ++v)
                words[v] = static_cast<uint16_t>(MapWord(v, fields, count));
    }
    for (int32_t y = area.top; y <= area.bottom; ++y) {
        uint8_t* p = bits + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(area.left) * bytes;
        if (words) {
            for (int32_t x = area.left; x <= area.right; ++x, p += 2) {
                const uint16_t w = words[p[0] | (p[1] << 8)];
                p[0] = static_cast<uint8_t>(w);
                p[1] = static_cast<uint8_t>(w >> 8);
            }
        } else {
            for (int32_t x = area.left; x <= area.right; ++x, p += bytes)
                StoreWord(p, bytes, MapWord(LoadWord(p, bytes), fields, count));
        }
    }
    Free(words);
    surface.UnlockBits();
}

// Darken and Brighten: the three colour channels through one 8-bit mapping.
template <class Map>
void MapColourChannels(CxDrawSurface& surface, const CxRect& area, Map map)
{
    Channels c;
    if (!ChannelsOf(surface.GetFormat(), c))
        return;
    Field fields[3];
    FieldFrom8Bit(fields[0], c.redShift, c.redBits, map);
    FieldFrom8Bit(fields[1], c.greenShift, c.greenBits, map);
    FieldFrom8Bit(fields[2], c.blueShift, c.blueBits, map);
    ApplyFields(surface, area, fields, 3);
}

// The weights of the blur, rows top to bottom (they add up to 1003).
constexpr int kBlurWeights[7][7] = {
    {0, 0, 1, 2, 1, 0, 0},        {0, 3, 13, 22, 13, 3, 0},   {1, 13, 59, 97, 59, 13, 1},
    {2, 22, 97, 159, 97, 22, 2},  {1, 13, 59, 97, 59, 13, 1}, {0, 3, 13, 22, 13, 3, 0},
    {0, 0, 1, 2, 1, 0, 0},
};

} // namespace

// --- colour and alpha --------------------------------------------------------------------------

int CxDrawSurface::Darken(int amount, const CxRect* rect)
{
    if (m_error)
        return m_error;
    const double factor = (amount & 255) / 255.0;
    MapColourChannels(*this, ClipToSurface(rect), [factor](int c) { return static_cast<int>(c * factor); });
    return m_error;
}

int CxDrawSurface::Brighten(int amount, const CxRect* rect)
{
    if (m_error)
        return m_error;
    const double factor = 1.0 + std::clamp(amount, 0, 255) / 255.0;
    MapColourChannels(*this, ClipToSurface(rect), [factor](int c) { return static_cast<int>(c * factor); });
    return m_error;
}

int CxDrawSurface::Tint(uint32_t colour, int amount, const CxRect* rect)
{
    Channels c;
    if (m_error || m_depth != 16 || !ChannelsOf(m_format, c))
        return m_error;
    amount = std::clamp(amount, 0, 255);
    // Each field moves toward the colour's field, in the field's own width.
    Field fields[3];
    const int shifts[3] = {c.redShift, c.greenShift, c.blueShift};
    const int widths[3] = {c.redBits, c.greenBits, c.blueBits};
    for (int i = 0; i < 3; ++i) {
        fields[i].shift = shifts[i];
        fields[i].bits = widths[i];
        const int target = static_cast<int>((colour >> shifts[i]) & ((1u << widths[i]) - 1));
        for (int v = 0; v < (1 << widths[i]); ++v)
            fields[i].table[v] = static_cast<uint8_t>(v + (target - v) * amount / 255);
    }
    ApplyFields(*this, ClipToSurface(rect), fields, 3);
    return m_error;
}

int CxDrawSurface::SetAlpha(int alpha, const CxRect* rect)
{
    Field field;
    if (m_error || !AlphaFieldOf(m_format, field.shift, field.bits))
        return m_error;
    const auto value = static_cast<uint8_t>(static_cast<uint32_t>(std::clamp(alpha, 0, 255)) >> (8 - field.bits));
    std::fill(std::begin(field.table), std::end(field.table), value);
    ApplyFields(*this, ClipToSurface(rect), &field, 1);
    return m_error;
}

int CxDrawSurface::ScaleAlpha(double factor, const CxRect* rect)
{
    Field field;
    int shift = 0, bits = 0;
    if (m_error || !AlphaFieldOf(m_format, shift, bits))
        return m_error;
    FieldFrom8Bit(field, shift, bits, [factor](int a) {
        const double scaled = a * factor;
        return scaled > 0.0 ? static_cast<int>(std::min(scaled, 255.0)) : 0; // NaN gives 0
    });
    ApplyFields(*this, ClipToSurface(rect), &field, 1);
    return m_error;
}

int CxDrawSurface::Blur(int passes, const CxRect* rect)
{
    if (m_error || m_depth != 24 || passes <= 0)
        return m_error;
    const CxRect clipped = ClipToSurface(rect);
    if (clipped.IsEmpty())
        return m_error;
    // Every neighbourhood must lie inside the rectangle.
    const CxRect area(clipped.left + 3, clipped.top + 3, clipped.right - 3, clipped.bottom - 3);
    if (area.IsEmpty())
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    // In place: pixels already blurred in this pass feed the later ones.
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t y = area.top; y <= area.bottom; ++y) {
            for (int32_t x = area.left; x <= area.right; ++x) {
                int sums[3] = {0, 0, 0};
                for (int j = 0; j < 7; ++j) {
                    const uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y + j - 3) * m_pitch;
                    for (int i = 0; i < 7; ++i) {
                        const int w = kBlurWeights[j][i];
                        const uint8_t* p = row + static_cast<ptrdiff_t>(x + i - 3) * 3;
                        sums[0] += w * p[0];
                        sums[1] += w * p[1];
                        sums[2] += w * p[2];
                    }
                }
                uint8_t* p = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch + static_cast<ptrdiff_t>(x) * 3;
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>(std::min(sums[c] / 1000, 255));
            }
        }
    }
    return m_error;
}

// --- colour replacement ------------------------------------------------------------------------

int CxDrawSurface::ReplaceColour(uint32_t from, uint32_t to)
{
    return SwapOrReplace(from, to, false);
}

int CxDrawSurface::SwapColours(uint32_t a, uint32_t b)
{
    return SwapOrReplace(a, b, true);
}

int CxDrawSurface::SwapOrReplace(uint32_t a, uint32_t b, bool both)
{
    if (m_error || m_depth < 8 || a == b)
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    for (int32_t y = 0; y < m_height; ++y) {
        uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
        for (int32_t x = 0; x < m_width; ++x) {
            const uint32_t v = ReadPixel(row, x, m_depth);
            if (v == a)
                WritePixel(row, x, m_depth, b);
            else if (both && v == b)
                WritePixel(row, x, m_depth, a);
        }
    }
    return m_error;
}

// --- flips, rotation, scrolling ----------------------------------------------------------------

int CxDrawSurface::FlipHorizontal(const CxRect* rect)
{
    const CxRect area = ClipToSurface(rect);
    if (m_error || area.IsEmpty())
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    const int bytes = m_depth / 8;
    for (int32_t y = area.top; y <= area.bottom; ++y) {
        uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
        for (int32_t l = area.left, r = area.right; l < r; ++l, --r) {
            if (bytes > 0) {
                std::swap_ranges(row + static_cast<ptrdiff_t>(l) * bytes, row + static_cast<ptrdiff_t>(l + 1) * bytes,
                                 row + static_cast<ptrdiff_t>(r) * bytes);
            } else {
                const uint32_t left = ReadPixel(row, l, m_depth);
                WritePixel(row, l, m_depth, ReadPixel(row, r, m_depth));
                WritePixel(row, r, m_depth, left);
            }
        }
    }
    return m_error;
}

int CxDrawSurface::FlipVertical(const CxRect* rect)
{
    const CxRect area = ClipToSurface(rect);
    if (m_error || area.IsEmpty())
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    // Whole bytes move through a row buffer; sub-byte pixels of a partial
    // row are swapped one by one.
    const bool wholeBytes = m_depth >= 8 || (area.left == 0 && area.right == m_width - 1);
    if (!wholeBytes) {
        for (int32_t t = area.top, b = area.bottom; t < b; ++t, --b) {
            uint8_t* top = bits.Get() + static_cast<ptrdiff_t>(t) * m_pitch;
            uint8_t* bottom = bits.Get() + static_cast<ptrdiff_t>(b) * m_pitch;
            for (int32_t x = area.left; x <= area.right; ++x) {
                const uint32_t v = ReadPixel(top, x, m_depth);
                WritePixel(top, x, m_depth, ReadPixel(bottom, x, m_depth));
                WritePixel(bottom, x, m_depth, v);
            }
        }
        return m_error;
    }
    const size_t offset = m_depth >= 8 ? static_cast<size_t>(area.left) * static_cast<size_t>(m_depth / 8) : 0;
    const size_t length = m_depth >= 8 ? static_cast<size_t>(area.Width()) * static_cast<size_t>(m_depth / 8)
                                       : (static_cast<size_t>(m_width) * static_cast<size_t>(m_depth) + 7) / 8;
    auto* buffer = static_cast<uint8_t*>(Allocate(length, __FILE__, __LINE__, false));
    if (!buffer)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Error: FlipVertical - Could not allocate %ld bytes for row",
                        static_cast<long>(length));
    for (int32_t t = area.top, b = area.bottom; t < b; ++t, --b) {
        uint8_t* top = bits.Get() + static_cast<ptrdiff_t>(t) * m_pitch + offset;
        uint8_t* bottom = bits.Get() + static_cast<ptrdiff_t>(b) * m_pitch + offset;
        std::memcpy(buffer, top, length);
        std::memcpy(top, bottom, length);
        std::memcpy(bottom, buffer, length);
    }
    Free(buffer);
    return m_error;
}

int CxDrawSurface::Rotate(int degrees)
{
    if (m_error)
        return m_error;
    const int angle = ((degrees % 360) + 360) % 360;
    if (angle != 90 && angle != 180 && angle != 270)
        return m_error;
    if (angle != 180 && RotateQuarter() != PIM_OK)
        return m_error;
    if (angle != 90) {
        FlipHorizontal(nullptr);
        FlipVertical(nullptr);
    }
    return m_error;
}

// A clockwise quarter turn into fresh bits: below 8 bits per pixel the turned
// rows can need more bytes than the old ones had. A surface on external bits
// gets bits of its own; the caller's memory is left as it was.
int CxDrawSurface::RotateQuarter()
{
    if (!IsCreated())
        return m_error;
    const int32_t width = m_height, height = m_width;
    int32_t pitch = 0;
    if (!PitchFor(width, m_depth, pitch) || int64_t{pitch} * height > INT32_MAX)
        return SetError(PIM_ERR_BAD_ARG, "Rotate: a %d x %d surface is too large", width, height);
    const auto size = static_cast<size_t>(int64_t{pitch} * height);
    uint8_t* block = nullptr;
    if (size > 0) {
        ScopedBits bits(*this);
        if (!bits)
            return m_error;
        block = static_cast<uint8_t*>(Allocate(size, __FILE__, __LINE__, true));
        if (!block)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %ld bytes for m_pBits",
                            static_cast<long>(size));
        for (int32_t y = 0; y < m_height; ++y) {
            const uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
            for (int32_t x = 0; x < m_width; ++x)
                WritePixel(block + static_cast<ptrdiff_t>(x) * pitch, m_height - 1 - y, m_depth,
                           ReadPixel(row, x, m_depth));
        }
    }
    // The new bits reach the cache through the pointer it already watches.
    ReleaseBits(false);
    m_bits = block;
    m_bitsSize = size;
    m_width = width;
    m_height = height;
    m_pitch = pitch;
    return m_error;
}

int CxDrawSurface::ScrollHorizontal(int32_t pixels)
{
    if (m_error || m_width <= 0 || m_height <= 0)
        return m_error;
    int32_t n = pixels % m_width;
    if (n < 0)
        n += m_width;
    if (n == 0)
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    if (m_depth >= 8) {
        const ptrdiff_t bytes = m_depth / 8;
        for (int32_t y = 0; y < m_height; ++y) {
            uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
            std::rotate(row, row + static_cast<ptrdiff_t>(m_width - n) * bytes, row + m_width * bytes);
        }
        return m_error;
    }
    auto* copy = static_cast<uint8_t*>(Allocate(static_cast<size_t>(m_pitch), __FILE__, __LINE__, false));
    if (!copy)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "ScrollHorizontal: could not allocate %ld bytes for a row",
                        static_cast<long>(m_pitch));
    for (int32_t y = 0; y < m_height; ++y) {
        uint8_t* row = bits.Get() + static_cast<ptrdiff_t>(y) * m_pitch;
        std::memcpy(copy, row, static_cast<size_t>(m_pitch));
        for (int32_t x = 0; x < m_width; ++x)
            WritePixel(row, (x + n) % m_width, m_depth, ReadPixel(copy, x, m_depth));
    }
    Free(copy);
    return m_error;
}

int CxDrawSurface::ScrollVertical(int32_t rows, int noOp)
{
    if (noOp || m_error || m_width <= 0 || m_height <= 0)
        return m_error;
    int32_t n = rows % m_height;
    if (n < 0)
        n += m_height;
    if (n == 0)
        return m_error;
    ScopedBits bits(*this);
    if (!bits)
        return m_error;
    // Row n becomes row 0; the rows above it wrap round to the bottom.
    uint8_t* base = bits.Get();
    std::rotate(base, base + static_cast<ptrdiff_t>(n) * m_pitch, base + static_cast<ptrdiff_t>(m_height) * m_pitch);
    return m_error;
}
