#pragma once
// Texts from data (translations, file names, script texts) that the game
// fills in with numbers are never handed to printf: a translator's "%s" or
// "%n" would read an argument that is not there. The safe formatter fills in
// only int conversions ("%d", "%02d", "%x", ...: flags "-+ #0", width and
// precision of at most 255, no "*", no length modifier), each taking the
// next of the numbers given, turns "%%" into "%", and leaves everything else
// as written, a conversion beyond the numbers given included.

#include "PIM/core/CxString.h"

#include <cstddef>

// The int conversion starting at `text` (which points at a "%"): its length
// and its conversion character, or 0 when it is none.
size_t PimScanIntConversion(const char* text, char* conversion);

// Fills `format` into `out` (bounded, always terminated); returns the length.
size_t PimSafeFormat(char* out, size_t size, const char* format, const int* values, size_t count);

// The same into a string (at most CxString::kFormatBufferSize - 1 bytes).
CxString PimSafeFormatted(const char* format, const int* values, size_t count);
inline CxString PimSafeFormatted(const char* format, int value)
{
    return PimSafeFormatted(format, &value, 1);
}
