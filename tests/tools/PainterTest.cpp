// The demo pictures: painted, readable by the game's own loaders, and the
// same bytes every time (the build paints them anew on every build).
#include "PIM/graphics/CxDrawSurface.h"
#include "tests/support/TempFolder.h"
#include "tools/painter/DemoPainter.h"

#include <gtest/gtest.h>

#include <string>

TEST(DemoPainter, PaintsLoadablePicturesTheSameEveryTime)
{
    TempFolder first, second;
    ASSERT_EQ(PaintDemoPictures(first.Path().c_str(), false), PIM_OK);
    ASSERT_EQ(PaintDemoPictures(second.Path().c_str(), false), PIM_OK);
    struct Expected
    {
        int width, height, depth;
    };
    const Expected sizes[] = {{800, 600, 24}, {256, 48, 32}, {160, 72, 32}, {120, 40, 24}, {208, 24, 24}};
    int count = 0;
    for (const char* const* name = GetDemoPictureNames(); *name; ++name, ++count) {
        SCOPED_TRACE(*name);
        const std::string bytes = first.Read(*name);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes, second.Read(*name));
        CxDrawSurface picture;
        ASSERT_EQ(picture.Load((first / *name).c_str()), PIM_OK);
        EXPECT_EQ(picture.GetWidth(), sizes[count].width);
        EXPECT_EQ(picture.GetHeight(), sizes[count].height);
        EXPECT_EQ(picture.GetDepth(), sizes[count].depth);
    }
    EXPECT_EQ(count, 5);
    // A folder that cannot be made is reported, not called success.
    EXPECT_NE(PaintDemoPictures("/proc/no-such-place", false), PIM_OK);
}
