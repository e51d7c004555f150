#pragma once
// The palette and colour-table builders over a surface's pixels: what
// ConvertFormat calls when a picture goes to a paletted depth or layout 9,
// and what the picture writers use for their own paletted files.

#include "PIM/core/PimDefs.h"

class CxDrawSurface;

// A palette of 2^depth colours (at most `colours`) for the surface's pixels.
int BuildSurfacePalette(CxDrawSurface& source, uint8_t* palette, bool fromDefault, int colours);
// The colour table for layout 9; the number of entries written (or, without
// a table, the number it would take).
int BuildSurfaceColourTable(CxDrawSurface& source, uint16_t* table, int count);
