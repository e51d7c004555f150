#pragma once
// Pictures the game-layer tests name without writing them: any file ending
// in ".pic" whose name ends "_<width>x<height>_<depth>.pic" loads as a
// picture of that size and depth, filled with kPictureFill except the pixel
// (3, 4), which holds kPictureMark (when it lies inside). Any other ".pic"
// ("missing.pic") does not load.

#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"

#include <cstdio>
#include <cstring>

namespace DaxTest {

constexpr uint32_t kPictureFill = 7;
constexpr uint32_t kPictureMark = 5;
constexpr int32_t kMarkX = 3;
constexpr int32_t kMarkY = 4;

inline int LoadGeneratedPicture(CxDrawSurface& surface, const char* fileName, int)
{
    int width = 0, height = 0, depth = 0;
    bool named = false;
    for (const char* at = std::strchr(fileName, '_'); at && !named; at = std::strchr(at + 1, '_')) {
        int used = 0;
        named = std::sscanf(at + 1, "%dx%d_%d.pic%n", &width, &height, &depth, &used) == 3 && at[1 + used] == '\0';
    }
    if (!named)
        return surface.SetError(PIM_ERR_OPEN, "no such picture: %s", fileName);
    if (surface.Create(width, height, depth) != PIM_OK)
        return surface.GetError();
    surface.FillRect(surface.GetRect(), kPictureFill);
    if (width > kMarkX && height > kMarkY)
        surface.SetPixel(kMarkX, kMarkY, kPictureMark);
    return PIM_OK;
}

// With the engine's own formats, which put the image hooks in place.
inline int RegisterGeneratedPictures()
{
    RegisterDefaultImageFilters();
    return RegisterImageFilter(".pic", &LoadGeneratedPicture, nullptr);
}

} // namespace DaxTest
