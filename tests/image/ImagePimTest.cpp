// The engine's ".PIM" bitmaps: the checksum, the LZ scheme, and the reader
// over good files and over every kind of bad one. The files are made here by
// a small writer that computes its checksum the slow way, bit by bit.
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The checksum as the format defines it, without a table.
uint32_t BitwiseChecksum(const Bytes& data)
{
    uint32_t reg = 0;
    for (uint8_t byte : data) {
        reg ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    }
    return reg;
}

void Put32(Bytes& file, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put16(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

struct PimPicture
{
    uint32_t kind = 44;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pitch = 0;
    uint8_t method = 0;
    uint8_t depth = 8;
    uint8_t layout = 0;
    Bytes palette; // as written after the header
    Bytes pixels;  // unpacked, pitch x height
    Bytes packed;  // the data as written; empty: stored, or zlib for method 1
};

Bytes WritePim(const PimPicture& p)
{
    Bytes packed = p.packed;
    if (packed.empty() && p.method == 1) {
        uLongf size = compressBound(static_cast<uLong>(p.pixels.size()));
        packed.resize(size);
        EXPECT_EQ(compress(packed.data(), &size, p.pixels.data(), static_cast<uLong>(p.pixels.size())), Z_OK);
        packed.resize(size);
    } else if (packed.empty()) {
        packed = p.pixels;
    }
    Bytes file(44 + p.palette.size() + packed.size(), 0);
    Put32(file, 0, 0xA9B8C7D6u);
    Put32(file, 4, p.kind);
    Put32(file, 8, static_cast<uint32_t>(p.pixels.size()));
    Put32(file, 12, static_cast<uint32_t>(packed.size()));
    Put32(file, 16, BitwiseChecksum(p.pixels));
    Put32(file, 20, p.width);
    Put32(file, 24, p.height);
    Put32(file, 28, p.pitch);
    file[32] = p.method;
    file[33] = p.depth;
    file[34] = p.layout;
    std::copy(p.palette.begin(), p.palette.end(), file.begin() + 44);
    std::copy(packed.begin(), packed.end(), file.begin() + 44 + static_cast<ptrdiff_t>(p.palette.size()));
    return file;
}

Bytes Bits(CxDrawSurface& s)
{
    const uint8_t* bits = s.LockBits();
    Bytes out = bits ? Bytes(bits, bits + s.GetBitsSize()) : Bytes();
    if (bits)
        s.UnlockBits();
    return out;
}

// An 8-bit picture of `width` x `height`, stored.
PimPicture Plain8(uint32_t width, uint32_t height)
{
    PimPicture p;
    p.width = width;
    p.height = height;
    p.pitch = width;
    p.palette = RandomBytes(768, 5);
    p.pixels = RandomBytes(size_t{width} * height, 9);
    return p;
}

int Decode(CxDrawSurface& s, const Bytes& file, const char* name = "test.pim")
{
    return DecodePim(s, file.data(), file.size(), name);
}

} // namespace

TEST(ImagePimChecksum, IsTheBareTableWalkFromZero)
{
    const uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(PimChecksum(abc, 3), 0xCA6598D0u);
    EXPECT_EQ(PimChecksum(nullptr, 0), 0u);
    for (size_t size : {1u, 7u, 64u, 1000u, 65537u}) {
        const Bytes data = RandomBytes(size, static_cast<uint32_t>(size));
        EXPECT_EQ(PimChecksum(data.data(), data.size()), BitwiseChecksum(data)) << size;
    }
}

TEST(ImagePimLz, LiteralsAndReferencesThatRepeatTheirPattern)
{
    // The literal run 0x8003 "xyz", then 3 bytes back for 2 + 4 bytes.
    Bytes stream;
    Put16(stream, 0x8003);
    stream.insert(stream.end(), {'x', 'y', 'z'});
    Put16(stream, 3);
    Put16(stream, 2);
    PimPicture p;
    p.width = p.pitch = 9;
    p.height = 1;
    p.method = 2;
    p.palette = RandomBytes(768, 1);
    p.pixels = {'x', 'y', 'z', 'x', 'y', 'z', 'x', 'y', 'z'};
    p.packed = stream;
    CxDrawSurface s;
    ASSERT_EQ(Decode(s, WritePim(p)), PIM_OK);
    EXPECT_EQ(Bits(s), p.pixels);

    // Distance 1 repeats one byte; the largest distance reaches the start.
    Bytes run;
    Put16(run, 0x8001);
    run.push_back(7);
    Put16(run, 1);
    Put16(run, 0xFFFF);
    Bytes out(1 + 0xFFFF + 4);
    ASSERT_EQ(PimDecompressLz(run.data(), run.size(), out.data(), out.size()), PIM_OK);
    EXPECT_EQ(out, Bytes(out.size(), 7));

    // The farthest reference, 0x8000 back, reaches the very first byte.
    Bytes wide;
    Put16(wide, 0x8000 | 0x7FFF);
    wide.push_back(42);
    wide.insert(wide.end(), 0x7FFE, 0);
    Put16(wide, 0x8001);
    wide.push_back(0);
    Put16(wide, 0x8000);
    Put16(wide, 0);
    Bytes result(0x8000 + 4, 0xEE);
    ASSERT_EQ(PimDecompressLz(wide.data(), wide.size(), result.data(), result.size()), PIM_OK);
    EXPECT_EQ(Bytes(result.begin() + 0x8000, result.end()), Bytes({42, 0, 0, 0}));
}

TEST(ImagePimLz, MalformedStreamsAreRefusedWithoutOverrun)
{
    auto words = [](std::initializer_list<uint32_t> list) {
        Bytes out;
        for (uint32_t w : list)
            Put16(out, w);
        return out;
    };
    Bytes literalAb = words({0x8002});
    literalAb.insert(literalAb.end(), {'a', 'b'});
    auto then = [&](Bytes tail) {
        Bytes out = literalAb;
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
    };
    const struct
    {
        const char* what;
        Bytes stream;
        size_t outSize;
    } cases[] = {
        {"distance 0", then(words({0, 0})), 6},
        {"distance beyond the output", then(words({3, 0})), 6},
        {"length past the output", then(words({2, 1})), 6},
        {"literal past the input", words({0x8004, 0x6261}), 8},
        {"literal past the output", literalAb, 1},
        {"half a word", then({0x01}), 2},
        {"reference without its length", then(words({2})), 6},
        {"output left short", literalAb, 3},
        {"reference before any output", words({1, 0}), 4},
    };
    for (const auto& c : cases) {
        // Guard bytes after the output catch any write past it.
        Bytes out(c.outSize + 16, 0xA5);
        EXPECT_EQ(PimDecompressLz(c.stream.data(), c.stream.size(), out.data(), c.outSize), PIM_ERR_UNKNOWN)
            << c.what;
        EXPECT_EQ(Bytes(out.begin() + static_cast<ptrdiff_t>(c.outSize), out.end()), Bytes(16, 0xA5)) << c.what;
    }
}

TEST(ImagePimRead, StoredZlibAndBothPaletteKinds)
{
    // 16 bits in layout 2 through zlib: the layout byte is kept.
    {
        PimPicture p;
        p.width = 7;
        p.height = 5;
        p.pitch = 14;
        p.depth = 16;
        p.layout = PIM_LAYOUT_565;
        p.method = 1;
        p.pixels = RandomBytes(70, 3);
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, WritePim(p)), PIM_OK);
        EXPECT_EQ(s.GetDepth(), 16);
        EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_565);
        EXPECT_EQ(Bits(s), p.pixels);
    }
    // 24 bits stored, rows padded past their 9 bytes; unknown methods read as
    // stored.
    for (uint8_t method : {0, 7}) {
        PimPicture p;
        p.width = 3;
        p.height = 4;
        p.pitch = 12;
        p.depth = 24;
        p.method = method;
        p.pixels = RandomBytes(48, 4);
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, WritePim(p)), PIM_OK);
        EXPECT_EQ(s.GetPitch(), 12);
        EXPECT_EQ(Bits(s), p.pixels);
    }
    // Kind 44 at 4 bits: 16 entries, the rest of the palette untouched.
    {
        PimPicture p;
        p.width = 3;
        p.height = 2;
        p.pitch = 2;
        p.depth = 4;
        p.palette = RandomBytes(48, 6);
        p.pixels = {0x12, 0x30, 0xAB, 0xC0};
        CxDrawSurface s;
        const ST_RGB before = s.GetPaletteEntries()[16];
        ASSERT_EQ(Decode(s, WritePim(p)), PIM_OK);
        EXPECT_EQ(std::memcmp(s.GetPalette(), p.palette.data(), 48), 0);
        EXPECT_EQ(std::memcmp(&s.GetPaletteEntries()[16], &before, 3), 0);
        EXPECT_EQ(s.GetPixel(1, 0), 2u);
        EXPECT_EQ(s.GetPixel(2, 1), 0xCu);
    }
    // Kind 812 carries 256 entries at any depth, and the pixels follow them.
    for (uint8_t depth : {8, 32}) {
        PimPicture p = Plain8(4, 3);
        p.kind = 812;
        p.depth = depth;
        p.pitch = 4 * depth / 8;
        p.pixels = RandomBytes(size_t{p.pitch} * 3, 8);
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, WritePim(p)), PIM_OK) << int{depth};
        EXPECT_EQ(std::memcmp(s.GetPalette(), p.palette.data(), 768), 0);
        EXPECT_EQ(Bits(s), p.pixels);
    }
    // Kind 44 above 8 bits has no palette at all.
    {
        PimPicture p;
        p.width = p.height = 2;
        p.pitch = 6;
        p.depth = 24;
        p.pixels = RandomBytes(12, 2);
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, WritePim(p)), PIM_OK);
        EXPECT_EQ(Bits(s), p.pixels);
    }
}

TEST(ImagePimRead, BadFilesFailWithOneReportAndNoHugeAllocation)
{
    const Bytes good = WritePim(Plain8(5, 4));
    auto with = [&](size_t offset, uint32_t value) {
        Bytes file = good;
        Put32(file, offset, value);
        return file;
    };
    auto withByte = [&](size_t offset, uint8_t value) {
        Bytes file = good;
        file[offset] = value;
        return file;
    };
    Bytes longer = good;
    longer.push_back(0);
    Bytes corruptZlib;
    {
        PimPicture p = Plain8(5, 4);
        p.method = 1;
        corruptZlib = WritePim(p);
        corruptZlib[44 + 768 + 3] ^= 0x55;
    }
    Bytes shortZlib;
    {
        PimPicture p = Plain8(5, 4);
        p.method = 1;
        Bytes fewer(p.pixels.begin(), p.pixels.end() - 1);
        uLongf size = compressBound(static_cast<uLong>(fewer.size()));
        p.packed.resize(size);
        compress(p.packed.data(), &size, fewer.data(), static_cast<uLong>(fewer.size()));
        p.packed.resize(size);
        shortZlib = WritePim(p);
    }
    Bytes badLz;
    {
        PimPicture p = Plain8(5, 4);
        p.method = 2;
        Put16(p.packed, 0x8001);
        p.packed.push_back(1);
        Put16(p.packed, 2); // two bytes back with one written
        Put16(p.packed, 15);
        badLz = WritePim(p);
    }
    // Headers that pass every single-field test yet ask for 2 GB from a few bytes.
    Bytes hugeStored;
    Bytes hugeZlib;
    Bytes hugeLz;
    {
        PimPicture p;
        p.kind = 812;
        p.depth = 8;
        p.palette = Bytes(768, 0);
        p.packed = Bytes(16, 0);
        Bytes file = WritePim(p);
        Put32(file, 8, 0x7FFF0000u);
        Put32(file, 20, 0x7FFF);
        Put32(file, 24, 0x10000);
        Put32(file, 28, 0x7FFF);
        hugeStored = hugeZlib = hugeLz = file;
        hugeZlib[32] = 1;
        hugeLz[32] = 2;
    }
    Bytes badCrc = with(16, BitwiseChecksum(Plain8(5, 4).pixels) ^ 1);

    const struct
    {
        const char* what;
        Bytes file;
        int code;
        const char* message;
    } cases[] = {
        {"shorter than a header", Bytes(good.begin(), good.begin() + 43), PIM_ERR_FILE_TYPE, "Invalid PIM file"},
        {"magic", with(0, 0xA9B8C7D7u), PIM_ERR_FILE_TYPE, "Invalid PIM file"},
        {"header kind", with(4, 45), PIM_ERR_FILE_TYPE, "Invalid Header size for PIM bitmap"},
        {"uncompressed size", with(8, 21), PIM_ERR_FILE_TYPE, "Invalid uncompressed size for PIM bitmap"},
        {"one byte longer", longer, PIM_ERR_FILE_TYPE, "Invalid compressed size for PIM bitmap: test.pim"},
        {"one byte shorter", Bytes(good.begin(), good.end() - 1), PIM_ERR_FILE_TYPE,
         "Invalid compressed size for PIM bitmap: test.pim"},
        {"depth 7", withByte(33, 7), PIM_ERR_FILE_TYPE, "Invalid PIM bitmap"},
        {"depth 0", withByte(33, 0), PIM_ERR_FILE_TYPE, "Invalid PIM bitmap"},
        {"layout 10", withByte(34, 10), PIM_ERR_FILE_TYPE, "Invalid PIM bitmap"},
        {"pitch shorter than a row", with(20, 6), PIM_ERR_FILE_TYPE, "Invalid PIM bitmap"},
        {"negative width", with(20, 0xFFFFFFFBu), PIM_ERR_FILE_TYPE, "Invalid PIM bitmap"},
        {"stored data short of the image", hugeStored, PIM_ERR_FILE_TYPE, "shorter than the image"},
        {"zlib claim beyond any stream", hugeZlib, PIM_ERR_UNKNOWN, "Could not decompress PIM image data from"},
        {"LZ claim beyond any stream", hugeLz, PIM_ERR_UNKNOWN, "Could not decompress PIM image data from"},
        {"corrupt zlib", corruptZlib, PIM_ERR_UNKNOWN, "Could not decompress PIM image data from test.pim"},
        {"zlib a byte short", shortZlib, PIM_ERR_UNKNOWN, "Could not decompress PIM image data from test.pim"},
        {"bad LZ", badLz, PIM_ERR_UNKNOWN, "Could not decompress PIM image data from test.pim"},
        {"checksum", badCrc, PIM_ERR_CRC, "PIM Bitmap failed crc check"},
        {"no rows", with(24, 0), PIM_ERR_FILE_TYPE, "Invalid uncompressed size"},
    };
    for (const auto& c : cases) {
        ErrorRecorder errors;
        CxDrawSurface s;
        EXPECT_EQ(Decode(s, c.file), c.code) << c.what;
        EXPECT_EQ(s.GetError(), c.code) << c.what;
        ASSERT_EQ(errors.errors.size(), 1u) << c.what;
        EXPECT_NE(errors.errors[0].message.find(c.message), std::string::npos)
            << c.what << ": " << errors.errors[0].message;
        EXPECT_LT(s.GetBitsSize(), size_t{1} << 20) << c.what;
    }

    // A failed checksum keeps the pixels, as they are.
    CxDrawSurface s;
    ASSERT_EQ(Decode(s, badCrc), PIM_ERR_CRC);
    EXPECT_EQ(Bits(s), Plain8(5, 4).pixels);

    // An image without rows has no bits to hold it.
    PimPicture empty = Plain8(5, 0);
    CxDrawSurface none;
    EXPECT_EQ(Decode(none, WritePim(empty)), PIM_ERR_OUT_OF_MEMORY);
}

TEST(ImagePimLoad, ReadsThroughTheFileLayer)
{
    TempFolder folder;
    const Bytes file = WritePim(Plain8(6, 2));
    const std::string path = folder.Write("room.pim", std::string(file.begin(), file.end()));
    CxDrawSurface s;
    ASSERT_EQ(LoadPim(s, path.c_str(), 0), PIM_OK);
    EXPECT_EQ(Bits(s), Plain8(6, 2).pixels);

    // The file layer's own code comes back unchanged.
    CxBuffer buffer;
    const std::string missing = folder / "missing.pim";
    const int layerCode = LoadFile(missing.c_str(), buffer);
    ASSERT_NE(layerCode, PIM_OK);
    CxDrawSurface t;
    EXPECT_EQ(LoadPim(t, missing.c_str(), 0), layerCode);
}
