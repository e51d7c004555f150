// The demo pictures: painted, readable by the game's own loaders, and the
// same bytes every time (the build paints them anew on every build).
#include "PIM/graphics/CxDrawSurface.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/DemoPainter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DemoPainter, PaintsLoadablePicturesTheSameEveryTime)
{
    TempFolder first, second;
    ASSERT_EQ(PaintDemoPictures(first.Path().c_str(), false), PIM_OK);
    ASSERT_EQ(PaintDemoPictures(second.Path().c_str(), false), PIM_OK);
    const std::vector<ST_DEMO_PICTURE> pictures = GetDemoPictures();
    EXPECT_GE(pictures.size(), 5u);
    for (const ST_DEMO_PICTURE& entry : pictures) {
        SCOPED_TRACE(entry.path);
        const std::string bytes = first.Read(entry.path);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, second.Read(entry.path));
        CxDrawSurface picture;
        ASSERT_EQ(picture.Load((first / entry.path).c_str()), PIM_OK);
        EXPECT_EQ(picture.GetWidth(), entry.width);
        EXPECT_EQ(picture.GetHeight(), entry.height);
        EXPECT_EQ(picture.GetDepth(), entry.depth);
    }
    // A folder that cannot be made is reported, not called success.
    EXPECT_NE(PaintDemoPictures("/proc/no-such-place", false), PIM_OK);
}
