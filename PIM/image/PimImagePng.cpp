// PNG through libpng, for the pictures people and data authors make with
// today's tools. Read: every colour type and depth, interlaced or not, as
// 8-bit paletted or grey, 24-bit B, G, R or 32-bit B, G, R, A surfaces.
// Written: 24 and 32-bit surfaces as RGB and RGBA, 16-bit ones through a
// converted copy, paletted ones as paletted PNG at their own depth (so that
// the indices survive the round trip).
//
// libpng reports errors by longjmp. Each libpng session therefore runs in a
// function of its own that holds only plain data, with all its state in a
// record that outlives the jump: no C++ destructor is ever jumped over.
#include "PIM/image/PimImageReaders.h"

#include "PIM/core/CxMemory.h"
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"

#include "PIM/core/PimByteOrder.h"
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

// Far beyond any picture of the game, and small enough that a hostile
// header cannot make us allocate gigabytes.
constexpr png_uint_32 kMostPixelsPerSide = 16384;
constexpr uint64_t kMostPixels = uint64_t{1} << 26;
constexpr png_alloc_size_t kMostChunkBytes = 8u << 20;
constexpr png_uint_32 kMostAncillaryChunks = 256;
constexpr size_t kPaletteBytes = 768;
// Deflate gives at most about 1032 bytes for one; a little slack on top.
constexpr uint64_t kMostInflatedPerByte = 1100;
constexpr uint64_t kInflateSlack = 4096;

// A libpng error jumps here with its text.
struct ST_PNG_JUMP
{
    jmp_buf target;
    char message[200];
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message)
{
    auto* jump = static_cast<ST_PNG_JUMP*>(png_get_error_ptr(png));
    std::snprintf(jump->message, sizeof jump->message, "%s", message ? message : "unknown error");
    std::longjmp(jump->target, 1);
}

// Warnings are about things libpng has already mended or ignored.
void OnPngWarning(png_structp, png_const_charp) {}

struct ST_PNG_SOURCE
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count)
{
    auto* source = static_cast<ST_PNG_SOURCE*>(png_get_io_ptr(png));
    if (count > source->size - source->position)
        png_error(png, "the data ends early");
    std::memcpy(out, source->data + source->position, count);
    source->position += count;
}

// Walks the chunk list before libpng sees it. libpng allocates a chunk's
// buffer from the length the chunk claims before it reads the chunk, so a
// claim beyond the end of the file is refused here. Also counts the bytes
// of compressed pixel data: a header claiming more pixels than they could
// ever inflate to is refused before the surface's memory is asked for.
bool ScanChunks(const uint8_t* data, size_t size, uint64_t& pixelBytes)
{
    pixelBytes = 0;
    size_t at = 8;
    while (at < size) {
        if (size - at < 12)
            return false;
        const uint32_t length = ReadBe32(data + at);
        if (length > size - at - 12)
            return false;
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            pixelBytes += length;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            break;
        at += size_t{length} + 12;
    }
    return true;
}

// Everything a read changes lives here, outside the jumping function.
struct ST_PNG_READ
{
    ST_PNG_JUMP jump;
    ST_PNG_SOURCE source;
    uint64_t pixelBytes; // compressed, in all the IDAT chunks
    png_structp png;
    png_infop info;
    png_bytep* rows;
    CxDrawSurface* surface;
    bool locked;
    const char* problem; // what went wrong, when it was not libpng that said so
};

constexpr int kJumped = -1;

// Returns 0, kJumped after a libpng error, or our own code with `problem`.
int ReadPngImage(ST_PNG_READ& read)
{
    // The target is set first: libpng may report through our handler while
    // it is still creating its structures.
    if (setjmp(read.jump.target))
        return kJumped;
    read.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &read.jump, OnPngError, OnPngWarning);
    if (read.png)
        read.info = png_create_info_struct(read.png);
    if (!read.png || !read.info) {
        read.problem = "libpng could not start";
        return PIM_ERR_OUT_OF_MEMORY;
    }

    png_structp png = read.png;
    png_set_user_limits(png, kMostPixelsPerSide, kMostPixelsPerSide);
    png_set_chunk_malloc_max(png, kMostChunkBytes);
    png_set_chunk_cache_max(png, kMostAncillaryChunks);
    // Only the pixels, palette and transparency are drawn: every other
    // chunk is skipped unread rather than parsed and kept.
    static const png_byte kIgnored[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0"
                                       "sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnored, static_cast<int>(sizeof kIgnored / 5));
    png_set_read_fn(png, &read.source, ReadFromMemory);
    png_read_info(png, read.info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    png_get_IHDR(png, read.info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    if (uint64_t{width} * height > kMostPixels) {
        read.problem = "the picture is too large";
        return PIM_ERR_FILE_TYPE;
    }
    const uint64_t rowBits = uint64_t{width} * png_get_channels(png, read.info) * static_cast<uint32_t>(bitDepth);
    const uint64_t filtered = uint64_t{height} * (1 + (rowBits + 7) / 8);
    if (filtered > read.pixelBytes * kMostInflatedPerByte + kInflateSlack) {
        read.problem = "the pixel data is too short for the picture's size";
        return PIM_ERR_FILE_TYPE;
    }
    const bool transparency = png_get_valid(png, read.info, PNG_INFO_tRNS) != 0;
    if (bitDepth == 16)
        png_set_strip_16(png);
    // Everything with alpha (a tRNS chunk counts) becomes 32-bit B, G, R, A;
    // paletted and grey pictures without it keep one byte per pixel.
    int depth = 32;
    bool paletted = false;
    switch (colourType) {
    case PNG_COLOR_TYPE_PALETTE:
        if (transparency) {
            png_set_palette_to_rgb(png);
            png_set_tRNS_to_alpha(png);
        } else {
            png_set_packing(png);
            depth = 8;
            paletted = true;
        }
        break;
    case PNG_COLOR_TYPE_GRAY:
        if (bitDepth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        if (transparency) {
            png_set_tRNS_to_alpha(png);
            png_set_gray_to_rgb(png);
        } else {
            depth = 8;
        }
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        png_set_gray_to_rgb(png);
        break;
    case PNG_COLOR_TYPE_RGB:
        if (transparency)
            png_set_tRNS_to_alpha(png);
        else
            depth = 24;
        break;
    default: // RGBA
        break;
    }
    if (depth > 8)
        png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, read.info);
    if (png_get_rowbytes(png, read.info) != size_t{width} * static_cast<size_t>(depth / 8)) {
        read.problem = "the rows do not come out as expected";
        return PIM_ERR_FILE_TYPE;
    }

    CxDrawSurface& surface = *read.surface;
    if (surface.Create(static_cast<int32_t>(width), static_cast<int32_t>(height), depth) != PIM_OK)
        return surface.GetError();
    if (depth == 8) {
        uint8_t palette[kPaletteBytes] = {};
        png_colorp entries = nullptr;
        int count = 0;
        if (!paletted)
            std::memcpy(palette, GreyPalette(), kPaletteBytes);
        else if (png_get_PLTE(png, read.info, &entries, &count) && entries)
            for (int i = 0; i < count && i < 256; ++i) {
                palette[i * 3] = entries[i].red;
                palette[i * 3 + 1] = entries[i].green;
                palette[i * 3 + 2] = entries[i].blue;
            }
        surface.SetPalette(palette, kPaletteBytes);
    }
    uint8_t* bits = surface.LockBits();
    if (!bits) {
        if (surface.GetError() != PIM_OK)
            return surface.GetError(); // reported by the surface
        read.problem = "pBits is NULL";
        return PIM_ERR_OUT_OF_MEMORY;
    }
    read.locked = true;
    read.rows = static_cast<png_bytep*>(AllocateQuietly(sizeof(png_bytep) * height, __FILE__, __LINE__, false));
    if (!read.rows) {
        read.problem = "no memory for the row table";
        return PIM_ERR_OUT_OF_MEMORY;
    }
    const auto pitch = static_cast<size_t>(surface.GetPitch());
    for (png_uint_32 y = 0; y < height; ++y)
        read.rows[y] = bits + y * pitch;
    png_read_image(png, read.rows);
    return PIM_OK;
}

// The growing file image the writer fills.
struct ST_PNG_SINK
{
    uint8_t* data;
    size_t size;
    size_t capacity;
};

void WriteToMemory(png_structp png, png_bytep bytes, size_t count)
{
    auto* sink = static_cast<ST_PNG_SINK*>(png_get_io_ptr(png));
    if (count > sink->capacity - sink->size) {
        size_t capacity = sink->capacity ? sink->capacity : 4096;
        while (capacity - sink->size < count) {
            if (capacity > SIZE_MAX / 2)
                png_error(png, "the file would be too large");
            capacity *= 2;
        }
        auto* grown = static_cast<uint8_t*>(AllocateQuietly(capacity, __FILE__, __LINE__, false));
        if (!grown)
            png_error(png, "no memory for the file");
        if (sink->size)
            std::memcpy(grown, sink->data, sink->size);
        Free(sink->data);
        sink->data = grown;
        sink->capacity = capacity;
    }
    std::memcpy(sink->data + sink->size, bytes, count);
    sink->size += count;
}

void FlushMemory(png_structp) {}

// The pixels to write, as libpng is to see them.
struct ST_PNG_PIXELS
{
    const uint8_t* bits;
    size_t pitch;
    png_uint_32 width;
    png_uint_32 height;
    int bitDepth;
    int colourType;
    const ST_RGB* palette; // paletted only
    bool bgr;
};

struct ST_PNG_WRITE
{
    ST_PNG_JUMP jump;
    ST_PNG_SINK sink;
    png_structp png;
    png_infop info;
};

int WritePngImage(ST_PNG_WRITE& write, const ST_PNG_PIXELS& pixels)
{
    if (setjmp(write.jump.target))
        return kJumped;
    write.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &write.jump, OnPngError, OnPngWarning);
    if (write.png)
        write.info = png_create_info_struct(write.png);
    if (!write.png || !write.info) {
        std::snprintf(write.jump.message, sizeof write.jump.message, "libpng could not start");
        return kJumped;
    }

    png_structp png = write.png;
    png_set_write_fn(png, &write.sink, WriteToMemory, FlushMemory);
    png_set_IHDR(png, write.info, pixels.width, pixels.height, pixels.bitDepth, pixels.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (pixels.colourType == PNG_COLOR_TYPE_PALETTE) {
        png_color entries[256];
        const int count = 1 << pixels.bitDepth;
        for (int i = 0; i < count; ++i)
            entries[i] = {pixels.palette[i].red, pixels.palette[i].green, pixels.palette[i].blue};
        png_set_PLTE(png, write.info, entries, count);
    }
    png_write_info(png, write.info);
    if (pixels.bgr)
        png_set_bgr(png);
    for (png_uint_32 y = 0; y < pixels.height; ++y)
        png_write_row(png, pixels.bits + y * pixels.pitch);
    png_write_end(png, write.info);
    return PIM_OK;
}

bool HasAlphaLayout(const CxDrawSurface& surface)
{
    return surface.GetPixelLayout() == PIM_LAYOUT_4444 || surface.GetPixelLayout() == PIM_LAYOUT_TABLE;
}

} // namespace

int DecodePng(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name)
{
    if (!name)
        name = "";
    // A load replaces everything the surface held, an earlier failure too.
    surface.ClearError();
    if (!data || size == 0)
        return surface.SetError(PIM_ERR_UNKNOWN, "Could not read PNG data from %s", name);
    if (size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PNG file: %s", name);

    ST_PNG_READ read{};
    if (!ScanChunks(data, size, read.pixelBytes))
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PNG file %s: a chunk runs past the end", name);
    read.source = {data, size, 0};
    read.surface = &surface;
    const int result = ReadPngImage(read);
    if (read.locked)
        surface.UnlockBits();
    Free(read.rows);
    png_destroy_read_struct(&read.png, &read.info, nullptr);

    if (result == kJumped)
        return surface.SetError(PIM_ERR_FILE_TYPE, "Invalid PNG file %s: %s", name, read.jump.message);
    if (result != PIM_OK && read.problem)
        return surface.SetError(result, "Could not read PNG file %s: %s", name, read.problem);
    return result != PIM_OK ? result : surface.GetError();
}

int LoadPng(CxDrawSurface& surface, const char* fileName, int argument)
{
    (void)argument;
    CxBuffer buffer;
    const int code = LoadFile(fileName, buffer);
    if (code != PIM_OK)
        return code; // the file layer has reported it
    return DecodePng(surface, buffer.GetData(), buffer.GetSize(), fileName);
}

int SavePng(CxDrawSurface& surface, const char* fileName, int argument)
{
    (void)argument;
    if (!fileName)
        return surface.SetError(PIM_ERR_BAD_ARG, "SavePng: no file name");
    // The surface's own error says what is wrong with it; it stays.
    if (surface.GetError() != PIM_OK)
        return ReportError(PIM_ERR_BAD_ARG, "Cannot save %s: the surface has error %d", fileName, surface.GetError());
    if (!surface.IsCreated() || surface.GetWidth() <= 0 || surface.GetHeight() <= 0)
        return surface.SetError(PIM_ERR_BAD_ARG, "Surface is empty");

    // 16-bit pixels have no PNG form: a converted copy is written, and the
    // caller's surface is left as it was.
    CxDrawSurface converted;
    CxDrawSurface* source = &surface;
    if (surface.GetDepth() == 16) {
        if (converted.CreateCopy(surface) != PIM_OK ||
            converted.ConvertFormat(HasAlphaLayout(surface) ? 32 : 24, PIM_LAYOUT_DEFAULT) != PIM_OK)
            return surface.SetError(PIM_ERR_WRITE, "Could not convert the picture for %s", fileName);
        source = &converted;
    }
    const uint8_t* bits = source->LockBits();
    if (!bits)
        return surface.SetError(PIM_ERR_WRITE, "Could not reach the pixels to write %s", fileName);

    const int depth = source->GetDepth();
    ST_PNG_PIXELS pixels{};
    pixels.bits = bits;
    pixels.pitch = static_cast<size_t>(source->GetPitch());
    pixels.width = static_cast<png_uint_32>(source->GetWidth());
    pixels.height = static_cast<png_uint_32>(source->GetHeight());
    pixels.bitDepth = depth <= 8 ? depth : 8;
    pixels.colourType = depth <= 8 ? PNG_COLOR_TYPE_PALETTE : depth == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA;
    pixels.palette = source->GetPaletteEntries();
    pixels.bgr = depth > 8;

    ST_PNG_WRITE write{};
    const int result = WritePngImage(write, pixels);
    png_destroy_write_struct(&write.png, &write.info);
    source->UnlockBits();
    int code = PIM_OK;
    if (result != PIM_OK) {
        code = surface.SetError(PIM_ERR_WRITE, "Could not encode %s: %s", fileName, write.jump.message);
    } else {
        const int written = FsReplaceFile(fileName, write.sink.data, write.sink.size);
        if (written != PIM_OK)
            code = surface.SetError(PIM_ERR_WRITE, "Could not write %s (error %d)", fileName, written);
    }
    Free(write.sink.data);
    return code;
}
