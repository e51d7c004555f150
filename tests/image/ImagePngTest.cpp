// The PNG reader and writer: round trips through the file layer, every
// colour type libpng can write, interlacing, and hostile or cut files.
#include "PIM/core/CxMemory.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <csetjmp>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct PngPicture
{
    png_uint_32 width = 1;
    png_uint_32 height = 1;
    int bitDepth = 8;
    int colourType = PNG_COLOR_TYPE_RGB;
    bool interlace = false;
    std::vector<uint8_t> rows; // as PNG stores them, packed
    std::vector<png_color> palette;
    std::vector<uint8_t> alphas; // tRNS of a paletted picture
    bool transparentColour = false;
    png_color_16 colour = {};   // tRNS of a grey or RGB picture
};

void Append(png_structp png, png_bytep data, size_t count)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

void NoFlush(png_structp) {}

// Only plain data in this frame: libpng's errors longjmp back into it.
bool WritePng(const PngPicture* picture, std::vector<uint8_t>* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, Append, NoFlush);
    png_set_IHDR(png, info, picture->width, picture->height, picture->bitDepth, picture->colourType,
                 picture->interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!picture->palette.empty())
        png_set_PLTE(png, info, picture->palette.data(), static_cast<int>(picture->palette.size()));
    if (!picture->alphas.empty() || picture->transparentColour)
        png_set_tRNS(png, info, picture->alphas.data(), static_cast<int>(picture->alphas.size()), &picture->colour);
    png_write_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    for (int pass = png_set_interlace_handling(png); pass > 0; --pass)
        for (png_uint_32 y = 0; y < picture->height; ++y)
            png_write_row(png, picture->rows.data() + y * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<uint8_t> MakePng(const PngPicture& picture)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE(WritePng(&picture, &out));
    return out;
}

int Decode(CxDrawSurface& s, const std::vector<uint8_t>& file)
{
    return DecodePng(s, file.data(), file.size(), "test.png");
}

void FillRandom(CxDrawSurface& s, uint32_t seed)
{
    std::mt19937 random(seed);
    const uint32_t mask = s.GetDepth() == 32 ? 0xFFFFFFFFu : (1u << s.GetDepth()) - 1;
    for (int32_t y = 0; y < s.GetHeight(); ++y)
        for (int32_t x = 0; x < s.GetWidth(); ++x)
            s.SetPixel(x, y, random() & mask);
}

void AppendChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    const auto length = static_cast<uint32_t>(data.size());
    out.insert(out.end(), {uint8_t(length >> 24), uint8_t(length >> 16), uint8_t(length >> 8), uint8_t(length)});
    const size_t from = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + from, static_cast<uInt>(out.size() - from));
    out.insert(out.end(), {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)});
}

} // namespace

TEST(ImagePng, RoundTripsThroughTheFileLayer)
{
    ErrorRecorder errors;
    TempFolder root;
    CxDirectoryFileSystem fs("<PngPics>", root.Path().c_str());
    for (int depth : {1, 4, 8, 24, 32}) {
        CxDrawSurface source;
        ASSERT_EQ(source.Create(11, 7, depth), PIM_OK);
        FillRandom(source, static_cast<uint32_t>(depth));
        const std::vector<uint8_t> palette = RandomBytes(768, 3);
        source.SetPalette(palette.data(), palette.size());
        ASSERT_EQ(SavePng(source, "<PngPics>round.png", 0), PIM_OK) << depth;
        CxDrawSurface loaded;
        ASSERT_EQ(LoadPng(loaded, "<PngPics>round.png", 0), PIM_OK) << depth;
        // Paletted pictures come back as 8-bit indices with their colours.
        ASSERT_EQ(loaded.GetDepth(), depth < 8 ? 8 : depth);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 11; ++x)
                ASSERT_EQ(loaded.GetPixel(x, y), source.GetPixel(x, y)) << depth << ": " << x << "," << y;
        if (depth <= 8) {
            EXPECT_EQ(std::memcmp(loaded.GetPalette(), palette.data(), 3u << depth), 0);
        }
    }

    // 16-bit pictures are written through a converted copy; the caller's
    // surface is left as it was.
    CxDrawSurface wide;
    ASSERT_EQ(wide.Create(5, 2, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    FillRandom(wide, 16);
    const uint32_t before = wide.GetPixel(3, 1);
    ASSERT_EQ(SavePng(wide, "<PngPics>wide.png", 0), PIM_OK);
    EXPECT_EQ(wide.GetDepth(), 16);
    EXPECT_EQ(wide.GetPixelLayout(), PIM_LAYOUT_565);
    EXPECT_EQ(wide.GetPixel(3, 1), before);
    CxDrawSurface loaded;
    ASSERT_EQ(LoadPng(loaded, "<PngPics>wide.png", 0), PIM_OK);
    EXPECT_EQ(loaded.GetDepth(), 24);
    EXPECT_EQ(loaded.GetRed(3, 1), wide.GetRed(3, 1));
    EXPECT_EQ(loaded.GetGreen(3, 1), wide.GetGreen(3, 1));
    EXPECT_EQ(loaded.GetBlue(3, 1), wide.GetBlue(3, 1));

    // Nothing to write, or nowhere to write it.
    CxDrawSurface empty;
    EXPECT_EQ(SavePng(empty, "<PngPics>empty.png", 0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(SavePng(wide, "<PngPics>no/such/folder/x.png", 0), PIM_ERR_WRITE);
    EXPECT_EQ(SavePng(wide, "<PngPics>after-error.png", 0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(wide.GetError(), PIM_ERR_WRITE); // its own error stays
    EXPECT_FALSE(FsExists("<PngPics>after-error.png"));
    EXPECT_NE(LoadPng(loaded, "<PngPics>missing.png", 0), PIM_OK);
}

TEST(ImagePng, ReadsEveryColourType)
{
    ErrorRecorder errors;
    // Paletted at every index depth: 8-bit indices with the palette.
    for (int bits : {1, 2, 4, 8}) {
        PngPicture picture;
        picture.width = 9;
        picture.height = 3;
        picture.bitDepth = bits;
        picture.colourType = PNG_COLOR_TYPE_PALETTE;
        for (int i = 0; i < (1 << bits); ++i)
            picture.palette.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)});
        const size_t rowBytes = (9 * bits + 7) / 8;
        picture.rows = RandomBytes(rowBytes * 3, static_cast<uint32_t>(bits));
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, MakePng(picture)), PIM_OK) << bits;
        ASSERT_EQ(s.GetDepth(), 8);
        EXPECT_EQ(s.GetPixelLayout(), PIM_LAYOUT_INDEXED);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 9; ++x)
                ASSERT_EQ(s.GetPixel(x, y), ReadPixel(&picture.rows[y * rowBytes], x, bits));
        EXPECT_EQ(s.GetPaletteEntries()[1].green, 254);

        // With transparency the picture becomes 32-bit colour and alpha.
        picture.alphas = {0, 128};
        CxDrawSurface t;
        ASSERT_EQ(Decode(t, MakePng(picture)), PIM_OK);
        ASSERT_EQ(t.GetDepth(), 32);
        for (int x = 0; x < 9; ++x) {
            const uint32_t index = ReadPixel(&picture.rows[0], x, bits);
            const uint32_t alpha = index == 0 ? 0 : index == 1 ? 128 : 255;
            EXPECT_EQ(t.GetPixel(x, 0), (alpha << 24) | (index << 16) | ((255 - index) << 8) | (index * 3 & 255));
        }
    }

    // Grey: the grey ramp palette, small depths scaled to full range, 16 bits
    // cut to their high byte; with alpha, 32-bit.
    PngPicture grey;
    grey.width = 4;
    grey.colourType = PNG_COLOR_TYPE_GRAY;
    grey.bitDepth = 2;
    grey.rows = {0x1B}; // 0, 1, 2, 3
    CxDrawSurface g;
    ASSERT_EQ(Decode(g, MakePng(grey)), PIM_OK);
    EXPECT_EQ(g.GetDepth(), 8);
    EXPECT_EQ(g.GetPixel(1, 0), 85u);
    EXPECT_EQ(g.GetPixel(3, 0), 255u);
    EXPECT_EQ(g.GetPaletteEntries()[85].blue, 85);
    grey.bitDepth = 16;
    grey.rows = {0x12, 0x34, 0xAB, 0xCD, 0, 0, 0xFF, 0xFF};
    ASSERT_EQ(Decode(g, MakePng(grey)), PIM_OK);
    EXPECT_EQ(g.GetPixel(1, 0), 0xABu);
    grey.bitDepth = 8;
    grey.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    ASSERT_EQ(Decode(g, MakePng(grey)), PIM_OK);
    EXPECT_EQ(g.GetDepth(), 32);
    EXPECT_EQ(g.GetPixel(1, 0), 0xCDABABABu);

    // RGB at 16 bits per channel, and with a transparent colour.
    PngPicture rgb;
    rgb.width = 2;
    rgb.bitDepth = 16;
    rgb.rows = {1, 0, 2, 0, 3, 0, 0xA0, 9, 0xB0, 9, 0xC0, 9};
    CxDrawSurface c;
    ASSERT_EQ(Decode(c, MakePng(rgb)), PIM_OK);
    EXPECT_EQ(c.GetDepth(), 24);
    EXPECT_EQ(c.GetRed(1, 0), 0xA0);
    EXPECT_EQ(c.GetBlue(0, 0), 3);
    rgb.bitDepth = 8;
    rgb.rows = {1, 2, 3, 4, 5, 6};
    rgb.transparentColour = true;
    rgb.colour.red = 4, rgb.colour.green = 5, rgb.colour.blue = 6;
    ASSERT_EQ(Decode(c, MakePng(rgb)), PIM_OK);
    EXPECT_EQ(c.GetDepth(), 32);
    EXPECT_EQ(c.GetPixel(0, 0), 0xFF010203u);
    EXPECT_EQ(c.GetPixel(1, 0), 0x00040506u);

    // Interlaced RGBA reads to the same pixels as the plain picture.
    PngPicture rgba;
    rgba.width = 13;
    rgba.height = 11;
    rgba.colourType = PNG_COLOR_TYPE_RGBA;
    rgba.rows = RandomBytes(13 * 11 * 4, 5);
    CxDrawSurface plain, laced;
    ASSERT_EQ(Decode(plain, MakePng(rgba)), PIM_OK);
    rgba.interlace = true;
    ASSERT_EQ(Decode(laced, MakePng(rgba)), PIM_OK);
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 13; ++x) {
            const uint8_t* p = &rgba.rows[(y * 13 + x) * 4];
            const uint32_t argb = (uint32_t{p[3]} << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
            ASSERT_EQ(plain.GetPixel(x, y), argb);
            ASSERT_EQ(laced.GetPixel(x, y), argb);
        }
}

TEST(ImagePng, RefusesHostileAndCutFiles)
{
    ErrorRecorder errors;
    CxDrawSurface s;
    EXPECT_EQ(DecodePng(s, nullptr, 0, "x"), PIM_ERR_UNKNOWN);
    const std::vector<uint8_t> text = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', '!'};
    EXPECT_EQ(Decode(s, text), PIM_ERR_FILE_TYPE);

    // Headers claiming 100000 x 100000, more pixels than we take, or more
    // than the data could inflate to, are refused at once, before any pixel
    // memory is asked for.
    for (uint32_t side : {100000u, 16384u, 16000u}) {
        std::vector<uint8_t> huge = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        const uint32_t height = side == 16000 ? 4000 : side;
        AppendChunk(huge, "IHDR", {uint8_t(side >> 24), uint8_t(side >> 16), uint8_t(side >> 8), uint8_t(side),
                                   uint8_t(height >> 24), uint8_t(height >> 16), uint8_t(height >> 8), uint8_t(height),
                                   8, 6, 0, 0, 0});
        AppendChunk(huge, "IDAT", std::vector<uint8_t>(2000, 0));
        AppendChunk(huge, "IEND", {});
        const uint64_t requested = GetMemoryStats().bytesRequested;
        const auto start = std::chrono::steady_clock::now();
        CxDrawSurface big;
        EXPECT_EQ(Decode(big, huge), PIM_ERR_FILE_TYPE) << side;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        EXPECT_FALSE(big.IsCreated());
        EXPECT_LT(GetMemoryStats().bytesRequested - requested, 4096u);
        const char* why = side == 100000 ? "IHDR" : side == 16384 ? "too large" : "too short";
        EXPECT_NE(errors.errors.back().message.find(why), std::string::npos) << errors.errors.back().message;
    }

    PngPicture picture;
    picture.width = 6;
    picture.height = 5;
    picture.rows = RandomBytes(6 * 5 * 3, 1);
    const std::vector<uint8_t> file = MakePng(picture);
    // A chunk claiming more bytes than the file holds is refused before
    // libpng allocates a buffer of the size claimed.
    std::vector<uint8_t> liar(file.begin(), file.begin() + 33);
    liar.insert(liar.end(), {0x73, 0x73, 0x73, 0x73, 's', 'P', 'L', 'T', 1, 2, 3});
    liar.insert(liar.end(), file.begin() + 33, file.end());
    EXPECT_EQ(Decode(s, liar), PIM_ERR_FILE_TYPE);
    EXPECT_NE(errors.errors.back().message.find("past the end"), std::string::npos);
    // A cut before the pixel data has begun is always an error; none crashes.
    const char idat[] = "IDAT";
    const size_t pixelData =
        static_cast<size_t>(std::search(file.begin(), file.end(), idat, idat + 4) - file.begin()) + 6;
    for (size_t length = 0; length < file.size(); ++length) {
        CxDrawSurface t;
        const int code = DecodePng(t, file.data(), length, "cut.png");
        EXPECT_TRUE(code == PIM_OK || code == PIM_ERR_FILE_TYPE || (length == 0 && code == PIM_ERR_UNKNOWN));
        if (length <= pixelData) {
            EXPECT_NE(code, PIM_OK) << length;
        }
    }
    std::mt19937 random(3);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bad = file;
        bad[8 + random() % (bad.size() - 8)] ^= static_cast<uint8_t>(1 + random() % 255);
        CxDrawSurface t;
        const int code = Decode(t, bad);
        EXPECT_TRUE(code == PIM_OK || code == PIM_ERR_FILE_TYPE) << code;
    }
}
