#pragma once
// Where surfaces reach the image code: loading and saving by file name
// through the image filter registry, and the palette and colour-table
// builders that format conversions need. The image code installs them at
// start; until then loading and saving answer 10 ("Invalid file type") and
// conversions fall back to the default palette.

#include "PIM/core/PimDefs.h"

class CxDrawSurface;

using PimImageLoader = int (*)(CxDrawSurface& surface, const char* fileName, int argument);
using PimImageSaver = int (*)(CxDrawSurface& surface, const char* fileName, int argument);
// Fills 768 bytes with up to `colours` entries best representing `source`.
using PimPaletteBuilder = int (*)(CxDrawSurface& source, uint8_t* palette, bool fromDefault, int colours);
// Fills `count` 16-bit colours (layout 1, or 2 when the preferred layout is
// 565) best representing `source`.
using PimColourTableBuilder = int (*)(CxDrawSurface& source, uint16_t* table, int count);

struct ST_IMAGE_HOOKS
{
    PimImageLoader load = nullptr;
    PimImageSaver save = nullptr;
    PimPaletteBuilder buildPalette = nullptr;
    PimColourTableBuilder buildColourTable = nullptr;
};

void SetImageHooks(const ST_IMAGE_HOOKS& hooks);
const ST_IMAGE_HOOKS& GetImageHooks();
