// Targa pictures: the reader over hand-made files in every orientation and
// over hostile ones, and the engine's own writer, read back by the reader.
#include "PIM/files/CxFile.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "PIM/os/PimOsFiles.h"
#include "tests/support/PictureBytes.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TgaHeader
{
    uint8_t type = 2;
    uint8_t depth = 24;
    uint16_t width = 1;
    uint16_t height = 1;
    uint8_t descriptor = 32;
    uint8_t mapType = 0;
    uint16_t mapFirst = 0;
    uint16_t mapLength = 0;
    uint8_t mapBits = 0;
    uint8_t idLength = 0;
};

// The header, the id field (filled with 'i'), then `rest`.
Bytes Tga(const TgaHeader& h, const Bytes& rest)
{
    Bytes out = {h.idLength,
                 h.mapType,
                 h.type,
                 static_cast<uint8_t>(h.mapFirst),
                 static_cast<uint8_t>(h.mapFirst >> 8),
                 static_cast<uint8_t>(h.mapLength),
                 static_cast<uint8_t>(h.mapLength >> 8),
                 h.mapBits,
                 0,
                 0,
                 0,
                 0,
                 static_cast<uint8_t>(h.width),
                 static_cast<uint8_t>(h.width >> 8),
                 static_cast<uint8_t>(h.height),
                 static_cast<uint8_t>(h.height >> 8),
                 h.depth,
                 h.descriptor};
    out.resize(out.size() + h.idLength, 'i');
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}

// The surface's pixel rows, without any padding.
Bytes Rows(CxDrawSurface& s)
{
    Bytes out;
    const uint8_t* bits = s.LockBits();
    if (!bits)
        return out;
    const size_t rowBytes = static_cast<size_t>(s.GetWidth()) * static_cast<size_t>(s.GetDepth() / 8);
    for (int32_t y = 0; y < s.GetHeight(); ++y) {
        const uint8_t* row = bits + static_cast<ptrdiff_t>(y) * s.GetPitch();
        out.insert(out.end(), row, row + rowBytes);
    }
    s.UnlockBits();
    return out;
}

Bytes Palette(const CxDrawSurface& s)
{
    return Bytes(s.GetPalette(), s.GetPalette() + 768);
}

int Decode(CxDrawSurface& s, const Bytes& file)
{
    return DecodeTarga(s, file.data(), file.size(), "test.tga");
}

// Rows top to bottom rearranged as a file with this origin stores them.
Bytes Arrange(const Bytes& topLeft, size_t width, size_t height, size_t pixelBytes, uint8_t descriptor)
{
    Bytes out;
    const size_t rowBytes = width * pixelBytes;
    for (size_t r = 0; r < height; ++r) {
        const size_t y = (descriptor & 32) ? r : height - 1 - r;
        for (size_t c = 0; c < width; ++c) {
            const size_t x = (descriptor & 16) ? width - 1 - c : c;
            const uint8_t* pixel = topLeft.data() + y * rowBytes + x * pixelBytes;
            out.insert(out.end(), pixel, pixel + pixelBytes);
        }
    }
    return out;
}

Bytes ReadFile(const std::string& path)
{
    CxBuffer buffer;
    if (LoadFile(path.c_str(), buffer) != PIM_OK)
        return {};
    return Bytes(buffer.GetData(), buffer.GetData() + buffer.GetSize());
}

const char kFooter[] = "TRUEVISION-XFILE.";

void ExpectFooter(const Bytes& file)
{
    ASSERT_GE(file.size(), 18u + 26u);
    const Bytes footer(file.end() - 26, file.end());
    EXPECT_EQ(Bytes(footer.begin(), footer.begin() + 8), Bytes(8, 0));
    EXPECT_EQ(std::memcmp(footer.data() + 8, kFooter, sizeof kFooter), 0);
}

// A picture with long runs and single pixels, so that both packet kinds and
// packets across row ends occur.
void FillStripes(CxDrawSurface& s)
{
    uint8_t* bits = s.LockBits();
    ASSERT_NE(bits, nullptr);
    const size_t width = static_cast<size_t>(s.GetWidth());
    const Bytes noise = RandomBytes(width * static_cast<size_t>(s.GetHeight()) * 4, 77);
    const size_t pixelBytes = static_cast<size_t>(s.GetDepth() / 8);
    for (int32_t y = 0; y < s.GetHeight(); ++y) {
        for (int32_t x = 0; x < s.GetWidth(); ++x) {
            uint8_t* pixel = bits + static_cast<ptrdiff_t>(y) * s.GetPitch() + static_cast<ptrdiff_t>(x) * pixelBytes;
            const bool run = (x / 7 + y) % 3 != 0;
            const size_t at = (static_cast<size_t>(y) * width + static_cast<size_t>(x)) * 4;
            for (size_t b = 0; b < pixelBytes; ++b)
                pixel[b] = run ? static_cast<uint8_t>(y * 16 + b) : noise[at + b];
        }
    }
    s.UnlockBits();
}

class ImageTargaWrite : public ::testing::Test
{
protected:
    void TearDown() override { PimOs::SetFaultHook(nullptr); }
    TempFolder m_folder;
};

} // namespace

TEST(ImageTargaRead, EveryOriginGivesTheSamePicture)
{
    // A 5-6-5 screen must not change what the reader itself produces.
    struct PreferredLayout
    {
        PreferredLayout() { SetPreferredLayout16(PIM_LAYOUT_565); }
        ~PreferredLayout() { SetPreferredLayout16(PIM_LAYOUT_DEFAULT); }
    } screen;
    const uint16_t width = 5;
    const uint16_t height = 3;
    const Bytes map = RandomBytes(256 * 3, 1);
    for (uint8_t depth : {8, 15, 16, 24, 32}) {
        const size_t pixelBytes = (depth + 7u) / 8u;
        const Bytes picture = RandomBytes(width * height * pixelBytes, depth);
        for (uint8_t descriptor : {0, 8, 16, 32, 40, 48}) {
            TgaHeader h;
            h.type = depth == 8 ? 1 : 2;
            h.depth = depth;
            h.width = width;
            h.height = height;
            h.descriptor = descriptor;
            h.idLength = 3;
            Bytes body = Arrange(picture, width, height, pixelBytes, descriptor);
            if (depth == 8) {
                h.mapType = 1;
                h.mapLength = 256;
                h.mapBits = 24;
                body.insert(body.begin(), map.begin(), map.end());
            }
            CxDrawSurface s;
            ASSERT_EQ(Decode(s, Tga(h, body)), PIM_OK) << int{depth} << "/" << int{descriptor};
            EXPECT_EQ(Rows(s), picture) << int{depth} << "/" << int{descriptor};
            EXPECT_EQ(s.GetDepth(), depth == 15 ? 16 : depth);
            if (depth <= 16) {
                EXPECT_EQ(s.GetPixelLayout(), depth == 8 ? PIM_LAYOUT_INDEXED : PIM_LAYOUT_555);
            }
            if (depth == 8) {
                // Blue-green-red entries become red-green-blue.
                EXPECT_EQ(s.GetPaletteEntries()[7].red, map[7 * 3 + 2]);
                EXPECT_EQ(s.GetPaletteEntries()[7].green, map[7 * 3 + 1]);
                EXPECT_EQ(s.GetPaletteEntries()[7].blue, map[7 * 3]);
            }
        }
    }
}

TEST(ImageTargaRead, ColourMapsGreyAndRunLengthPackets)
{
    // Four 24-bit entries from index 10: only those change.
    {
        TgaHeader h;
        h.type = 1;
        h.depth = 8;
        h.mapType = 1;
        h.mapFirst = 10;
        h.mapLength = 4;
        h.mapBits = 24;
        CxDrawSurface s;
        const Bytes before = Palette(s);
        ASSERT_EQ(Decode(s, Tga(h, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13})), PIM_OK);
        Bytes expected = before;
        for (int i = 0; i < 4; ++i) {
            expected[(10 + i) * 3] = static_cast<uint8_t>(3 + i * 3);
            expected[(10 + i) * 3 + 1] = static_cast<uint8_t>(2 + i * 3);
            expected[(10 + i) * 3 + 2] = static_cast<uint8_t>(1 + i * 3);
        }
        EXPECT_EQ(Palette(s), expected);
        EXPECT_EQ(s.GetPixel(0, 0), 13u);
    }
    // 16 and 32-bit entries widen by the engine's rule.
    {
        TgaHeader h;
        h.type = 1;
        h.depth = 8;
        h.mapType = 1;
        h.mapLength = 1;
        h.mapBits = 16;
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Tga(h, {0x1F | (1 << 5), (0x1F << 2) | 0x80, 0})), PIM_OK);
        EXPECT_EQ(s.GetPaletteEntries()[0].red, 0xF8);
        EXPECT_EQ(s.GetPaletteEntries()[0].green, 0x08);
        EXPECT_EQ(s.GetPaletteEntries()[0].blue, 0xF8);
        h.mapBits = 32;
        ASSERT_EQ(Decode(s, Tga(h, {1, 2, 3, 4, 0})), PIM_OK);
        EXPECT_EQ(s.GetPaletteEntries()[0].red, 3);
        EXPECT_EQ(s.GetPaletteEntries()[0].blue, 1);
    }
    // Grey pictures get the grey ramp; run and raw packets, crossing rows.
    {
        TgaHeader h;
        h.type = 11;
        h.depth = 8;
        h.width = 3;
        h.height = 2;
        h.descriptor = 32;
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Tga(h, {0x83, 9, 1, 4, 5})), PIM_OK);
        EXPECT_EQ(Rows(s), Bytes({9, 9, 9, 9, 4, 5}));
        EXPECT_EQ(s.GetPaletteEntries()[200].red, 200);
        EXPECT_EQ(s.GetPaletteEntries()[9].blue, 9);
    }
    // 24-bit run-length, bottom-up: a run of two then two raw pixels.
    {
        TgaHeader h;
        h.type = 10;
        h.depth = 24;
        h.width = 2;
        h.height = 2;
        h.descriptor = 0;
        CxDrawSurface s;
        ASSERT_EQ(Decode(s, Tga(h, {0x81, 1, 2, 3, 1, 4, 5, 6, 7, 8, 9})), PIM_OK);
        EXPECT_EQ(Rows(s), Bytes({4, 5, 6, 7, 8, 9, 1, 2, 3, 1, 2, 3}));
    }
}

TEST(ImageTargaRead, HostileFilesFailCleanly)
{
    ErrorRecorder errors;
    CxDrawSurface s;
    EXPECT_EQ(DecodeTarga(s, nullptr, 0, "x"), PIM_ERR_UNKNOWN);
    EXPECT_EQ(errors.errors.back().message, "Could not read TARGA header from buffer.");

    TgaHeader base;
    base.width = 2;
    base.height = 2;
    const Bytes good = Tga(base, RandomBytes(12, 3));
    EXPECT_EQ(Decode(s, Bytes(good.begin(), good.begin() + 17)), PIM_ERR_FILE_TYPE);

    auto headerWith = [&](size_t offset, uint8_t value) {
        Bytes file = good;
        file[offset] = value;
        return file;
    };
    const struct
    {
        const char* what;
        Bytes file;
        const char* message;
    } refused[] = {
        {"type 0", headerWith(2, 0), "Targa file does not contain image data!"},
        {"type 5", headerWith(2, 5), "Unsupported Targa file type!"},
        {"depth 0", headerWith(16, 0), "depth 0"},
        {"depth 7", headerWith(16, 7), "depth 7"},
        {"depth 12", headerWith(16, 12), "depth 12"},
        {"huge picture, few bytes", headerWith(15, 0xFF), "truncated"},
        {"id field past the end", headerWith(0, 200), "truncated"},
        {"huge colour map", Tga({2, 24, 2, 2, 32, 1, 200, 0xFFFF, 24, 0}, RandomBytes(12, 1)), "truncated"},
        {"run-length past the input", Tga({10, 24, 2, 2, 32}, {0x81, 1, 2, 3, 0x01, 4, 5, 6}), "truncated"},
        {"raw packet past the input", Tga({9, 8, 4, 1, 32}, {0x03, 1, 2}), "truncated"},
    };
    for (const auto& c : refused) {
        CxDrawSurface t;
        errors.errors.clear();
        EXPECT_EQ(Decode(t, c.file), PIM_ERR_FILE_TYPE) << c.what;
        ASSERT_EQ(errors.errors.size(), 1u) << c.what;
        EXPECT_NE(errors.errors[0].message.find(c.message), std::string::npos) << c.what;
        EXPECT_LT(t.GetBitsSize(), size_t{1} << 20) << c.what;
    }

    // What arrived of a cut run-length file stays, the right way up.
    {
        CxDrawSurface t;
        EXPECT_EQ(Decode(t, Tga({10, 24, 2, 2, 0}, {0x81, 1, 2, 3, 0x01, 4, 5, 6})), PIM_ERR_FILE_TYPE);
        EXPECT_EQ(Rows(t), Bytes({4, 5, 6, 0, 0, 0, 1, 2, 3, 1, 2, 3}));
    }
    // Colour maps are clamped to the palette: 300 entries from 100 fill
    // 100..255 and leave the rest; a first entry past 255 changes nothing.
    {
        Bytes map = RandomBytes(300 * 3, 4);
        map.push_back(7); // the one pixel
        CxDrawSurface t;
        const Bytes before = Palette(t);
        ASSERT_EQ(Decode(t, Tga({1, 8, 1, 1, 32, 1, 100, 300, 24, 0}, map)), PIM_OK);
        const Bytes after = Palette(t);
        EXPECT_EQ(Bytes(after.begin(), after.begin() + 300), Bytes(before.begin(), before.begin() + 300));
        EXPECT_EQ(t.GetPaletteEntries()[255].red, map[155 * 3 + 2]);
        CxDrawSurface u;
        ASSERT_EQ(Decode(u, Tga({1, 8, 1, 1, 32, 1, 300, 2, 24, 0}, {1, 2, 3, 4, 5, 6, 7})), PIM_OK);
        EXPECT_EQ(Palette(u), before);
    }
    // A packet running past the picture is cut at its end.
    {
        CxDrawSurface t;
        ASSERT_EQ(Decode(t, Tga({9, 8, 2, 1, 32}, {0xFF, 5})), PIM_OK);
        EXPECT_EQ(Rows(t), Bytes({5, 5}));
        ASSERT_EQ(Decode(t, Tga({9, 8, 2, 1, 32}, {0x05, 1, 2})), PIM_OK);
        EXPECT_EQ(Rows(t), Bytes({1, 2}));
    }
    // Every cut of small valid files fails with a code and never reads past
    // the cut (the sanitizer build runs this too).
    TgaHeader mapped{9, 8, 6, 3, 0, 1, 0, 4, 24, 5};
    Bytes mappedBody = RandomBytes(12, 9);
    mappedBody.insert(mappedBody.end(), {0x85, 1, 0x02, 0, 1, 2, 0x86, 3, 0x01, 1, 2});
    TgaHeader raw{2, 32, 3, 2, 48, 0, 0, 0, 0, 2};
    for (const Bytes& file : {Tga(mapped, mappedBody), Tga(raw, RandomBytes(24, 5))}) {
        CxDrawSurface whole;
        ASSERT_EQ(Decode(whole, file), PIM_OK);
        for (size_t cut = 0; cut < file.size(); ++cut) {
            CxDrawSurface t;
            const Bytes part(file.begin(), file.begin() + static_cast<ptrdiff_t>(cut));
            EXPECT_NE(DecodeTarga(t, part.empty() ? nullptr : part.data(), part.size(), "cut"), PIM_OK) << cut;
        }
    }
}

TEST_F(ImageTargaWrite, RoundTripsRawAndRunLengthAtEveryDepth)
{
    for (int depth : {4, 8, 16, 24, 32}) {
        CxDrawSurface source;
        // A padded pitch must not reach the file.
        int32_t pitch = 0;
        ASSERT_TRUE(PitchFor(37, depth, pitch));
        ASSERT_EQ(source.Create(37, 11, depth, pitch + 3, nullptr, depth == 16 ? PIM_LAYOUT_555 : 0), PIM_OK);
        const Bytes palette = RandomBytes(768, 11);
        source.SetPalette(palette.data(), palette.size());
        if (depth == 4) {
            for (int32_t y = 0; y < 11; ++y)
                for (int32_t x = 0; x < 37; ++x)
                    source.SetPixel(x, y, static_cast<uint32_t>((x / 5 + y) & 15));
        } else {
            FillStripes(source);
        }
        for (int argument : {0, 1}) {
            const std::string path =
                m_folder / ("pic" + std::to_string(depth) + "_" + std::to_string(argument) + ".tga");
            ASSERT_EQ(SaveTarga(source, path.c_str(), argument), PIM_OK) << depth;
            const Bytes file = ReadFile(path);
            ASSERT_GE(file.size(), 18u);
            const int fileDepth = depth < 8 ? 8 : depth;
            const uint8_t rawType = fileDepth == 8 ? 1 : 2;
            EXPECT_EQ(file[2], argument ? rawType + 8 : rawType) << depth;
            EXPECT_EQ(file[16], fileDepth);
            EXPECT_EQ(file[17], 32);
            ExpectFooter(file);

            CxDrawSurface back;
            ASSERT_EQ(LoadTarga(back, path.c_str(), 0), PIM_OK) << depth;
            ASSERT_EQ(back.GetDepth(), fileDepth);
            for (int32_t y = 0; y < 11; ++y)
                for (int32_t x = 0; x < 37; ++x)
                    ASSERT_EQ(back.GetPixel(x, y), source.GetPixel(x, y)) << depth << " at " << x << "," << y;
            if (fileDepth == 8) {
                EXPECT_EQ(Palette(back), palette);
            }
        }
    }
}

TEST_F(ImageTargaWrite, RunLengthPacketsAndTheRawFallback)
{
    const std::string path = m_folder / "small.tga";
    CxDrawSurface four;
    ASSERT_EQ(four.Create(2, 2, 24), PIM_OK);
    uint8_t* bits = four.LockBits();
    for (int i = 0; i < 4; ++i)
        std::memcpy(bits + i * 3, "\x10\x20\x30", 3);
    four.UnlockBits();
    ASSERT_EQ(SaveTarga(four, path.c_str(), 1), PIM_OK);
    Bytes file = ReadFile(path);
    ASSERT_EQ(file.size(), 18u + 4u + 26u);
    EXPECT_EQ(file[2], 10);
    EXPECT_EQ(Bytes(file.begin() + 18, file.begin() + 22), Bytes({131, 0x10, 0x20, 0x30}));

    // Four different pixels would grow by a packet header: written raw, type 2.
    four.SetPixel(1, 0, 0x112233);
    four.SetPixel(0, 1, 0x445566);
    four.SetPixel(1, 1, 0x778899);
    ASSERT_EQ(SaveTarga(four, path.c_str(), 1), PIM_OK);
    file = ReadFile(path);
    ASSERT_EQ(file.size(), 18u + 12u + 26u);
    EXPECT_EQ(file[2], 2);
    ExpectFooter(file);

    // 130 different indices then 170 equal ones: raw packets are cut at 128
    // and flushed before a run; runs are cut at 128.
    CxDrawSurface line;
    ASSERT_EQ(line.Create(300, 1, 8), PIM_OK);
    for (int32_t x = 0; x < 300; ++x)
        line.SetPixel(x, 0, x < 130 ? static_cast<uint32_t>(x) : 200u);
    ASSERT_EQ(SaveTarga(line, path.c_str(), 1), PIM_OK);
    file = ReadFile(path);
    const size_t start = 18 + 768;
    ASSERT_EQ(file.size(), start + 129 + 3 + 2 + 2 + 26);
    EXPECT_EQ(file[2], 9);
    EXPECT_EQ(file[start], 127);
    EXPECT_EQ(file[start + 129], 1);
    EXPECT_EQ(Bytes(file.begin() + start + 132, file.begin() + start + 136), Bytes({255, 200, 169, 200}));

    // Two equal pixels are not worth a run; and an encoding only as small as
    // the raw pixels is not kept.
    auto saveLine = [&](const Bytes& indices) {
        CxDrawSurface s;
        EXPECT_EQ(s.Create(static_cast<int32_t>(indices.size()), 1, 8), PIM_OK);
        for (size_t x = 0; x < indices.size(); ++x)
            s.SetPixel(static_cast<int32_t>(x), 0, indices[x]);
        EXPECT_EQ(SaveTarga(s, path.c_str(), 1), PIM_OK);
        const Bytes written = ReadFile(path);
        return Bytes(written.begin() + 2, written.begin() + 3) == Bytes{9}
                   ? Bytes(written.begin() + static_cast<ptrdiff_t>(start), written.end() - 26)
                   : Bytes();
    };
    EXPECT_EQ(saveLine({5, 5, 6, 7, 7, 7, 7}), Bytes({2, 5, 5, 6, 0x83, 7}));
    EXPECT_EQ(saveLine({9, 9, 9, 1}), Bytes()); // 4 bytes either way: raw, type 1
}

TEST_F(ImageTargaWrite, TheSourceIsNeverChanged)
{
    // A 5-6-5 back buffer with odd greens (a low bit 5-5-5 cannot keep), its
    // rows padded.
    CxDrawSurface screen;
    ASSERT_EQ(screen.Create(9, 4, 16, 24, nullptr, PIM_LAYOUT_565), PIM_OK);
    uint8_t* bits = screen.LockBits();
    const Bytes noise = RandomBytes(screen.GetBitsSize(), 21);
    std::memcpy(bits, noise.data(), noise.size());
    screen.UnlockBits();
    const Bytes before(noise);

    const std::string path = m_folder / "shot.tga";
    for (int argument : {0, 1}) {
        ASSERT_EQ(SaveTarga(screen, path.c_str(), argument), PIM_OK);
        bits = screen.LockBits();
        EXPECT_EQ(Bytes(bits, bits + screen.GetBitsSize()), before);
        screen.UnlockBits();
        EXPECT_EQ(screen.GetPixelLayout(), PIM_LAYOUT_565);
        EXPECT_EQ(screen.GetPitch(), 24);
        EXPECT_EQ(screen.GetError(), PIM_OK);
    }

    // The file holds what ConvertLayout16 makes of the screen.
    CxDrawSurface expected;
    ASSERT_EQ(expected.CreateCopy(screen), PIM_OK);
    ASSERT_EQ(expected.ConvertLayout16(PIM_LAYOUT_555), PIM_OK);
    CxDrawSurface back;
    ASSERT_EQ(LoadTarga(back, path.c_str(), 0), PIM_OK);
    EXPECT_EQ(back.GetPixelLayout(), PIM_LAYOUT_555);
    EXPECT_EQ(Rows(back), Rows(expected));
}

TEST_F(ImageTargaWrite, FailuresAreReportedAndLeaveTheOldFile)
{
    ErrorRecorder errors;
    CxDrawSurface empty;
    ASSERT_EQ(empty.Create(0, 5, 24), PIM_OK);
    EXPECT_EQ(SaveTarga(empty, (m_folder / "e.tga").c_str(), 0), PIM_ERR_BAD_ARG);
    EXPECT_EQ(errors.errors.back().message, "Surface is empty");

    CxDrawSurface wide;
    ASSERT_EQ(wide.Create(70000, 1, 8), PIM_OK);
    EXPECT_EQ(SaveTarga(wide, (m_folder / "w.tga").c_str(), 0), PIM_ERR_BAD_ARG);

    CxDrawSurface s;
    ASSERT_EQ(s.Create(8, 8, 32), PIM_OK);
    FillStripes(s);
    const std::string path = m_folder.Write("old.tga", "old picture");
    PimOs::SetFaultHook([](PimOs::EStep step, const char*) { return step == PimOs::EStep::Write; });
    errors.errors.clear();
    EXPECT_EQ(SaveTarga(s, path.c_str(), 0), PIM_ERR_WRITE);
    EXPECT_FALSE(errors.errors.empty());
    PimOs::SetFaultHook([](PimOs::EStep step, const char*) { return step == PimOs::EStep::Rename; });
    EXPECT_NE(SaveTarga(s, path.c_str(), 1), PIM_OK);
    PimOs::SetFaultHook(nullptr);
    EXPECT_EQ(m_folder.Read("old.tga"), "old picture");

    errors.errors.clear();
    EXPECT_NE(SaveTarga(s, (m_folder / "no/such/folder/x.tga").c_str(), 0), PIM_OK);
    EXPECT_FALSE(errors.errors.empty());

    // Nor is a file written for a surface that failed to load.
    CxDrawSurface broken;
    ASSERT_EQ(broken.Create(2, 2, 24), PIM_OK);
    broken.SetError(PIM_ERR_FILE_TYPE, "half a picture");
    EXPECT_EQ(SaveTarga(broken, (m_folder / "b.tga").c_str(), 0), PIM_ERR_FILE_TYPE);
    EXPECT_EQ(m_folder.Read("b.tga"), "");
}
