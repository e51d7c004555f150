// The PCX reader over files made here: packed and planar layouts, both
// palettes, runs across lines, each hostile header, cut and damaged files.
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct PcxFile
{
    int bits = 8;
    int planes = 1;
    int width = 1;
    int height = 1;
    int xMin = 0;
    int yMin = 0;
    int planeBytes = 0;        // 0: the shortest even length
    std::vector<uint8_t> lines; // decoded: planes x planeBytes per scan line
    bool palette256 = false;    // entry i is (i, 255 - i, i / 2)
    bool runsAcrossLines = false;
    uint8_t headerPalette[48] = {};

    int PlaneBytes() const { return planeBytes ? planeBytes : ((width * bits + 7) / 8 + 1) / 2 * 2; }
    size_t LineBytes() const { return static_cast<size_t>(planes * PlaneBytes()); }
};

void EncodeRuns(const uint8_t* bytes, size_t count, std::vector<uint8_t>& out)
{
    for (size_t i = 0; i < count;) {
        size_t run = 1;
        while (i + run < count && run < 63 && bytes[i + run] == bytes[i])
            ++run;
        if (run > 1 || bytes[i] >= 0xC0)
            out.push_back(static_cast<uint8_t>(0xC0 | run));
        out.push_back(bytes[i]);
        i += run;
    }
}

std::vector<uint8_t> Write(const PcxFile& f)
{
    std::vector<uint8_t> out(128);
    out[0] = 10;
    out[1] = 5;
    out[2] = 1;
    out[3] = static_cast<uint8_t>(f.bits);
    const int window[4] = {f.xMin, f.yMin, f.xMin + f.width - 1, f.yMin + f.height - 1};
    for (int i = 0; i < 4; ++i) {
        out[4 + 2 * i] = static_cast<uint8_t>(window[i]);
        out[5 + 2 * i] = static_cast<uint8_t>(window[i] >> 8);
    }
    std::copy_n(f.headerPalette, 48, out.begin() + 16);
    out[65] = static_cast<uint8_t>(f.planes);
    out[66] = static_cast<uint8_t>(f.PlaneBytes());
    out[67] = static_cast<uint8_t>(f.PlaneBytes() >> 8);
    const size_t line = f.LineBytes();
    if (f.runsAcrossLines)
        EncodeRuns(f.lines.data(), f.lines.size(), out);
    else
        for (size_t at = 0; at + line <= f.lines.size(); at += line)
            EncodeRuns(f.lines.data() + at, line, out);
    if (f.palette256) {
        out.push_back(0x0C);
        for (int i = 0; i < 256; ++i)
            out.insert(out.end(),
                       {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2)});
    }
    return out;
}

std::vector<uint8_t> RandomLines(const PcxFile& f, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> lines(f.LineBytes() * static_cast<size_t>(f.height));
    // Runs of equal bytes, so that the coding has runs to make.
    for (size_t i = 0; i < lines.size(); ++i)
        lines[i] = (i % 5 && i) ? lines[i - 1] : static_cast<uint8_t>(random());
    return lines;
}

int Decode(CxDrawSurface& s, const std::vector<uint8_t>& file)
{
    return DecodePcx(s, file.data(), file.size(), "test.pcx");
}

// The pixel value a planar scan line holds at x.
uint32_t PlanarValue(const PcxFile& f, int x, int y)
{
    const uint8_t* line = &f.lines[static_cast<size_t>(y) * f.LineBytes()];
    uint32_t value = 0;
    for (int p = 0; p < f.planes; ++p)
        value |= ((line[p * f.PlaneBytes() + x / 8] >> (7 - x % 8)) & 1u) << p;
    return value;
}

void ExpectPacked(CxDrawSurface& s, const PcxFile& f)
{
    ASSERT_EQ(s.GetWidth(), f.width);
    ASSERT_EQ(s.GetHeight(), f.height);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            ASSERT_EQ(s.GetPixel(x, y), ReadPixel(&f.lines[y * f.LineBytes()], x, f.bits)) << x << "," << y;
}

} // namespace

TEST(ImagePcx, ReadsPackedAndPlanarPictures)
{
    ErrorRecorder quiet;
    // 8 bits with the closing palette, coded line by line and as one stream.
    for (bool across : {false, true}) {
        PcxFile f;
        f.width = 7;
        f.height = 4;
        f.xMin = 3;
        f.yMin = 9;
        f.palette256 = true;
        f.runsAcrossLines = across;
        f.lines = RandomLines(f, 1);
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Write(f)), PIM_OK);
        EXPECT_EQ(s.GetDepth(), 8);
        ExpectPacked(s, f);
        EXPECT_EQ(s.GetPaletteEntries()[200].green, 55);
    }
    // Fewer bits in one plane, coloured by the header's palette.
    for (int bits : {1, 2, 4}) {
        PcxFile f;
        f.bits = bits;
        f.width = 19;
        f.height = 3;
        f.headerPalette[3] = 10, f.headerPalette[4] = 20, f.headerPalette[5] = 30;
        f.lines = RandomLines(f, static_cast<uint32_t>(bits));
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Write(f)), PIM_OK);
        EXPECT_EQ(s.GetDepth(), bits);
        ExpectPacked(s, f);
        EXPECT_EQ(s.GetPaletteEntries()[1].blue, 30);
    }
    // An empty palette in a monochrome file means black on white.
    PcxFile mono;
    mono.bits = 1;
    mono.width = 8;
    mono.lines = {0x0F, 0};
    CxDrawSurface sMono;
    ASSERT_EQ(Decode(sMono, Write(mono)), PIM_OK);
    EXPECT_EQ(sMono.GetPaletteEntries()[1].red, 255);
    EXPECT_EQ(sMono.GetPaletteEntries()[0].red, 0);

    // One-bit planes become packed indices: bit p of a pixel from plane p.
    for (int planes : {2, 3, 4}) {
        PcxFile f;
        f.bits = 1;
        f.planes = planes;
        f.width = 21;
        f.height = 2;
        f.lines = RandomLines(f, static_cast<uint32_t>(planes));
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Write(f)), PIM_OK);
        EXPECT_EQ(s.GetDepth(), planes == 2 ? 2 : 4);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 21; ++x)
                ASSERT_EQ(s.GetPixel(x, y), PlanarValue(f, x, y)) << planes << ": " << x << "," << y;
    }
    // Red, green, blue (and alpha) planes become B, G, R (A) pixels.
    for (int planes : {3, 4}) {
        PcxFile f;
        f.planes = planes;
        f.width = 5;
        f.height = 2;
        f.lines = RandomLines(f, 77);
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Write(f)), PIM_OK);
        ASSERT_EQ(s.GetDepth(), planes * 8);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 5; ++x) {
                const uint8_t* line = &f.lines[static_cast<size_t>(y) * f.LineBytes()];
                const int stride = f.PlaneBytes();
                EXPECT_EQ(s.GetRed(x, y), line[x]);
                EXPECT_EQ(s.GetGreen(x, y), line[stride + x]);
                EXPECT_EQ(s.GetBlue(x, y), line[2 * stride + x]);
                if (planes == 4) {
                    EXPECT_EQ(s.GetPixel(x, y) >> 24, line[3 * stride + x]);
                }
            }
    }
}

TEST(ImagePcx, PalettesRunsAndShortData)
{
    ErrorRecorder errors;
    // No closing palette: the header's 16 colours, and the data runs to the end.
    PcxFile f;
    f.width = 4;
    f.height = 2;
    f.headerPalette[45] = 99;
    f.lines = {1, 15, 0xC5, 7, 0, 0, 0xFF, 3};
    CxDrawSurface s;
    ASSERT_EQ(Decode(s, Write(f)), PIM_OK);
    ExpectPacked(s, f);
    EXPECT_EQ(s.GetPaletteEntries()[15].red, 99);
    EXPECT_EQ(s.GetPaletteEntries()[16].red, 0);

    // A run longer than what is left of the picture stops at its end.
    std::vector<uint8_t> file = Write(f);
    file.resize(128);
    file.insert(file.end(), {0xC8, 4, 0xFF, 9});
    ASSERT_EQ(Decode(s, file), PIM_OK);
    EXPECT_EQ(s.GetPixel(3, 1), 4u);

    // Data that ends early is an error, but the lines decoded stay.
    file.resize(128);
    file.insert(file.end(), {0xC5, 6});
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
    EXPECT_TRUE(s.IsCreated());
    EXPECT_EQ(s.GetPixel(3, 0), 6u);
    EXPECT_EQ(s.GetPixel(0, 1), 6u);
    EXPECT_EQ(s.GetPixel(1, 1), 0u);
    EXPECT_NE(errors.errors.back().message.find("test.pcx"), std::string::npos);
}

TEST(ImagePcx, RefusesHostileHeaders)
{
    ErrorRecorder errors;
    PcxFile good;
    good.width = 4;
    good.height = 2;
    good.lines = RandomLines(good, 3);
    CxDrawSurface s;
    EXPECT_EQ(DecodePcx(s, nullptr, 0, "x"), PIM_ERR_UNKNOWN);
    std::vector<uint8_t> file = Write(good);
    file.resize(127);
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
    file = Write(good);
    file[0] = 5;
    EXPECT_EQ(Decode(s, file), PIM_ERR_FILE_TYPE);
    EXPECT_EQ(errors.errors.back().message, "Invalid PCX file: test.pcx");

    auto refused = [&](const char* what, auto change) {
        std::vector<uint8_t> bytes = Write(good);
        change(bytes);
        CxDrawSurface t;
        EXPECT_EQ(Decode(t, bytes), PIM_ERR_FILE_TYPE) << what;
        EXPECT_FALSE(t.IsCreated()) << what;
    };
    refused("x max < x min", [](std::vector<uint8_t>& b) { b[4] = 9; });
    refused("y max < y min", [](std::vector<uint8_t>& b) { b[6] = 2; });
    refused("2 planes of 8", [](std::vector<uint8_t>& b) { b[65] = 2; });
    refused("2 planes of 2", [](std::vector<uint8_t>& b) { b[3] = 2, b[65] = 2; });
    refused("4 planes of 4", [](std::vector<uint8_t>& b) { b[3] = 4, b[65] = 4; });
    refused("16 bits", [](std::vector<uint8_t>& b) { b[3] = 16; });
    refused("no planes", [](std::vector<uint8_t>& b) { b[65] = 0; });
    refused("short lines", [](std::vector<uint8_t>& b) { b[66] = 3; });
    refused("huge", [](std::vector<uint8_t>& b) {
        b[8] = b[9] = b[10] = b[11] = b[66] = b[67] = 0xFF;
        b[65] = 3;
    });
}

TEST(ImagePcx, CutAndDamagedFilesGiveCodesNotCrashes)
{
    ErrorRecorder quiet;
    std::mt19937 random(7);
    const int layouts[][2] = {{8, 1}, {1, 1}, {4, 1}, {1, 4}, {8, 3}, {8, 4}};
    for (const auto& layout : layouts) {
        PcxFile f;
        f.bits = layout[0];
        f.planes = layout[1];
        f.width = 6;
        f.height = 3;
        f.palette256 = f.bits * f.planes == 8;
        f.lines = RandomLines(f, 5);
        const std::vector<uint8_t> file = Write(f);
        for (size_t length = 0; length < file.size(); ++length) {
            CxDrawSurface s;
            const int code = DecodePcx(s, file.data(), length, "cut.pcx");
            EXPECT_TRUE(code == PIM_OK || code == PIM_ERR_FILE_TYPE || (length == 0 && code == PIM_ERR_UNKNOWN));
            if (length < 128 + 2) {
                EXPECT_NE(code, PIM_OK);
            }
        }
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> bad = file;
            for (int flips = 1 + round % 4; flips > 0; --flips)
                bad[random() % (round % 2 ? 128 : bad.size())] = static_cast<uint8_t>(random());
            CxDrawSurface s;
            const int code = DecodePcx(s, bad.data(), bad.size(), "bad.pcx");
            EXPECT_TRUE(code == PIM_OK || code == PIM_ERR_FILE_TYPE) << code;
        }
    }
}

TEST(ImagePcx, LoadsThroughTheFileLayer)
{
    ErrorRecorder quiet;
    PcxFile f;
    f.width = 3;
    f.height = 3;
    f.palette256 = true;
    f.lines = RandomLines(f, 9);
    const std::vector<uint8_t> bytes = Write(f);
    TempFolder root;
    root.Write("a.pcx", std::string(bytes.begin(), bytes.end()));
    CxDirectoryFileSystem fs("<PcxPics>", root.Path().c_str());
    CxDrawSurface s;
    ASSERT_EQ(LoadPcx(s, "<PcxPics>a.pcx", 0), PIM_OK);
    ExpectPacked(s, f);
    EXPECT_NE(LoadPcx(s, "<PcxPics>missing.pcx", 0), PIM_OK);
}
