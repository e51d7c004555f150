#pragma once
// How a surface is drawn onto another: a mode and its arguments.

#include "PIM/core/CxRect.h"
#include "PIM/core/PimDefs.h"

class CxDrawSurface;

enum : int32_t
{
    PIM_DRAW_COPY = 0,
    PIM_DRAW_HALF = 2,            // 50 % blend
    PIM_DRAW_SOURCE_ALPHA = 3,    // the source's own alpha
    PIM_DRAW_DEST_ALPHA = 4,      // the destination's alpha decides
    PIM_DRAW_BOTH_ALPHA = 5,      // both alphas weigh
    PIM_DRAW_COMPOSITE = 6,       // source-over onto a destination with alpha (32 -> 32)
    PIM_DRAW_OPACITY = 7,         // argument 1 is the alpha of every source pixel
    PIM_DRAW_DEST_OPACITY = 8,    // argument 1 is the destination's alpha
    PIM_DRAW_ALPHA_TINTED = 9,    // mode 3 (32 -> 16), then add arguments / 8 to the channels
    PIM_DRAW_KEY_COLOURED = 10,   // key pixels drawn in argument 1, others copied
    PIM_DRAW_SILHOUETTE = 11,     // non-key pixels drawn in argument 1
    PIM_DRAW_ADD_RGB = 12,        // arguments / 8 added to the 5-bit channels
    PIM_DRAW_UPSIDE_DOWN = 14,    // last row first (24 -> 16 routine only)
    PIM_DRAW_NOTHING = 16,
    PIM_DRAW_SECOND_SURFACE = 17, // combine with the surface in `surface`
    PIM_DRAW_EMBOSS = 18,         // add (source - 128) where the destination is not its key
    PIM_DRAW_ROUTINE = 19,        // call `routine`
};

// A routine of mode 19: source, destination, clipped destination and source
// rectangles, colour key, second and third argument.
using PimDrawRoutine = int (*)(CxDrawSurface& source, CxDrawSurface& destination, const CxRect& destinationRect,
                               const CxRect& sourceRect, uint32_t key, int32_t argument2, int32_t argument3);

struct ST_DRAW_PARAMS
{
    int32_t mode = PIM_DRAW_COPY;
    int32_t argument1 = 0;
    int32_t argument2 = 0;
    int32_t argument3 = 0;
    // The modes that carry a routine or a surface have typed members rather
    // than a pointer hidden in argument 1.
    PimDrawRoutine routine = nullptr;     // mode 19
    CxDrawSurface* surface = nullptr;     // modes 17, 18
};
