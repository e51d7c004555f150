// PCX pictures: run-length coded scan lines of 1, 2, 4 or 8-bit indices, of
// one-bit planes (two to four of them, as 16-colour painters wrote them) or
// of three or four 8-bit colour planes. Planar files become packed pixels,
// since every drawing routine of ours reads packed ones.
//
// The file is hostile: the header's sizes are checked against what the
// coded data could possibly hold before anything is allocated.
#include "PIM/image/PimImageReaders.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr size_t kPaletteBytes = 768;
constexpr uint8_t kPaletteMarker = 0x0C;
constexpr size_t kHeaderPaletteOffset = 16;
constexpr size_t kHeaderPaletteEntries = 16;
// Two bytes of coded data give at most 63 bytes of picture.
constexpr uint64_t kMostBytesPerCodedByte = 32;

// How a decoded scan line becomes a row of the surface.
enum class EPcxLine
{
    Packed,      // one plane of packed pixels: copied
    BitPlanes,   // one-bit planes: each pixel gathers a bit from every plane
    BytePlanes,  // red, green, blue (and alpha) planes: interleaved as B, G, R (A)
};

struct ST_PCX_IMAGE
{
    int32_t width = 0;
    int32_t height = 0;
    int depth = 0; // of the surface
    int planes = 0;
    int bitsPerPlane = 0;
    size_t planeBytes = 0; // bytes per line of one plane
    EPcxLine line = EPcxLine::Packed;
    size_t dataEnd = 0;     // where the coded data stops
    const uint8_t* palette = nullptr; // the 256-colour palette after its marker
};

// The coded data as one stream: the runs that painters let cross from one
// scan line into the next carry over.
struct ST_PCX_RUNS
{
    const uint8_t* data = nullptr;
    size_t position = 0;
    size_t end = 0;
    uint32_t repeat = 0;
    uint8_t value = 0;
};

// Fills up to `count` bytes; fewer when the coded data runs out.
size_t DecodeRuns(ST_PCX_RUNS& runs, uint8_t* out, size_t count)
{
    size_t done = 0;
    while (done < count) {
        if (runs.repeat > 0) {
            const size_t take = std::min<size_t>(runs.repeat, count - done);
            std::memset(out + done, runs.value, take);
            done += take;
            runs.repeat -= static_cast<uint32_t>(take);
            continue;
        }
        if (runs.position >= runs.end)
            break;
        const uint8_t code = runs.data[runs.position++];
        if (code < 0xC0) {
            out[done++] = code;
            continue;
        }
        if (runs.position >= runs.end)
            break; // a count with no value after it
        runs.repeat = code & 0x3Fu;
        runs.value = runs.data[runs.position++];
    }
    return done;
}

int ReadHeader(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name, ST_PCX_IMAGE& image)
{
    if (size < kHeaderBytes)
        return surface.SetError(PIM_ERR_FILE_TYPE, "PCX file %s is too short for its header", name);
    if (data[0] != 10)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PCX file: %s", name);
    const int bits = data[3];
    const int xMin = ReadLe16(data + 4), yMin = ReadLe16(data + 6), xMax = ReadLe16(data + 8),
              yMax = ReadLe16(data + 10);
    const int planes = data[65];
    const size_t planeBytes = ReadLe16(data + 66);
    if (xMax < xMin || yMax < yMin)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PCX window (%d, %d) - (%d, %d) in %s", xMin, yMin, xMax,
                                yMax, name);
    image.width = xMax - xMin + 1;
    image.height = yMax - yMin + 1;
    image.planes = planes;
    image.bitsPerPlane = bits;
    image.planeBytes = planeBytes;

    if (planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8)) {
        image.depth = bits;
        image.line = EPcxLine::Packed;
    } else if (bits == 1 && planes >= 2 && planes <= 4) {
        image.depth = planes == 2 ? 2 : 4;
        image.line = EPcxLine::BitPlanes;
    } else if (bits == 8 && (planes == 3 || planes == 4)) {
        image.depth = planes * 8;
        image.line = EPcxLine::BytePlanes;
    } else {
        return surface.SetError(PIM_ERR_FILE_TYPE, "Unsupported PCX format: %d planes of %d bits in %s", planes, bits,
                                name);
    }
    const uint64_t planeRowBytes = (uint64_t{static_cast<uint32_t>(image.width)} * static_cast<uint32_t>(bits) + 7) / 8;
    if (planeBytes < planeRowBytes)
        return surface.SetError(PIM_ERR_FILE_TYPE, "PCX lines of %zu bytes cannot hold %d pixels in %s", planeBytes,
                                image.width, name);

    // The 256-colour palette closes the file behind its marker; without
    // one, the coded data runs to the end.
    image.dataEnd = size;
    if (image.depth == 8 && size >= kHeaderBytes + kPaletteBytes + 1 &&
        data[size - kPaletteBytes - 1] == kPaletteMarker) {
        image.palette = data + size - kPaletteBytes;
        image.dataEnd = size - kPaletteBytes - 1;
    }
    // Refused before anything is allocated: no coding could fill it.
    const uint64_t decoded = uint64_t{static_cast<uint32_t>(planes)} * planeBytes * static_cast<uint32_t>(image.height);
    if (decoded > (image.dataEnd - kHeaderBytes) * kMostBytesPerCodedByte)
        return surface.SetError(PIM_ERR_FILE_TYPE, "PCX data of %zu bytes cannot fill %d x %d pixels in %s",
                                image.dataEnd - kHeaderBytes, image.width, image.height, name);
    return PIM_OK;
}

void SetPcxPalette(CxDrawSurface& surface, const uint8_t* data, const ST_PCX_IMAGE& image)
{
    uint8_t palette[kPaletteBytes] = {};
    if (image.palette) {
        std::memcpy(palette, image.palette, kPaletteBytes);
    } else {
        std::memcpy(palette, data + kHeaderPaletteOffset, kHeaderPaletteEntries * 3);
        // Monochrome files often leave the header's palette empty; black on
        // black would hide the picture.
        if (image.depth == 1 && std::memcmp(palette, palette + 3, 3) == 0) {
            std::memset(palette, 0, 3);
            std::memset(palette + 3, 255, 3);
        }
    }
    surface.SetPalette(palette, kPaletteBytes);
}

void StoreLine(const uint8_t* line, uint8_t* row, const ST_PCX_IMAGE& image, size_t rowBytes)
{
    const size_t stride = image.planeBytes;
    switch (image.line) {
    case EPcxLine::Packed:
        std::memcpy(row, line, rowBytes);
        break;
    case EPcxLine::BitPlanes:
        for (int32_t x = 0; x < image.width; ++x) {
            uint32_t value = 0;
            const size_t byte = static_cast<size_t>(x) >> 3;
            const int shift = 7 - (x & 7);
            for (int plane = 0; plane < image.planes; ++plane)
                value |= ((line[plane * stride + byte] >> shift) & 1u) << plane;
            WritePixel(row, x, image.depth, value);
        }
        break;
    case EPcxLine::BytePlanes:
        for (int32_t x = 0; x < image.width; ++x) {
            uint8_t* pixel = row + static_cast<size_t>(x) * static_cast<size_t>(image.planes);
            pixel[0] = line[2 * stride + x];
            pixel[1] = line[stride + x];
            pixel[2] = line[x];
            if (image.planes == 4)
                pixel[3] = line[3 * stride + x];
        }
        break;
    }
}

} // namespace

int DecodePcx(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name)
{
    if (!name)
        name = "";
    // A load replaces everything the surface held, an earlier failure too.
    surface.ClearError();
    if (!data || size == 0)
        return surface.SetError(PIM_ERR_UNKNOWN, "Could not read ST_PCX_HEADER");
    ST_PCX_IMAGE image;
    if (ReadHeader(surface, data, size, name, image) != PIM_OK)
        return surface.GetError();
    if (surface.Create(image.width, image.height, image.depth) != PIM_OK)
        return surface.GetError();
    if (image.depth <= 8)
        SetPcxPalette(surface, data, image);

    const size_t lineBytes = static_cast<size_t>(image.planes) * image.planeBytes;
    auto* line = static_cast<uint8_t*>(AllocateQuietly(lineBytes, __FILE__, __LINE__, false));
    uint8_t* bits = line ? surface.LockBits() : nullptr;
    if (!bits) {
        Free(line);
        return surface.GetError() ? surface.GetError() : surface.SetError(PIM_ERR_OUT_OF_MEMORY, "pBits is NULL!");
    }
    const size_t pitch = static_cast<size_t>(surface.GetPitch());
    const size_t rowBytes =
        std::min(pitch, (static_cast<size_t>(image.width) * static_cast<size_t>(image.bitsPerPlane) + 7) / 8);
    ST_PCX_RUNS runs{data, kHeaderBytes, image.dataEnd, 0, 0};
    for (int32_t y = 0; y < image.height; ++y) {
        const size_t got = DecodeRuns(runs, line, lineBytes);
        // What was decoded stays: part of a picture tells more than none.
        std::memset(line + got, 0, lineBytes - got);
        StoreLine(line, bits + static_cast<size_t>(y) * pitch, image, rowBytes);
        if (got < lineBytes) {
            surface.SetError(PIM_ERR_FILE_TYPE, "PCX data of %s ends at line %d of %d", name, y, image.height);
            break;
        }
    }
    Free(line);
    surface.UnlockBits();
    return surface.GetError();
}

int LoadPcx(CxDrawSurface& surface, const char* fileName, int argument)
{
    (void)argument;
    CxBuffer buffer;
    const int code = LoadFile(fileName, buffer);
    if (code != PIM_OK)
        return code; // the file layer has reported it
    return DecodePcx(surface, buffer.GetData(), buffer.GetSize(), fileName);
}
