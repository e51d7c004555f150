// The BMP reader over files made here: every depth both ways up, the long
// headers and bit masks, each hostile header, and cut or damaged files.
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <string>
#include <vector>

namespace {

struct BmpFile
{
    int32_t width = 1;
    int32_t height = 1; // negative: top-down
    int depth = 8;
    uint32_t headerBytes = 40;
    uint32_t compression = 0;
    uint32_t masks[4] = {};   // red, green, blue, alpha (compression 3)
    uint32_t coloursUsed = 0;
    uint32_t imageSize = 0;
    size_t paletteEntries = 0; // entry i is red i, green 2i, blue 3i
    size_t gap = 0;            // bytes between the palette and the pixels
    bool offsetField = true;
    std::vector<uint8_t> rows; // top-down, RowBytes(width, depth) each
};

size_t RowBytes(int32_t width, int depth)
{
    return (static_cast<size_t>(width) * depth + 7) / 8;
}

void Put(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> Write(const BmpFile& f)
{
    const bool shortMasks = f.compression == 3 && f.headerBytes < 52;
    const size_t paletteAt = 14 + f.headerBytes + (shortMasks ? 12 : 0);
    const size_t dataAt = paletteAt + 4 * f.paletteEntries + f.gap;
    // Without rows given, no pixels are written (headers claiming huge sizes).
    const size_t rowBytes = f.rows.empty() ? 0 : RowBytes(f.width, f.depth), pitch = (rowBytes + 3) / 4 * 4;
    const size_t rows = f.rows.empty() ? 0 : f.rows.size() / std::max<size_t>(rowBytes, 1);
    std::vector<uint8_t> out(dataAt + pitch * rows);
    out[0] = 'B';
    out[1] = 'M';
    Put(out, 2, static_cast<uint32_t>(out.size()), 4);
    Put(out, 10, f.offsetField ? static_cast<uint32_t>(dataAt) : 0, 4);
    Put(out, 14, f.headerBytes, 4);
    Put(out, 18, static_cast<uint32_t>(f.width), 4);
    Put(out, 22, static_cast<uint32_t>(f.height), 4);
    Put(out, 26, 1, 2);
    Put(out, 28, static_cast<uint32_t>(f.depth), 2);
    Put(out, 30, f.compression, 4);
    Put(out, 34, f.imageSize, 4);
    Put(out, 46, f.coloursUsed, 4);
    const size_t masksAt = shortMasks ? 14 + f.headerBytes : 54;
    for (int i = 0; i < (f.headerBytes >= 56 || shortMasks ? (shortMasks ? 3 : 4) : 0); ++i)
        Put(out, masksAt + 4 * i, f.masks[i], 4);
    for (size_t i = 0; i < f.paletteEntries; ++i)
        Put(out, paletteAt + 4 * i, static_cast<uint32_t>((i << 16) | ((2 * i & 255) << 8) | (3 * i & 255)), 4);
    for (size_t r = 0; r < rows && rowBytes; ++r) {
        const size_t fileRow = f.height > 0 ? rows - 1 - r : r;
        std::copy_n(f.rows.begin() + static_cast<ptrdiff_t>(r * rowBytes), rowBytes,
                    out.begin() + static_cast<ptrdiff_t>(dataAt + fileRow * pitch));
    }
    return out;
}

std::vector<uint8_t> RandomRows(int32_t width, int32_t rows, int depth, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(RowBytes(width, depth) * static_cast<size_t>(rows < 0 ? -rows : rows));
    for (auto& b : bytes)
        b = static_cast<uint8_t>(random());
    return bytes;
}

int Decode(CxDrawSurface& s, const std::vector<uint8_t>& file)
{
    return DecodeBmp(s, file.data(), file.size(), "test.bmp");
}

// The surface holds exactly the rows given, top row first.
void ExpectPixels(CxDrawSurface& s, const BmpFile& f)
{
    const size_t rowBytes = RowBytes(f.width, f.depth);
    for (int32_t y = 0; y < s.GetHeight(); ++y)
        for (int32_t x = 0; x < s.GetWidth(); ++x)
            ASSERT_EQ(s.GetPixel(x, y), ReadPixel(&f.rows[y * rowBytes], x, f.depth)) << x << "," << y;
}

} // namespace

TEST(ImageBmp, ReadsEveryDepthBothWaysUp)
{
    ErrorRecorder quiet;
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        for (int32_t height : {5, -5}) {
            BmpFile f;
            f.width = 13;
            f.height = height;
            f.depth = depth;
            f.paletteEntries = depth <= 8 ? size_t{1} << depth : 0;
            f.rows = RandomRows(f.width, height, depth, static_cast<uint32_t>(depth * 100 + height));
            CxDrawSurface s;
            ASSERT_EQ(Decode(s, Write(f)), PIM_OK) << depth << " " << height;
            EXPECT_EQ(s.GetWidth(), 13);
            EXPECT_EQ(s.GetHeight(), 5);
            EXPECT_EQ(s.GetDepth(), depth);
            ExpectPixels(s, f);
            if (depth == 16) {
                EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_555);
            }
            if (depth <= 8) {
                const ST_RGB last = s.GetPaletteEntries()[(1 << depth) - 1];
                const int i = (1 << depth) - 1;
                EXPECT_EQ(last.red, i & 255);
                EXPECT_EQ(last.green, 2 * i & 255);
                EXPECT_EQ(last.blue, 3 * i & 255);
            }
        }
    }
}

TEST(ImageBmp, LongHeadersOffsetsAndMasks)
{
    ErrorRecorder quiet;
    // Long headers: the palette follows the header, the pixels sit where the
    // offset says even past a gap, and a short "colours used" palette ends
    // where the pixels begin.
    for (uint32_t header : {108u, 124u}) {
        BmpFile f;
        f.width = 6;
        f.height = 3;
        f.headerBytes = header;
        f.paletteEntries = 16;
        f.gap = 10;
        f.rows = RandomRows(6, 3, 8, header);
        for (auto& b : f.rows)
            b &= 15;
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Write(f)), PIM_OK);
        ExpectPixels(s, f);
        EXPECT_EQ(s.GetPaletteEntries()[15].blue, 45);
        EXPECT_EQ(s.GetPaletteEntries()[16].red, 0);
    }

    // Masks the surface has a layout for are kept; 5-6-5 with the masks after
    // a 40-byte header, 4-4-4-4 inside a long one.
    BmpFile f565;
    f565.width = 3;
    f565.height = 2;
    f565.depth = 16;
    f565.compression = 3;
    f565.masks[0] = 0xF800, f565.masks[1] = 0x07E0, f565.masks[2] = 0x001F;
    f565.rows = RandomRows(3, 2, 16, 7);
    CxDrawSurface s565;
    ASSERT_EQ(Decode(s565, Write(f565)), PIM_OK);
    EXPECT_EQ(s565.GetPixelLayout(), PIM_LAYOUT_565);
    ExpectPixels(s565, f565);
    BmpFile f4444 = f565;
    f4444.headerBytes = 56;
    f4444.masks[0] = 0x0F00, f4444.masks[1] = 0x00F0, f4444.masks[2] = 0x000F, f4444.masks[3] = 0xF000;
    CxDrawSurface s4444;
    ASSERT_EQ(Decode(s4444, Write(f4444)), PIM_OK);
    EXPECT_EQ(s4444.GetPixelLayout(), PIM_LAYOUT_4444);

    // Other masks are spread to 32-bit A, R, G, B: here red in the low byte,
    // a 2-bit alpha on top and a 6-bit blue.
    BmpFile odd;
    odd.width = 2;
    odd.height = -1;
    odd.depth = 32;
    odd.headerBytes = 124;
    odd.compression = 3;
    odd.masks[0] = 0x000000FF, odd.masks[1] = 0x0000FF00, odd.masks[2] = 0x003F0000, odd.masks[3] = 0xC0000000;
    odd.rows = {0x11, 0x22, 0x3F, 0x40, 0xFF, 0x00, 0x20, 0xC0};
    CxDrawSurface sOdd;
    ASSERT_EQ(Decode(sOdd, Write(odd)), PIM_OK);
    EXPECT_EQ(sOdd.GetPixel(0, 0), 0x551122FFu);
    EXPECT_EQ(sOdd.GetPixel(1, 0), 0xFFFF0081u);

    // Plain 32-bit pixels whose fourth byte is 0 everywhere are opaque; one
    // non-zero byte makes it alpha; explicit colour-only masks mean padding.
    BmpFile plain;
    plain.width = 2;
    plain.height = 1;
    plain.depth = 32;
    plain.rows = {1, 2, 3, 0, 4, 5, 6, 0};
    CxDrawSurface sPlain;
    ASSERT_EQ(Decode(sPlain, Write(plain)), PIM_OK);
    EXPECT_EQ(sPlain.GetPixel(1, 0), 0xFF060504u);
    plain.rows[3] = 9;
    ASSERT_EQ(Decode(sPlain, Write(plain)), PIM_OK);
    EXPECT_EQ(sPlain.GetPixel(0, 0), 0x09030201u);
    EXPECT_EQ(sPlain.GetPixel(1, 0), 0x00060504u);
    plain.compression = 3;
    plain.masks[0] = 0xFF0000, plain.masks[1] = 0xFF00, plain.masks[2] = 0xFF;
    ASSERT_EQ(Decode(sPlain, Write(plain)), PIM_OK);
    EXPECT_EQ(sPlain.GetPixel(0, 0), 0xFF030201u);

    // Without an offset, the pixels follow the palette; a missing padding
    // at the end of the last row is no fault.
    BmpFile bare;
    bare.width = 5;
    bare.height = 2;
    bare.paletteEntries = 256;
    bare.offsetField = false;
    bare.rows = RandomRows(5, 2, 8, 3);
    std::vector<uint8_t> file = Write(bare);
    file.resize(file.size() - 3);
    CxDrawSurface sBare;
    ASSERT_EQ(Decode(sBare, file), PIM_OK);
    ExpectPixels(sBare, bare);
}

TEST(ImageBmp, RefusesHostileHeaders)
{
    ErrorRecorder errors;
    BmpFile good;
    good.width = 4;
    good.height = 2;
    good.paletteEntries = 256;
    good.rows = RandomRows(4, 2, 8, 1);
    CxDrawSurface s;
    ASSERT_EQ(Decode(s, Write(good)), PIM_OK);

    EXPECT_EQ(DecodeBmp(s, nullptr, 0, "x"), PIM_ERR_UNKNOWN);
    std::vector<uint8_t> file = Write(good);
    file[1] = 'N';
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
    EXPECT_EQ(errors.errors.back().message, "Invalid BMP file. (4e42)");
    EXPECT_EQ(s.GetError(), PIM_ERR_FILE_TYPE);
    file = Write(good);
    file.resize(53);
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);

    auto refused = [&](const char* what, auto change) {
        BmpFile f = good;
        change(f);
        CxDrawSurface t;
        EXPECT_EQ(Decode(t, Write(f)), PIM_ERR_FILE_TYPE) << what;
        EXPECT_FALSE(t.IsCreated()) << what;
    };
    refused("257 colours", [](BmpFile& f) { f.coloursUsed = 257; });
    refused("image size", [](BmpFile& f) { f.imageSize = 4 * 2 + 1; });
    refused("INT_MIN rows", [](BmpFile& f) { f.height = INT32_MIN, f.rows.clear(); });
    refused("no rows", [](BmpFile& f) { f.height = 0; });
    refused("no width", [](BmpFile& f) { f.width = 0; });
    refused("negative width", [](BmpFile& f) { f.width = -4, f.rows.clear(); });
    refused("4-bit run-length at 8 bits", [](BmpFile& f) { f.compression = 2; });
    refused("masks at 8 bits", [](BmpFile& f) { f.compression = 3; });
    refused("2 bits", [](BmpFile& f) { f.depth = 2; });
    refused("core header", [](BmpFile& f) { f.headerBytes = 12; });
    refused("huge", [](BmpFile& f) { f.width = 100000, f.height = 100000, f.rows.clear(); });
    refused("holey mask", [](BmpFile& f) {
        f.depth = 32, f.compression = 3, f.paletteEntries = 0, f.masks[0] = 0x00FF00FF, f.masks[1] = 0xFF00;
        f.rows = RandomRows(4, 2, 32, 5);
    });
    // A header longer than the file; a cut inside the pixels, or inside the
    // palette with no usable offset.
    file = Write(good);
    Put(file, 14, 4000, 4);
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
    file = Write(good);
    file.resize(file.size() - 5);
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
    good.offsetField = false;
    file = Write(good);
    file.resize(54 + 100);
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
}

TEST(ImageBmp, CutAndDamagedFilesGiveCodesNotCrashes)
{
    ErrorRecorder quiet;
    std::mt19937 random(42);
    for (int depth : {1, 4, 8, 16, 24, 32}) {
        BmpFile f;
        f.width = 5;
        f.height = depth % 2 ? 3 : -3;
        f.depth = depth;
        f.headerBytes = depth == 16 ? 108 : 40;
        f.paletteEntries = depth <= 8 ? size_t{1} << depth : 0;
        f.rows = RandomRows(5, 3, depth, 9);
        const std::vector<uint8_t> file = Write(f);
        const size_t lastPadding = (RowBytes(5, depth) + 3) / 4 * 4 - RowBytes(5, depth);
        for (size_t length = 0; length < file.size(); ++length) {
            CxDrawSurface s;
            const int code = DecodeBmp(s, file.data(), length, "cut.bmp");
            if (length + lastPadding >= file.size())
                EXPECT_EQ(code, PIM_OK);
            else
                EXPECT_EQ(code, length ? PIM_ERR_FILE_TYPE : PIM_ERR_UNKNOWN) << depth << " cut at " << length;
        }
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> bad = file;
            for (int flips = 1 + round % 4; flips > 0; --flips)
                bad[random() % 70 % bad.size()] = static_cast<uint8_t>(random());
            CxDrawSurface s;
            const int code = DecodeBmp(s, bad.data(), bad.size(), "bad.bmp");
            EXPECT_TRUE(code == PIM_OK || code == PIM_ERR_FILE_TYPE) << code;
            if (code == PIM_OK) {
                EXPECT_LE(s.GetBitsSize(), bad.size() * 8);
            }
        }
    }
}

TEST(ImageBmp, LoadsThroughTheFileLayer)
{
    ErrorRecorder errors;
    BmpFile f;
    f.width = 3;
    f.height = 3;
    f.depth = 24;
    f.rows = RandomRows(3, 3, 24, 11);
    const std::vector<uint8_t> bytes = Write(f);
    TempFolder root;
    root.Write("pics/a.bmp", std::string(bytes.begin(), bytes.end()));
    CxDirectoryFileSystem fs("<BmpPics>", root.Path().c_str());
    CxDrawSurface s;
    ASSERT_EQ(LoadBmp(s, "<BmpPics>pics/a.bmp", 0), PIM_OK);
    ExpectPixels(s, f);
    EXPECT_NE(LoadBmp(s, "<BmpPics>pics/missing.bmp", 0), PIM_OK);
}
