// The engine's own bitmap files (".PIM"): a 44-byte little-endian header, a
// palette, then the rows top to bottom, stored, as one zlib stream or in the
// engine's LZ scheme, with a checksum of the unpacked rows.
//
// Files come from discs and downloads, so each one is treated as hostile.
// Every size in the header is checked against the bytes present, and against
// what its compression could possibly make of them, before the bits are
// allocated: a 44-byte file cannot make us allocate two gigabytes. Geometry
// that Create would refuse (depth, layout, a pitch shorter than a row, a
// block past 2 GB) is found here first and reported as a bad file, error 10:
// the caller did nothing wrong, the file is at fault, and one report with
// the file's name beats Create's anonymous 16.
#include "PIM/image/PimImageReaders.h"

#include "PIM/core/PimByteOrder.h"
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr uint32_t kMagic = 0xA9B8C7D6u;
constexpr size_t kHeaderSize = 44;
constexpr uint32_t kKindPlain = 44;
constexpr uint32_t kKindFullPalette = 812;
constexpr size_t kFullPaletteBytes = 768;

enum : uint8_t
{
    kMethodStored = 0,
    kMethodZlib = 1,
    kMethodLz = 2,
};

// The most output one byte of packed data can stand for. A 4-byte LZ back
// reference yields at most 0xFFFF + 4 bytes; deflate tops out near 1032:1.
// Claims beyond these cannot be honoured, so they are refused before the
// bits are allocated rather than after a failed decompression.
constexpr uint64_t kLzMaxExpansion = (0xFFFF + 4 + 3) / 4;
constexpr uint64_t kZlibMaxExpansion = 1032;
constexpr uint64_t kZlibFraming = 64;

struct ST_PIM_HEADER
{
    uint32_t magic = 0;
    uint32_t kind = 0;
    uint32_t uncompressed = 0;
    uint32_t compressed = 0;
    uint32_t checksum = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pitch = 0;
    uint8_t method = 0;
    uint8_t depth = 0;
    uint8_t layout = 0;
};

ST_PIM_HEADER ReadHeader(const uint8_t* p)
{
    ST_PIM_HEADER h;
    h.magic = ReadLe32(p);
    h.kind = ReadLe32(p + 4);
    h.uncompressed = ReadLe32(p + 8);
    h.compressed = ReadLe32(p + 12);
    h.checksum = ReadLe32(p + 16);
    h.width = ReadLe32(p + 20);
    h.height = ReadLe32(p + 24);
    h.pitch = ReadLe32(p + 28);
    h.method = p[32];
    h.depth = p[33];
    h.layout = p[34];
    return h;
}

// The same rules Create applies, so that Create is only ever handed geometry
// it accepts and a bad file is reported as one.
bool GeometryFits(const ST_PIM_HEADER& h)
{
    if (h.width > INT32_MAX || h.height > INT32_MAX || h.pitch > INT32_MAX)
        return false;
    int32_t rowBytes = 0;
    if (!IsValidDepth(h.depth) || !IsValidLayout(h.layout) ||
        !PitchFor(static_cast<int32_t>(h.width), h.depth, rowBytes))
        return false;
    return static_cast<int64_t>(h.pitch) >= rowBytes && uint64_t{h.pitch} * h.height <= INT32_MAX;
}

// Kind 812 always carries 256 entries, whatever the depth; kind 44 carries
// one entry per index value, and none above 8 bits.
size_t PaletteBytes(const ST_PIM_HEADER& h)
{
    if (h.kind == kKindFullPalette)
        return kFullPaletteBytes;
    if (h.depth <= 8)
        return size_t{3} << h.depth;
    return 0;
}

// Whether `packed` bytes of this method can possibly unpack to `size` bytes.
bool SizePlausible(uint8_t method, uint64_t packed, uint64_t size)
{
    switch (method) {
    case kMethodZlib:
        return size <= packed * kZlibMaxExpansion + kZlibFraming;
    case kMethodLz:
        return size <= packed * kLzMaxExpansion;
    default:
        return packed >= size;
    }
}

// zlib's crc32 inverts the register on the way in and on the way out; feeding
// it an all-ones register and inverting its answer leaves the bare table walk
// from 0 that the format uses, at zlib's speed.
uint32_t ChecksumChunked(const uint8_t* data, size_t size)
{
    uLong crc = 0xFFFFFFFFul;
    while (size > 0) {
        const size_t chunk = std::min<size_t>(size, 1u << 30);
        crc = crc32(crc, data, static_cast<uInt>(chunk));
        data += chunk;
        size -= chunk;
    }
    return static_cast<uint32_t>(~crc);
}

} // namespace

uint32_t PimChecksum(const uint8_t* data, size_t size)
{
    if (!data || size == 0)
        return 0;
    return ChecksumChunked(data, size);
}

int PimDecompressLz(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize)
{
    if ((!in && inSize) || (!out && outSize))
        return PIM_ERR_UNKNOWN;
    size_t pos = 0;
    size_t written = 0;
    while (pos < inSize) {
        if (inSize - pos < 2)
            return PIM_ERR_UNKNOWN; // half a word
        const uint32_t word = ReadLe16(in + pos);
        if (word <= 0x8000) {
            if (inSize - pos < 4)
                return PIM_ERR_UNKNOWN; // a back reference without its length
            const size_t distance = word;
            const size_t length = size_t{ReadLe16(in + pos + 2)} + 4;
            pos += 4;
            if (distance == 0 || distance > written || length > outSize - written)
                return PIM_ERR_UNKNOWN;
            // An overlapping reference repeats its pattern. Pieces of at most
            // `distance` bytes never overlap their own source, so each can be
            // one memcpy while the whole still reads bytes it has just made.
            uint8_t* dst = out + written;
            for (size_t done = 0; done < length;) {
                const size_t piece = std::min(distance, length - done);
                std::memcpy(dst + done, dst + done - distance, piece);
                done += piece;
            }
            written += length;
        } else {
            const size_t count = word & 0x7FFF;
            pos += 2;
            if (count > inSize - pos || count > outSize - written)
                return PIM_ERR_UNKNOWN;
            std::memcpy(out + written, in + pos, count);
            pos += count;
            written += count;
        }
    }
    // A stream that stops short would leave rows of zeros passing as pixels.
    return written == outSize ? PIM_OK : PIM_ERR_UNKNOWN;
}

int DecodePim(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name)
{
    const char* shown = name ? name : "";
    if (!data || size < kHeaderSize)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PIM file");
    const ST_PIM_HEADER h = ReadHeader(data);
    if (h.magic != kMagic)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PIM file");
    if (h.kind != kKindPlain && h.kind != kKindFullPalette)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid Header size for PIM bitmap");
    if (uint64_t{h.pitch} * h.height != h.uncompressed)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid uncompressed size for PIM bitmap");
    if (!GeometryFits(h))
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PIM bitmap %u x %u x %d (pitch %u, layout %d): %s",
                                h.width, h.height, h.depth, h.pitch, h.layout, shown);
    const size_t paletteBytes = PaletteBytes(h);
    if (uint64_t{kHeaderSize} + paletteBytes + h.compressed != size)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid compressed size for PIM bitmap: %s", shown);
    if (!SizePlausible(h.method, h.compressed, h.uncompressed)) {
        if (h.method == kMethodZlib || h.method == kMethodLz)
            return surface.SetError(PIM_ERR_UNKNOWN, "Could not decompress PIM image data from %s", shown);
        return surface.SetError(PIM_ERR_FILE_TYPE, "PIM image data is shorter than the image: %s", shown);
    }

    if (surface.Create(static_cast<int32_t>(h.width), static_cast<int32_t>(h.height), h.depth,
                       static_cast<int32_t>(h.pitch), nullptr, h.layout) != PIM_OK)
        return surface.GetError();
    if (surface.SetPixelLayout(h.layout) != PIM_OK)
        return surface.GetError();
    if (paletteBytes > 0)
        surface.SetPalette(data + kHeaderSize, paletteBytes);

    uint8_t* bits = surface.LockBits();
    if (!bits)
        return surface.GetError() ? surface.GetError() : surface.SetError(PIM_ERR_OUT_OF_MEMORY, "pBits is NULL");
    const uint8_t* packed = data + kHeaderSize + paletteBytes;
    int code = PIM_OK;
    switch (h.method) {
    case kMethodZlib: {
        uLongf produced = h.uncompressed;
        if (uncompress(bits, &produced, packed, h.compressed) != Z_OK || produced != h.uncompressed)
            code = PIM_ERR_UNKNOWN;
        break;
    }
    case kMethodLz:
        code = PimDecompressLz(packed, h.compressed, bits, h.uncompressed);
        break;
    default:
        // Unknown methods are read as stored; any bytes past the image are
        // ignored, as they always were.
        std::memcpy(bits, packed, h.uncompressed);
        break;
    }
    if (code != PIM_OK)
        surface.SetError(code, "Could not decompress PIM image data from %s", shown);
    else if (PimChecksum(bits, h.uncompressed) != h.checksum)
        code = surface.SetError(PIM_ERR_CRC, "PIM Bitmap failed crc check");
    surface.UnlockBits();
    return code;
}

int LoadPim(CxDrawSurface& surface, const char* fileName, int /*argument*/)
{
    CxBuffer file;
    const int code = LoadFile(fileName, file);
    if (code != PIM_OK)
        return code; // the file layer has reported it
    return DecodePim(surface, file.GetData(), file.GetSize(), fileName);
}
