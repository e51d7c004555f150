#pragma once
// Golden pictures: what a test draws is compared, pixel for pixel, with a
// PNG under tests/golden. The files are made on purpose only: run the test
// with PIM_UPDATE_GOLDEN=1 after a change that is meant to alter a picture,
// look at the new files, and commit them with the change.
#include "PIM/graphics/CxDrawSurface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline std::string GoldenPath(const char* name)
{
    return std::string("<DEFAULT>") + PIM_GOLDEN_DIR + "/" + name;
}

// Compares `picture` (24-bit) with the golden file, or writes it when asked.
inline void ExpectGolden(CxDrawSurface& picture, const char* name)
{
    const std::string path = GoldenPath(name);
    const char* update = std::getenv("PIM_UPDATE_GOLDEN");
    if (update && *update == '1') {
        ASSERT_EQ(picture.Save(path.c_str()), PIM_OK) << path;
        return;
    }
    CxDrawSurface golden;
    ASSERT_EQ(golden.Load(path.c_str()), PIM_OK) << path << " (make it with PIM_UPDATE_GOLDEN=1)";
    ASSERT_EQ(golden.GetWidth(), picture.GetWidth());
    ASSERT_EQ(golden.GetHeight(), picture.GetHeight());
    int wrong = 0;
    for (int32_t y = 0; y < picture.GetHeight() && wrong < 5; ++y)
        for (int32_t x = 0; x < picture.GetWidth() && wrong < 5; ++x)
            if (golden.GetPixel(x, y) != picture.GetPixel(x, y)) {
                ++wrong;
                ADD_FAILURE() << name << ": pixel (" << x << ", " << y << ") is " << std::hex << picture.GetPixel(x, y)
                              << ", the golden picture has " << golden.GetPixel(x, y);
            }
}

// Any surface (the 5-6-5 back buffer, say) as a 24-bit picture, the form the
// golden files keep.
inline void ExpectScreenGolden(CxDrawSurface& screen, const char* name)
{
    CxDrawSurface copy;
    ASSERT_EQ(copy.CreateCopy(screen), PIM_OK);
    ASSERT_EQ(copy.ConvertFormat(24, PIM_LAYOUT_DEFAULT), PIM_OK);
    ExpectGolden(copy, name);
}
