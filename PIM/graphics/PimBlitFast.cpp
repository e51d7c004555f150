// The specialised routines for paletted and 16-bit sources, and the layout-9
// routine. Each works on raw rows of an equal-size blit and leaves exactly
// the bytes the general routine would.

#include "PIM/graphics/PimBlitFast.h"

using namespace PimBlitDetail;

namespace {

// 8 -> 16: the source palette in the destination's layout, from the
// surface's own lookup when the caller has one, else built here.
template <class F>
bool From8To16(const ST_BLIT_JOB& job, int32_t mode)
{
    uint16_t built[256];
    const uint16_t* lookup = job.paletteLookup;
    if (!lookup) {
        for (uint32_t i = 0; i < 256; ++i)
            built[i] = static_cast<uint16_t>(
                PackPixel(job.destinationFormat, SplitPixel(job.sourceFormat, i)));
        lookup = built;
    }
    auto convert = [lookup](uint32_t p) { return static_cast<uint32_t>(lookup[p]); };
    if (mode == PIM_DRAW_HALF)
        HalfRows16<1>(job, F::halfMask, convert);
    else
        ConvertRows<1, 2>(job, mode, convert);
    return true;
}

// 8 -> 24 and 32: every index converted once per blit.
template <int DB>
bool From8ByTable(const ST_BLIT_JOB& job, int32_t mode)
{
    uint32_t table[256];
    for (uint32_t i = 0; i < 256; ++i) {
        const ST_ARGB c = SplitPixel(job.sourceFormat, i);
        // 24-bit values here are in the key convention: blue in the low byte.
        table[i] = DB == 3 ? (static_cast<uint32_t>(c.red) << 16) | (static_cast<uint32_t>(c.green) << 8) | c.blue
                           : PackPixel(job.destinationFormat, c);
    }
    ConvertRows<1, DB>(job, mode, [&table](uint32_t p) { return table[p]; });
    return true;
}

} // namespace

bool BlitFrom8(const ST_BLIT_JOB& job, int32_t mode)
{
    if (!SameSize(job))
        return false;
    const ST_PIXEL_FORMAT& sf = job.sourceFormat;
    const ST_PIXEL_FORMAT& df = job.destinationFormat;
    switch (df.depth) {
    case 8: {
        if (!IsMoveMode(mode))
            return false;
        if (SameFormat(sf, df)) {
            SameFormatRows<1>(job, mode);
            return true;
        }
        // Different palettes: the nearest entry of each index met, found
        // once; a full table would cost more than most blits.
        int16_t nearest[256];
        std::memset(nearest, 0xFF, sizeof(nearest));
        ConvertRows<1, 1>(job, mode, [&](uint32_t p) {
            if (nearest[p] < 0)
                nearest[p] = static_cast<int16_t>(PackPixel(df, SplitPixel(sf, p)));
            return static_cast<uint32_t>(nearest[p]);
        });
        return true;
    }
    case 16: {
        if (!IsMoveMode(mode) && mode != PIM_DRAW_HALF)
            return false;
        bool done = false;
        With16Fields(df.layout, [&](auto fields) { done = From8To16<decltype(fields)>(job, mode); });
        return done;
    }
    case 24:
        return IsMoveMode(mode) && From8ByTable<3>(job, mode);
    case 32:
        return IsMoveMode(mode) && From8ByTable<4>(job, mode);
    default:
        return false;
    }
}

bool BlitFrom16(const ST_BLIT_JOB& job, int32_t mode)
{
    const ST_PIXEL_FORMAT& sf = job.sourceFormat;
    const ST_PIXEL_FORMAT& df = job.destinationFormat;
    if (!SameSize(job) || sf.layout == PIM_LAYOUT_TABLE)
        return false;
    if (df.depth == 16) {
        // Conversions between 16-bit layouts are rare (surfaces are brought
        // to the screen's layout when loaded): the general routine does them.
        if (df.layout != sf.layout)
            return false;
        if (IsMoveMode(mode)) {
            SameFormatRows<2>(job, mode);
            return true;
        }
        if (mode != PIM_DRAW_HALF)
            return false;
        return With16Fields(df.layout, [&](auto fields) {
            HalfRows16<2>(job, decltype(fields)::halfMask, [](uint32_t p) { return p; });
        });
    }
    if (df.depth == 32 && IsMoveMode(mode)) {
        return With16Fields(sf.layout, [&](auto fields) {
            using F = decltype(fields);
            ConvertRows<2, 4>(job, mode, [](uint32_t p) {
                return 0xFF000000u | (F::Red(p) << 16) | (F::Green(p) << 8) | F::Blue(p);
            });
        });
    }
    return false;
}

// Layout 9 onto a plain 16-bit layout, mode 3 without a key: the 4-bit alpha
// over the table colour. Holes in the table (an index beyond it, or no
// table at all) are transparent.
bool BlitFromTable(const ST_BLIT_JOB& job, int32_t mode)
{
    if (!SameSize(job) || mode != PIM_DRAW_SOURCE_ALPHA || KeyApplies(job))
        return false;
    const uint16_t* table = job.sourceFormat.colourTable;
    const uint32_t count = job.sourceFormat.colourTableCount > 0
                               ? static_cast<uint32_t>(job.sourceFormat.colourTableCount)
                               : 0u;
    return With16Fields(job.destinationFormat.layout, [&](auto fields) {
        using F = decltype(fields);
        using P = TPixel<2>;
        BlendRows<2, 2>(job, [&](uint32_t p, uint8_t* d) {
            const uint32_t index = p & 0x0FFFu;
            const int a = static_cast<int>(p >> 12);
            if (!table || index >= count || a == 0)
                return;
            const ST_ARGB c = SplitTableColour(table[index]);
            if (a == 15) {
                P::Store(d, F::Pack(c.red, c.green, c.blue));
                return;
            }
            const uint32_t w = P::Load(d);
            P::Store(d, F::Pack(static_cast<uint32_t>(PimBlend::SourceAlpha4(c.red, static_cast<int>(F::Red(w)), a)),
                                static_cast<uint32_t>(PimBlend::SourceAlpha4(c.green, static_cast<int>(F::Green(w)), a)),
                                static_cast<uint32_t>(PimBlend::SourceAlpha4(c.blue, static_cast<int>(F::Blue(w)), a))));
        });
    });
}
