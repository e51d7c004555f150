// BMP pictures as paint programs write them: uncompressed rows of 1, 4, 8,
// 16, 24 or 32 bits, bottom-up or top-down, with any information header of
// 40 bytes or more, 16 and 32-bit pixels described by bit masks, and
// run-length 8 and 4-bit pictures (RLE8, RLE4), which are always bottom-up.
//
// The file is hostile until proven otherwise: every offset and size is
// checked against the bytes we hold before anything is allocated, so that
// a small file cannot make us allocate more than its pixels need.
#include "PIM/image/PimImageReaders.h"

#include "PIM/image/PimBmpRunLength.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kMinimumBytes = 54; // file header and the smallest information header
constexpr uint32_t kInfoHeaderBytes = 40;
// A version-2 header carries the three colour masks, version 3 the alpha one.
constexpr uint32_t kHeaderWithColourMasks = 52;
constexpr uint32_t kHeaderWithAlphaMask = 56;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kCompressionBitFields = 3;
constexpr size_t kPaletteBytes = 768;

// One colour channel of a bit-field pixel.
struct ST_BMP_CHANNEL
{
    uint32_t mask = 0;
    int shift = 0;
    uint32_t maximum = 0; // mask >> shift: the channel's full value
};

// How the pixels of the file become the surface's.
enum class EBmpCopy
{
    Rows,       // bytes copied as they are
    RowsMaybeX, // 32-bit B, G, R, then alpha or padding: decided once all rows are in
    RowsX,      // 32-bit B, G, R, padding: made opaque
    Masks,      // every pixel split by its masks into a 32-bit surface
};

// What the headers say, once every field has been checked.
struct ST_BMP_IMAGE
{
    int32_t width = 0;
    int32_t rows = 0;
    bool bottomUp = true;
    int fileDepth = 0;
    int surfaceDepth = 0;
    uint8_t layout = PIM_LAYOUT_DEFAULT;
    EBmpCopy copy = EBmpCopy::Rows;
    ST_BMP_CHANNEL channels[4]; // red, green, blue, alpha
    size_t paletteOffset = 0;
    size_t paletteEntries = 0;
    size_t dataOffset = 0;
    size_t filePitch = 0;  // bytes per row in the file, a multiple of 4
    size_t rowBytes = 0;   // the part of a row that holds pixels
    bool runLength = false;
    size_t streamBytes = 0; // of a run-length picture: its stream from dataOffset
};

bool MakeChannel(uint32_t mask, ST_BMP_CHANNEL& channel)
{
    channel = {};
    if (mask == 0)
        return true;
    int shift = 0;
    while (!((mask >> shift) & 1u))
        ++shift;
    const uint32_t maximum = mask >> shift;
    // A mask with holes in it names no channel value we could scale.
    if ((maximum & (maximum + 1)) != 0)
        return false;
    channel = {mask, shift, maximum};
    return true;
}

uint8_t ChannelValue(const ST_BMP_CHANNEL& c, uint32_t pixel, uint8_t absent)
{
    if (c.mask == 0)
        return absent;
    const uint64_t value = (pixel & c.mask) >> c.shift;
    return static_cast<uint8_t>(value * 255 / c.maximum);
}

bool SameMasks(const ST_BMP_CHANNEL* channels, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha)
{
    return channels[0].mask == red && channels[1].mask == green && channels[2].mask == blue &&
           channels[3].mask == alpha;
}

// Chooses the surface format for bit-field pixels: the masks the surface
// has a layout for are kept as they are, anything else is spread to 32 bits.
void ChooseMaskedFormat(ST_BMP_IMAGE& image)
{
    const ST_BMP_CHANNEL* c = image.channels;
    image.surfaceDepth = image.fileDepth;
    image.copy = EBmpCopy::Rows;
    if (image.fileDepth == 16) {
        // The top bit of a 5-5-5 pixel carries nothing we draw with.
        if (SameMasks(c, 0x7C00, 0x03E0, 0x001F, 0) || SameMasks(c, 0x7C00, 0x03E0, 0x001F, 0x8000)) {
            image.layout = PIM_LAYOUT_555;
            return;
        }
        if (SameMasks(c, 0xF800, 0x07E0, 0x001F, 0)) {
            image.layout = PIM_LAYOUT_565;
            return;
        }
        if (SameMasks(c, 0x0F00, 0x00F0, 0x000F, 0xF000)) {
            image.layout = PIM_LAYOUT_4444;
            return;
        }
    } else if (SameMasks(c, 0xFF0000, 0xFF00, 0xFF, 0xFF000000u)) {
        return;
    } else if (SameMasks(c, 0xFF0000, 0xFF00, 0xFF, 0)) {
        image.copy = EBmpCopy::RowsX;
        return;
    }
    image.surfaceDepth = 32;
    image.layout = PIM_LAYOUT_DEFAULT;
    image.copy = EBmpCopy::Masks;
}

// The stream is the image size's bytes, or runs to the end of the file when
// that is 0 or more than the file holds (a cut file then shows what came).
int CheckStream(CxDrawSurface& surface, uint32_t imageSize, size_t size, ST_BMP_IMAGE& image)
{
    image.streamBytes = size - image.dataOffset;
    if (imageSize != 0 && imageSize < image.streamBytes)
        image.streamBytes = imageSize;
    const uint64_t pixels = uint64_t{static_cast<uint32_t>(image.width)} * static_cast<uint32_t>(image.rows);
    if (pixels > MostBmpRunLengthPixels(image.streamBytes))
        return surface.SetError(PIM_ERR_FILE_TYPE, "Run-length BMP of %d x %d has only %zu bytes of pixels",
                                image.width, image.rows, image.streamBytes);
    return PIM_OK;
}

int ReadHeaders(CxDrawSurface& surface, const uint8_t* data, size_t size, ST_BMP_IMAGE& image)
{
    if (size < 2 || ReadLe16(data) != 0x4D42)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid BMP file. (%04x)", size < 2 ? 0u : ReadLe16(data));
    if (size < kMinimumBytes)
        return surface.SetError(PIM_ERR_FILE_TYPE, "BMP file of %zu bytes is too short for its headers", size);

    const uint32_t headerBytes = ReadLe32(data + 14);
    if (headerBytes < kInfoHeaderBytes || headerBytes > size - kFileHeaderBytes)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Unsupported BMP header of %u bytes", headerBytes);
    const auto width = static_cast<int32_t>(ReadLe32(data + 18));
    const auto height = static_cast<int32_t>(ReadLe32(data + 22));
    const int depth = ReadLe16(data + 28);
    const uint32_t compression = ReadLe32(data + 30);
    const uint32_t imageSize = ReadLe32(data + 34);
    const uint32_t coloursUsed = ReadLe32(data + 46);

    if (width <= 0 || height == 0 || height == INT32_MIN)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid BMP size %d x %d", width, height);
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Unsupported BMP depth of %d bits", depth);
    const bool bitFields = compression == kCompressionBitFields && (depth == 16 || depth == 32);
    const bool runLength =
        (compression == kCompressionRle8 && depth == 8) || (compression == kCompressionRle4 && depth == 4);
    if (compression != kCompressionNone && !bitFields && !runLength)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Unsupported BMP compression %u at %d bits", compression, depth);
    // A run-length stream climbs from the bottom row: a top-down one has no
    // agreed meaning.
    if (runLength && height < 0)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Run-length BMP of %d rows is stored top-down", -height);
    if (coloursUsed > 256)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid BMP palette of %u colours", coloursUsed);

    image.width = width;
    image.rows = height < 0 ? -height : height;
    image.bottomUp = height > 0;
    image.fileDepth = depth;
    image.surfaceDepth = depth;
    image.layout = depth == 16 ? uint8_t{PIM_LAYOUT_555} : uint8_t{PIM_LAYOUT_DEFAULT};
    image.copy = depth == 32 ? EBmpCopy::RowsMaybeX : EBmpCopy::Rows;
    image.runLength = runLength;

    // Short headers keep their masks just after themselves; longer ones
    // hold them in their own fields.
    size_t afterHeader = kFileHeaderBytes + headerBytes;
    if (bitFields) {
        const uint8_t* masks = data + kFileHeaderBytes + kInfoHeaderBytes;
        if (headerBytes < kHeaderWithColourMasks) {
            if (size - afterHeader < 12)
                return surface.SetError(PIM_ERR_FILE_TYPE, "BMP colour masks lie past the end of the file");
            masks = data + afterHeader;
            afterHeader += 12;
        }
        const uint32_t alphaMask = headerBytes >= kHeaderWithAlphaMask ? ReadLe32(masks + 12) : 0;
        const uint32_t values[4] = {ReadLe32(masks), ReadLe32(masks + 4), ReadLe32(masks + 8), alphaMask};
        for (int i = 0; i < 4; ++i)
            if (!MakeChannel(values[i] & (depth == 16 ? 0xFFFFu : 0xFFFFFFFFu), image.channels[i]))
                return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid BMP colour mask %08x", values[i]);
        ChooseMaskedFormat(image);
    }

    const uint64_t pitch = (uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(depth) + 31) / 32 * 4;
    const uint64_t needed = pitch * static_cast<uint64_t>(image.rows);
    if (pitch > INT32_MAX || needed > SIZE_MAX)
        return surface.SetError(PIM_ERR_FILE_TYPE, "BMP of %d x %d is too large", width, height);
    // A run-length stream may be longer than the rows it makes.
    if (!runLength && imageSize > needed)
        return surface.SetError(PIM_ERR_FILE_TYPE, "BMP image size %u is more than its %d rows hold", imageSize,
                                image.rows);
    image.filePitch = static_cast<size_t>(pitch);
    const uint64_t rowBits = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(depth);
    image.rowBytes = static_cast<size_t>((rowBits + 7) / 8);

    // The data offset is believed when it lies past the headers and inside
    // the file; the palette then is whatever lies between the two. Writers
    // that leave the offset out put the pixels right after the palette.
    size_t entries = depth <= 8 ? (coloursUsed ? coloursUsed : size_t{1} << depth) : 0;
    image.paletteOffset = afterHeader;
    const size_t dataOffset = ReadLe32(data + 10);
    if (dataOffset >= afterHeader && dataOffset <= size) {
        image.dataOffset = dataOffset;
        entries = std::min(entries, (dataOffset - afterHeader) / 4);
    } else {
        if (entries > (size - afterHeader) / 4)
            return surface.SetError(PIM_ERR_FILE_TYPE, "BMP palette lies past the end of the file");
        image.dataOffset = afterHeader + entries * 4 + (depth > 8 ? size_t{coloursUsed} * 4 : 0);
        if (image.dataOffset > size)
            return surface.SetError(PIM_ERR_FILE_TYPE, "BMP palette lies past the end of the file");
    }
    image.paletteEntries = entries;
    if (runLength)
        return CheckStream(surface, imageSize, size, image);

    // Writers disagree on whether the last row carries its padding: only
    // its pixels must be there.
    const size_t required = static_cast<size_t>(needed) - (image.filePitch - image.rowBytes);
    if (required > size - image.dataOffset)
        return surface.SetError(PIM_ERR_FILE_TYPE, "BMP pixel data ends %zu bytes early",
                                required - (size - image.dataOffset));
    return PIM_OK;
}

void SetBmpPalette(CxDrawSurface& surface, const uint8_t* data, const ST_BMP_IMAGE& image)
{
    // A fresh load owes nothing to the palette the surface had before.
    uint8_t palette[kPaletteBytes] = {};
    const uint8_t* entry = data + image.paletteOffset;
    for (size_t i = 0; i < image.paletteEntries && i < 256; ++i, entry += 4) {
        palette[i * 3] = entry[2];
        palette[i * 3 + 1] = entry[1];
        palette[i * 3 + 2] = entry[0];
    }
    surface.SetPalette(palette, kPaletteBytes);
}

void CopyMaskedRow(const uint8_t* source, uint8_t* target, const ST_BMP_IMAGE& image)
{
    const ST_BMP_CHANNEL* c = image.channels;
    for (int32_t x = 0; x < image.width; ++x) {
        const uint32_t pixel = image.fileDepth == 16 ? ReadLe16(source + 2 * x) : ReadLe32(source + 4 * x);
        const ST_ARGB argb = {ChannelValue(c[3], pixel, 255), ChannelValue(c[0], pixel, 0),
                              ChannelValue(c[1], pixel, 0), ChannelValue(c[2], pixel, 0)};
        uint8_t* p = target + 4 * static_cast<ptrdiff_t>(x);
        p[0] = argb.blue;
        p[1] = argb.green;
        p[2] = argb.red;
        p[3] = argb.alpha;
    }
}

// The fourth byte of a plain 32-bit pixel is alpha to some writers and
// padding left at 0 to others. A picture whose every pixel would be
// invisible was written by the second kind.
void MakeOpaque(uint8_t* bits, const CxDrawSurface& surface, bool onlyWhenAllClear)
{
    const size_t pixels = static_cast<size_t>(surface.GetWidth()) * static_cast<size_t>(surface.GetHeight());
    if (onlyWhenAllClear)
        for (size_t i = 0; i < pixels; ++i)
            if (bits[i * 4 + 3] != 0)
                return;
    for (size_t i = 0; i < pixels; ++i)
        bits[i * 4 + 3] = 255;
}

// What the stream does not draw keeps the index 0 the fresh surface holds,
// the first colour of the palette (other decoders show them so too).
void DecodeStream(CxDrawSurface& surface, const uint8_t* stream, uint8_t* bits, const ST_BMP_IMAGE& image)
{
    const ST_BMP_RUN_TARGET target{bits, static_cast<size_t>(surface.GetPitch()), image.width, image.rows,
                                   image.fileDepth};
    const ST_BMP_RUN_RESULT result = DecodeBmpRunLength(stream, image.streamBytes, target);
    // The rows drawn stay: part of a picture tells more than none.
    if (result.end == EBmpRunEnd::Truncated)
        surface.SetError(PIM_ERR_FILE_TYPE, "Run-length BMP data ends after %d of its %d rows", result.row, image.rows);
    else if (result.end == EBmpRunEnd::Overlong)
        surface.SetError(PIM_ERR_FILE_TYPE, "Run-length BMP data of %d x %d goes on past its top row", image.width,
                         image.rows);
}

} // namespace

int DecodeBmp(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name)
{
    (void)name;
    // A load replaces everything the surface held, an earlier failure too.
    surface.ClearError();
    if (!data || size == 0)
        return surface.SetError(PIM_ERR_UNKNOWN, "Invalid buffer.");
    ST_BMP_IMAGE image;
    if (ReadHeaders(surface, data, size, image) != PIM_OK)
        return surface.GetError();

    if (surface.Create(image.width, image.rows, image.surfaceDepth, -1, nullptr, image.layout) != PIM_OK)
        return surface.GetError();
    if (image.fileDepth <= 8)
        SetBmpPalette(surface, data, image);
    uint8_t* bits = surface.LockBits();
    if (!bits)
        return surface.GetError() ? surface.GetError() : surface.SetError(PIM_ERR_OUT_OF_MEMORY, "pBits is NULL");

    const size_t pitch = static_cast<size_t>(surface.GetPitch());
    if (image.runLength) {
        DecodeStream(surface, data + image.dataOffset, bits, image);
        surface.UnlockBits();
        return surface.GetError();
    }
    const size_t copied = std::min(image.rowBytes, pitch);
    for (int32_t row = 0; row < image.rows; ++row) {
        const uint8_t* source = data + image.dataOffset + static_cast<size_t>(row) * image.filePitch;
        const int32_t y = image.bottomUp ? image.rows - 1 - row : row;
        uint8_t* target = bits + static_cast<size_t>(y) * pitch;
        if (image.copy == EBmpCopy::Masks)
            CopyMaskedRow(source, target, image);
        else
            std::memcpy(target, source, copied);
    }
    if (image.copy == EBmpCopy::RowsMaybeX || image.copy == EBmpCopy::RowsX)
        MakeOpaque(bits, surface, image.copy == EBmpCopy::RowsMaybeX);
    surface.UnlockBits();
    return surface.GetError();
}

int LoadBmp(CxDrawSurface& surface, const char* fileName, int argument)
{
    (void)argument;
    CxBuffer buffer;
    const int code = LoadFile(fileName, buffer);
    if (code != PIM_OK)
        return code; // the file layer has reported it
    return DecodeBmp(surface, buffer.GetData(), buffer.GetSize(), fileName);
}
