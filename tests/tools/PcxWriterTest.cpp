// The painter's PCX writer: what it writes reads back through the engine's
// own reader pixel for pixel, and keeps to the layout strict readers need.
#include "PIM/core/PimByteOrder.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageReaders.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/PcxWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// An odd width (so each plane line is padded), a run longer than one code
// holds, lone bytes that would read as counts, and neighbours that differ.
void PaintAwkward(CxDrawSurface& s)
{
    s.Create(131, 6, 24);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 131; ++x) {
            uint32_t value = (x < 100 && y == 1) ? 0x123456u : static_cast<uint32_t>(x * 2654435761u + y * 97u) & 0xFFFFFFu;
            if (y == 3 && x % 2 == 0)
                value = 0xC1C0FFu; // bytes of 0xC0 and over, alone
            s.SetPixel(x, y, value);
        }
}

} // namespace

TEST(PcxWriter, WritesWhatTheEngineReadsBack)
{
    CxDrawSurface source;
    PaintAwkward(source);
    CxBuffer file;
    size_t size = 0;
    ASSERT_EQ(BuildPcxFile(source, file, size), PIM_OK);
    const uint8_t* p = file.GetData();
    EXPECT_EQ(p[1], 5);
    EXPECT_EQ(p[3], 8);
    EXPECT_EQ(p[65], 3);
    EXPECT_EQ(ReadLe16(p + 66), 132); // even bytes per plane line

    CxDrawSurface back;
    ASSERT_EQ(DecodePcx(back, p, size, "awkward.pcx"), PIM_OK);
    ASSERT_EQ(back.GetWidth(), 131);
    ASSERT_EQ(back.GetHeight(), 6);
    ASSERT_EQ(back.GetDepth(), 24);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 131; ++x)
            ASSERT_EQ(back.GetPixel(x, y), source.GetPixel(x, y)) << x << ", " << y;

    // Every plane line is coded on its own: no run carries into the next,
    // and the coded data ends exactly with the last line.
    size_t at = 128;
    for (int line = 0; line < 6 * 3; ++line) {
        size_t filled = 0;
        while (filled < 132) {
            ASSERT_LT(at, size);
            const uint8_t code = p[at++];
            const size_t count = code >= 0xC0 ? code & 0x3Fu : 1;
            if (code >= 0xC0)
                ++at;
            filled += count;
        }
        ASSERT_EQ(filled, 132u) << "a run crosses the end of plane line " << line;
    }
    EXPECT_EQ(at, size);
}

TEST(PcxWriter, RefusesWhatItCannotWrite)
{
    ErrorRecorder errors;
    CxBuffer file;
    size_t size = 7;
    CxDrawSurface deep;
    deep.Create(4, 4, 32);
    EXPECT_EQ(BuildPcxFile(deep, file, size), PIM_ERR_BAD_ARG);
    EXPECT_EQ(size, 0u);
    CxDrawSurface empty;
    EXPECT_EQ(BuildPcxFile(empty, file, size), PIM_ERR_BAD_ARG);
    // A surface that failed holds half a picture at best.
    CxDrawSurface failed;
    failed.Create(4, 4, 24);
    failed.SetError(PIM_ERR_READ, "a test's failure");
    EXPECT_EQ(BuildPcxFile(failed, file, size), PIM_ERR_READ);

    CxDrawSurface fine;
    PaintAwkward(fine);
    EXPECT_EQ(SavePcx(fine, nullptr), PIM_ERR_BAD_ARG);
    EXPECT_NE(SavePcx(fine, "<DEFAULT>/proc/no-such-place/x.pcx"), PIM_OK);
    TempFolder folder;
    ASSERT_EQ(SavePcx(fine, ("<DEFAULT>" + (folder / "fine.pcx")).c_str()), PIM_OK);
    EXPECT_FALSE(folder.Read("fine.pcx").empty());
}
