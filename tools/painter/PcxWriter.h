#pragma once
// Writes 24-bit pictures as PCX files, the format the engine's strip fonts
// are read from: version 5, three 8-bit planes (red, green, blue) per scan
// line, each plane line run-length coded on its own and padded to an even
// number of bytes, as the old painters wrote them.

#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/files/CxBuffer.h"

#include <cstddef>

// Builds the file in `file`; `fileSize` is how much of it is used. PIM_OK; 16
// for a surface that is not 24-bit, is empty, has an error, or is wider or
// taller than a PCX window holds (65535); 1 when memory runs out.
int BuildPcxFile(CxDrawSurface& surface, CxBuffer& file, size_t& fileSize);
// Builds the file and writes it through the file layer (replacing any).
int SavePcx(CxDrawSurface& surface, const char* fileName);
