#pragma once
// Where a printed picture goes on its page. Pure arithmetic, so that the
// layout is the same whatever prints it (a printer, a page saved as a file).

#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"

struct ST_PAGE_SETUP
{
    // The page as the printer reports it in portrait, in device units, and
    // the device units per inch on each axis.
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    int32_t dpiX = 0;
    int32_t dpiY = 0;
};

struct ST_PAGE_LAYOUT
{
    CxSize page;    // the page as printed: portrait, or its axes swapped for landscape
    CxRect picture; // the picture's place on it (inclusive); empty when it has none
};

// The picture of `imageSize` fitted into the page less half an inch on
// each axis, keeping its aspect ratio, centred on the page. A positive
// `scale` first multiplies the page size (0.5: the picture fits half the
// page); zero or less leaves it. Landscape swaps the page's axes (and its
// resolutions). False, with an empty picture rectangle, when the page,
// the resolution or the image has no size or nothing is left after the margin.
bool PimLayoutPage(const ST_PAGE_SETUP& setup, bool landscape, CxSize imageSize, double scale,
                   ST_PAGE_LAYOUT& out);
