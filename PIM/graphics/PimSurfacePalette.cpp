// The palette and colour-table builders over a surface's pixels: what
// ConvertFormat calls when a picture goes to a paletted depth or layout 9.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/CxPal.h"
#include "PIM/graphics/PimSurfacePalette.h"

#include <algorithm>

namespace {

// Calls visit(colour) for every pixel of the surface.
template <class Visit>
bool ForEachPixel(CxDrawSurface& surface, Visit visit)
{
    uint8_t* bits = surface.LockBits();
    if (!bits)
        return false;
    const ST_PIXEL_FORMAT& format = surface.GetFormat();
    for (int32_t y = 0; y < surface.GetHeight(); ++y) {
        const uint8_t* row = bits + static_cast<ptrdiff_t>(y) * surface.GetPitch();
        for (int32_t x = 0; x < surface.GetWidth(); ++x)
            visit(SplitPixel(format, ReadPixel(row, x, surface.GetDepth())));
    }
    surface.UnlockBits();
    return true;
}

} // namespace

int BuildSurfacePalette(CxDrawSurface& source, uint8_t* palette, bool fromDefault, int colours)
{
    if (!palette)
        return PIM_ERR_BAD_ARG;
    // Never more colours than a palette holds, nor than the picture's own
    // depth could tell apart.
    int limit = std::clamp(colours, 0, 256);
    if (source.GetDepth() <= 8)
        limit = std::min(limit, 1 << source.GetDepth());
    CxPaletteBuilder builder(fromDefault, limit);
    if (!ForEachPixel(source, [&](ST_ARGB c) { builder.Add(c.red, c.green, c.blue); }))
        return source.GetError() ? source.GetError() : PIM_ERR_OUT_OF_MEMORY;
    builder.Build(palette);
    return builder.IsIntact() ? PIM_OK : PIM_ERR_OUT_OF_MEMORY;
}

int BuildSurfaceColourTable(CxDrawSurface& source, uint16_t* table, int count)
{
    CxColourTableBuilder builder;
    if (!ForEachPixel(source, [&](ST_ARGB c) { builder.Add(c.alpha, c.red, c.green, c.blue); }))
        return 0;
    // Without a table to fill the builder still says how many it would take.
    const int written = builder.Build(table, table ? std::clamp(count, 0, PIM_MAX_COLOUR_TABLE) : PIM_MAX_COLOUR_TABLE);
    // Tables are read in the screen's form (as loaded tables are
    // converted): give the new one that form too.
    if (table)
        for (int i = 0; i < written; ++i)
            table[i] = TableEntryForLayout(table[i], GetPreferredLayout16());
    return written;
}
