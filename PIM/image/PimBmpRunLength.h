#pragma once
// The run-length pixel streams of 8-bit (RLE8) and 4-bit (RLE4) BMPs.
//
// A stream is a list of two-byte codes read from the bottom row up. A code
// whose first byte is not 0 is an encoded run: that many pixels of the
// second byte's index (at 4 bits, its two nibbles by turns). A first byte
// of 0 is an escape: 0 ends the row, 1 ends the picture, 2 moves right and
// up by the next two bytes, and 3 or more is an absolute run of that many
// indices from the bytes that follow, padded to an even number of bytes.

#include "PIM/core/PimDefs.h"

#include <cstddef>

// How a stream ended.
enum class EBmpRunEnd
{
    Complete, // at its end-of-picture code
    Truncated, // the bytes ran out before the end-of-picture code
    Overlong,  // it went on past the top row or moved above it
};

// The picture the stream is drawn into: `rows` rows of `width` pixels of
// `depth` bits (4 or 8), packed as the surface keeps them (at 4 bits the
// left pixel in the high nibble), `top` the first byte of the top row.
struct ST_BMP_RUN_TARGET
{
    uint8_t* top = nullptr;
    size_t pitch = 0;
    int32_t width = 0;
    int32_t rows = 0;
    int depth = 8;
};

struct ST_BMP_RUN_RESULT
{
    EBmpRunEnd end = EBmpRunEnd::Complete;
    int32_t row = 0; // the row (from the bottom) being drawn when it ended
};

// Draws the stream into the target. Pixels the stream never reaches (rows
// ended early, skipped by a move, or never reached at all) are left as they
// were: a fresh surface holds index 0 there. Runs past the end of a row are
// cut at its end, and a move past its end leaves the rest of the row alone;
// what arrived of a truncated or overlong stream stays drawn.
ST_BMP_RUN_RESULT DecodeBmpRunLength(const uint8_t* stream, size_t size, const ST_BMP_RUN_TARGET& target);

// The most pixels a run-length picture whose stream has `streamBytes` bytes
// may have: runs alone reach 127 pixels a byte, and writers that leave
// rows to their end-of-line codes more, but a small file must not claim a
// picture of gigabytes that is nearly all left unwritten.
uint64_t MostBmpRunLengthPixels(size_t streamBytes);
