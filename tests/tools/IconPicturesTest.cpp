// The program's desktop icons: one face at every size, round on a clear
// ground (desktops lay icons on any colour), smooth at its edge.
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/DemoPainter.h"

#include <gtest/gtest.h>

#include <string>

TEST(IconPictures, RoundFacesOnAClearGroundAtEachSize)
{
    TempFolder folder;
    ASSERT_EQ(PaintPictures(IconPictures(), folder.Path().c_str(), false), PIM_OK);
    ASSERT_EQ(IconPictures().size(), 3u);
    for (const ST_DEMO_PICTURE& icon : IconPictures()) {
        SCOPED_TRACE(icon.path);
        EXPECT_EQ(icon.width, icon.height);
        EXPECT_EQ(std::string(icon.path), std::to_string(icon.width) + "x" + std::to_string(icon.width) +
                                              "/marrowdale.png");
        CxDrawSurface s;
        ASSERT_EQ(s.Load((folder / icon.path).c_str()), PIM_OK);
        ASSERT_EQ(s.GetWidth(), icon.width);
        ASSERT_EQ(s.GetDepth(), 32);
        const int32_t n = icon.width;
        auto alpha = [&](int32_t x, int32_t y) { return SplitPixel(s.GetFormat(), s.GetPixel(x, y)).alpha; };
        // Clear corners, a solid middle, and an edge that fades rather than steps.
        EXPECT_EQ(alpha(0, 0), 0);
        EXPECT_EQ(alpha(n - 1, n - 1), 0);
        EXPECT_EQ(alpha(n / 2, n / 2), 255);
        // (Along the diagonal: where the rim meets a row or column squarely
        // it may fall on a pixel's edge.)
        bool partial = false;
        for (int32_t x = 0; x < n / 2; ++x)
            partial = partial || (alpha(x, x) > 0 && alpha(x, x) < 255);
        EXPECT_TRUE(partial);
        // The pink face fills the middle: more red than green there.
        const ST_ARGB middle = SplitPixel(s.GetFormat(), s.GetPixel(n / 2, n / 2 + n / 16));
        EXPECT_GT(middle.red, middle.green);
    }
}
