// Targa pictures: read (raw and run-length, colour-mapped, true-colour and
// grey) and written (screenshots, raw or run-length).
//
// Reading treats the file as hostile. The header decides how many bytes the
// picture needs; a raw picture must have them all, a run-length one must
// have enough packets to possibly fill the picture, and both are checked
// before the bits are allocated, so a 20-byte file cannot claim a gigabyte.
// Decoding is then bounded by the file on one side and the bits on the
// other. Pixels keep the file's byte order (blue, green, red[, alpha]),
// which is the surface's own.
//
// Writing builds the whole file in memory and hands it to the file layer's
// atomic replace: a full disk or a failing file system leaves the old file
// and an error, never half a picture and a success. The source surface is
// only read: a screenshot is taken from the live back buffer, which must not
// be converted in place (and a 5-6-5 to 5-5-5 round trip would lose bits).
#include "PIM/image/PimImageReaders.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimByteOrder.h"
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr size_t kHeaderSize = 18;
constexpr size_t kPaletteEntries = 256;
// Extension and developer-area offsets (both 0), then the signature with its
// terminating zero.
constexpr char kSignature[] = "TRUEVISION-XFILE.";
constexpr size_t kFooterSize = 8 + sizeof kSignature;
constexpr size_t kMaxPacket = 128;
// Three equal pixels are the shortest run worth a packet of its own.
constexpr size_t kMinRun = 3;

enum : uint8_t
{
    kTypeNone = 0,
    kTypeMapped = 1,
    kTypeTrueColour = 2,
    kTypeGrey = 3,
    kTypeRleMapped = 9,
    kTypeRleTrueColour = 10,
    kTypeRleGrey = 11,
    kRleBit = 8,
};

constexpr uint8_t kDescriptorTopLeft = 32;

struct ST_TGA_HEADER
{
    uint8_t idLength = 0;
    uint8_t mapType = 0;
    uint8_t imageType = 0;
    uint32_t mapFirst = 0;
    uint32_t mapLength = 0;
    uint8_t mapEntryBits = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;
};

ST_TGA_HEADER ReadHeader(const uint8_t* p)
{
    ST_TGA_HEADER h;
    h.idLength = p[0];
    h.mapType = p[1];
    h.imageType = p[2];
    h.mapFirst = ReadLe16(p + 3);
    h.mapLength = ReadLe16(p + 5);
    h.mapEntryBits = p[7];
    // The origin (8..11) is a screen position, nothing to do with the pixels.
    h.width = ReadLe16(p + 12);
    h.height = ReadLe16(p + 14);
    h.depth = p[16];
    h.descriptor = p[17];
    return h;
}

bool IsRunLength(uint8_t type)
{
    return type == kTypeRleMapped || type == kTypeRleTrueColour || type == kTypeRleGrey;
}

bool IsKnownType(uint8_t type)
{
    return type == kTypeMapped || type == kTypeTrueColour || type == kTypeGrey || IsRunLength(type);
}

// 15-bit files are 5-5-5 in two bytes, which is layout 1 at 16 bits.
bool IsReadableDepth(int depth)
{
    return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

// The file's colour map into the palette at its first entry. Entries past
// index 255 have nowhere to go and are dropped; entries of unusual sizes
// leave the palette alone. Widening follows the engine's pixel rule (a shift,
// no bit replication).
void ReadColourMap(const uint8_t* map, const ST_TGA_HEADER& h, ST_RGB* palette)
{
    const size_t entryBytes = (size_t{h.mapEntryBits} + 7) / 8;
    for (uint32_t i = 0; i < h.mapLength && h.mapFirst + i < kPaletteEntries; ++i) {
        const uint8_t* e = map + i * entryBytes;
        ST_RGB& out = palette[h.mapFirst + i];
        switch (h.mapEntryBits) {
        case 15:
        case 16: {
            const uint32_t v = ReadLe16(e);
            out = {static_cast<uint8_t>(((v >> 10) & 31) << 3), static_cast<uint8_t>(((v >> 5) & 31) << 3),
                   static_cast<uint8_t>((v & 31) << 3)};
            break;
        }
        case 24:
        case 32:
            out = {e[2], e[1], e[0]};
            break;
        default:
            return;
        }
    }
}

// Packets until `outSize` bytes are written; a packet that runs past the
// picture is cut at its end. False when the input runs out first (what came
// stays in `out`).
bool DecodeRunLength(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize, size_t pixelBytes)
{
    size_t pos = 0;
    size_t written = 0;
    while (written < outSize) {
        if (pos >= inSize)
            return false;
        const uint8_t packet = in[pos++];
        const size_t room = (outSize - written) / pixelBytes;
        const size_t count = std::min<size_t>((packet & 127u) + 1u, room);
        if (packet & 128u) {
            if (inSize - pos < pixelBytes)
                return false;
            const uint8_t* pixel = in + pos;
            pos += pixelBytes;
            if (pixelBytes == 1) {
                std::memset(out + written, *pixel, count);
            } else {
                for (size_t i = 0; i < count; ++i)
                    std::memcpy(out + written + i * pixelBytes, pixel, pixelBytes);
            }
            written += count * pixelBytes;
        } else {
            const size_t packetBytes = ((packet & 127u) + 1u) * pixelBytes;
            const size_t present = std::min(inSize - pos, packetBytes);
            const size_t copied = std::min(present, count * pixelBytes);
            std::memcpy(out + written, in + pos, copied);
            written += copied;
            pos += present;
            if (copied < count * pixelBytes)
                return false;
        }
    }
    return true;
}

// The descriptor's origin bits: 4 is right-to-left, 5 top-to-bottom. Values
// of 64 and above (interleaved rows) were never flipped and still are not.
void Orient(CxDrawSurface& surface, uint8_t descriptor)
{
    if (descriptor >= 64)
        return;
    const bool fromRight = (descriptor & 16) != 0;
    const bool fromTop = (descriptor & 32) != 0;
    if (!fromTop)
        surface.FlipVertical(nullptr);
    if (fromRight)
        surface.FlipHorizontal(nullptr);
}

// --- writing -------------------------------------------------------------------------------

// The run-length form of `count` pixels into at most `capacity` bytes: runs
// of three or more equal pixels become run packets, everything between them
// raw packets of up to 128, and packets cross row ends. 0 when it does not
// fit, which is when raw pixels are the better choice anyway.
size_t EncodeRunLength(const uint8_t* pixels, size_t count, size_t pixelBytes, uint8_t* out, size_t capacity)
{
    size_t used = 0;
    size_t pendingStart = 0;
    size_t pending = 0;
    auto flush = [&]() {
        if (pending == 0)
            return true;
        const size_t bytes = 1 + pending * pixelBytes;
        if (bytes > capacity - used)
            return false;
        out[used] = static_cast<uint8_t>(pending - 1);
        std::memcpy(out + used + 1, pixels + pendingStart * pixelBytes, pending * pixelBytes);
        used += bytes;
        pending = 0;
        return true;
    };
    for (size_t i = 0; i < count;) {
        const uint8_t* pixel = pixels + i * pixelBytes;
        size_t run = 1;
        const size_t limit = std::min(kMaxPacket, count - i);
        while (run < limit && std::memcmp(pixel, pixel + run * pixelBytes, pixelBytes) == 0)
            ++run;
        if (run >= kMinRun) {
            if (!flush() || 1 + pixelBytes > capacity - used)
                return 0;
            out[used] = static_cast<uint8_t>((run - 1) | 128u);
            std::memcpy(out + used + 1, pixel, pixelBytes);
            used += 1 + pixelBytes;
            i += run;
            continue;
        }
        if (pending == 0)
            pendingStart = i;
        ++pending;
        ++i;
        if (pending == kMaxPacket && !flush())
            return 0;
    }
    return flush() ? used : 0;
}

// The surface's rows, packed, top row first, as the file holds them: 16-bit
// pixels in layout 1 and depths below 8 widened to one index a byte. Only
// the source's bits are read.
void PackPixels(CxDrawSurface& source, const uint8_t* bits, int fileDepth, uint8_t* out)
{
    const int32_t width = source.GetWidth();
    const int depth = source.GetDepth();
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(fileDepth / 8);
    ST_PIXEL_FORMAT layout1;
    layout1.depth = 16;
    layout1.layout = PIM_LAYOUT_555;
    SetChannelWidths(layout1);
    const bool convert16 = depth == 16 && source.GetPixelLayout() != PIM_LAYOUT_555;
    for (int32_t y = 0; y < source.GetHeight(); ++y) {
        const uint8_t* row = bits + static_cast<ptrdiff_t>(y) * source.GetPitch();
        uint8_t* dst = out + static_cast<size_t>(y) * rowBytes;
        if (depth < 8) {
            for (int32_t x = 0; x < width; ++x)
                dst[x] = static_cast<uint8_t>(ReadPixel(row, x, depth));
        } else if (convert16) {
            // The pixel rules ConvertLayout16 and ConvertFormat follow, so
            // the file holds what converting the surface would have given.
            for (int32_t x = 0; x < width; ++x)
                WritePixel(dst, x, 16, PackPixel(layout1, SplitPixel(source.GetFormat(), ReadPixel(row, x, 16))));
        } else {
            std::memcpy(dst, row, rowBytes);
        }
    }
}

void WriteHeader(uint8_t* p, int32_t width, int32_t height, int depth, bool runLength)
{
    std::memset(p, 0, kHeaderSize);
    const bool mapped = depth == 8;
    p[1] = mapped ? 1 : 0;
    p[2] = static_cast<uint8_t>((mapped ? kTypeMapped : kTypeTrueColour) | (runLength ? kRleBit : 0));
    if (mapped) {
        WriteLe16(p + 5, kPaletteEntries);
        p[7] = 24;
    }
    WriteLe16(p + 12, static_cast<uint32_t>(width));
    WriteLe16(p + 14, static_cast<uint32_t>(height));
    p[16] = static_cast<uint8_t>(depth);
    p[17] = kDescriptorTopLeft;
}

// The whole file for `source` into `file`, of which the first `fileSize`
// bytes are used; 0, or an error already reported.
int BuildTargaFile(CxDrawSurface& source, bool runLength, CxBuffer& file, size_t& fileSize)
{
    const int32_t width = source.GetWidth();
    const int32_t height = source.GetHeight();
    const int fileDepth = source.GetDepth() < 8 ? 8 : source.GetDepth();
    const size_t pixelBytes = static_cast<size_t>(fileDepth / 8);
    const uint64_t rawBytes = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) * pixelBytes;
    const size_t paletteBytes = fileDepth == 8 ? kPaletteEntries * 3 : 0;
    const uint64_t fileBytes = kHeaderSize + paletteBytes + rawBytes + kFooterSize;
    if (fileBytes > CxBuffer::kMaxSize || !file.Resize(static_cast<size_t>(fileBytes)))
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %llu bytes for a Targa file",
                           static_cast<unsigned long long>(fileBytes));
    uint8_t* p = file.GetData();
    uint8_t* pixels = p + kHeaderSize + paletteBytes;
    {
        const uint8_t* bits = source.LockBits();
        if (!bits)
            return source.GetError() ? source.GetError() : ReportError(PIM_ERR_OUT_OF_MEMORY, "pBits is NULL");
        PackPixels(source, bits, fileDepth, pixels);
        source.UnlockBits();
    }
    if (paletteBytes > 0) {
        const ST_RGB* palette = source.GetPaletteEntries();
        for (size_t i = 0; i < kPaletteEntries; ++i) {
            p[kHeaderSize + i * 3] = palette[i].blue;
            p[kHeaderSize + i * 3 + 1] = palette[i].green;
            p[kHeaderSize + i * 3 + 2] = palette[i].red;
        }
    }

    size_t bodyBytes = static_cast<size_t>(rawBytes);
    bool encoded = false;
    if (runLength) {
        // Only a strictly smaller encoding is kept; otherwise the raw pixels
        // already in place stand, under a header without the run-length bit.
        CxBuffer scratch;
        if (!scratch.Resize(bodyBytes))
            return ReportError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %zu bytes to encode a Targa file",
                               bodyBytes);
        const size_t used =
            EncodeRunLength(pixels, bodyBytes / pixelBytes, pixelBytes, scratch.GetData(), bodyBytes - 1);
        if (used > 0) {
            std::memcpy(pixels, scratch.GetData(), used);
            bodyBytes = used;
            encoded = true;
        }
    }
    WriteHeader(p, width, height, fileDepth, encoded);
    uint8_t* footer = pixels + bodyBytes;
    std::memset(footer, 0, 8);
    std::memcpy(footer + 8, kSignature, sizeof kSignature);
    // The buffer was sized for the raw picture; the file is what was used.
    fileSize = static_cast<size_t>(footer + kFooterSize - p);
    return PIM_OK;
}

} // namespace

int DecodeTarga(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name)
{
    const char* shown = name ? name : "";
    if (!data || size == 0)
        return surface.SetError(PIM_ERR_UNKNOWN, "Could not read TARGA header from buffer.");
    if (size < kHeaderSize)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Targa file is truncated: %s", shown);
    const ST_TGA_HEADER h = ReadHeader(data);
    if (h.imageType == kTypeNone)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Targa file does not contain image data!");
    if (!IsKnownType(h.imageType))
        return surface.SetError(PIM_ERR_FILE_TYPE, "Unsupported Targa file type!");
    // Anything else cannot be stored as whole pixels (and a depth of 0 would
    // make every run-length packet empty).
    if (!IsReadableDepth(h.depth))
        return surface.SetError(PIM_ERR_FILE_TYPE, "Unsupported Targa pixel depth %d: %s", h.depth, shown);

    const int depth = h.depth == 15 ? 16 : h.depth;
    const size_t pixelBytes = static_cast<size_t>(depth / 8);
    const uint64_t pitch = uint64_t{h.width} * pixelBytes;
    const uint64_t imageBytes = pitch * h.height;
    if (imageBytes > INT32_MAX)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Targa picture %u x %u is too large: %s", h.width, h.height,
                                shown);
    const uint64_t mapBytes = h.mapType == 1 ? uint64_t{h.mapLength} * ((h.mapEntryBits + 7u) / 8u) : 0;
    const uint64_t pixelStart = kHeaderSize + uint64_t{h.idLength} + mapBytes;
    if (pixelStart > size)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Targa file is truncated: %s", shown);
    const uint8_t* pixelData = data + pixelStart;
    const size_t available = size - static_cast<size_t>(pixelStart);
    // A packet of one byte and one pixel stands for at most 128 pixels.
    const uint64_t reachable = IsRunLength(h.imageType)
                                   ? (available + pixelBytes) / (pixelBytes + 1) * kMaxPacket * pixelBytes
                                   : available;
    if (imageBytes > reachable)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Targa file is truncated: %s", shown);

    if (surface.Create(static_cast<int32_t>(h.width), static_cast<int32_t>(h.height), depth,
                       static_cast<int32_t>(pitch), nullptr,
                       depth == 16 ? uint8_t{PIM_LAYOUT_555} : uint8_t{PIM_LAYOUT_DEFAULT}) != PIM_OK)
        return surface.GetError();
    if (h.mapType == 1) {
        ST_RGB palette[kPaletteEntries];
        std::memcpy(palette, surface.GetPaletteEntries(), sizeof palette);
        ReadColourMap(data + kHeaderSize + h.idLength, h, palette);
        surface.SetPalette(reinterpret_cast<const uint8_t*>(palette), sizeof palette);
    }
    if (h.imageType == kTypeGrey || h.imageType == kTypeRleGrey)
        surface.SetPalette(reinterpret_cast<const uint8_t*>(GreyPalette()), kPaletteEntries * 3);

    uint8_t* bits = surface.LockBits();
    if (!bits)
        return surface.GetError() ? surface.GetError() : surface.SetError(PIM_ERR_OUT_OF_MEMORY, "pBits is NULL!");
    bool complete = true;
    if (IsRunLength(h.imageType))
        complete = DecodeRunLength(pixelData, available, bits, static_cast<size_t>(imageBytes), pixelBytes);
    else
        std::memcpy(bits, pixelData, static_cast<size_t>(imageBytes));
    // What did arrive of a cut file is shown the right way up.
    Orient(surface, h.descriptor);
    surface.UnlockBits();
    if (!complete)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Targa file is truncated: %s", shown);
    return surface.GetError();
}

int LoadTarga(CxDrawSurface& surface, const char* fileName, int /*argument*/)
{
    CxBuffer file;
    const int code = LoadFile(fileName, file);
    if (code != PIM_OK)
        return code; // the file layer has reported it
    return DecodeTarga(surface, file.GetData(), file.GetSize(), fileName);
}

int SaveTarga(CxDrawSurface& surface, const char* fileName, int argument)
{
    if (!fileName || !*fileName)
        return ReportError(PIM_ERR_BAD_ARG, "SaveTarga: no file name");
    if (surface.GetWidth() <= 0 || surface.GetHeight() <= 0)
        return ReportError(PIM_ERR_BAD_ARG, "Surface is empty");
    if (surface.GetWidth() > 0xFFFF || surface.GetHeight() > 0xFFFF)
        return ReportError(PIM_ERR_BAD_ARG, "A Targa file cannot hold %d x %d pixels: %s", surface.GetWidth(),
                           surface.GetHeight(), fileName);
    // A surface with an error is refused as a source everywhere else too: its
    // pixels may be half a picture.
    if (surface.GetError() != PIM_OK)
        return surface.GetError();

    CxBuffer file;
    size_t fileSize = 0;
    int code = BuildTargaFile(surface, argument == 1, file, fileSize);
    if (code != PIM_OK)
        return code;
    const int reportsBefore = GetErrorCount();
    code = FsReplaceFile(fileName, file.GetData(), fileSize);
    if (code != PIM_OK && GetErrorCount() == reportsBefore)
        ReportError(code, "Could not save %s", fileName); // not every file system reports its own
    return code;
}
