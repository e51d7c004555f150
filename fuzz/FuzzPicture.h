#pragma once
// What every picture reader's fuzz target does with a picture once it is
// read: what the game does with one. It is drawn onto the 5-6-5 back buffer
// and onto a 32-bit surface, and converted to 8 and 24 bits. A header whose
// fields pass one by one but disagree together (pitch against depth, sizes
// against the data) shows up here even when decoding itself survived. A
// picture that failed to load keeps what was made before the failure, so
// it is used the same way.

#include "PIM/core/CxError.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <cstdlib>

namespace fuzz {

inline void Quiet(void*, int, const char*) {}

inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Conversions search a palette per colour, and building the search costs
// most for large pictures (a run-length file of a few hundred bytes makes
// tens of thousands of pixels): 64 x 64 reaches every path and keeps runs fast.
constexpr int64_t kMaxConvertedPixels = int64_t{1} << 12;

inline void UsePicture(CxDrawSurface& picture)
{
    if (!picture.IsCreated())
        return;
    picture.ClearError();
    CxDrawSurface screen;
    CxDrawSurface deep;
    Check(screen.Create(64, 48, 16, -1, nullptr, PIM_LAYOUT_565) == PIM_OK);
    Check(deep.Create(64, 48, 32) == PIM_OK);
    picture.BlitAt(screen, -3, 5, nullptr, PIM_NO_KEY, nullptr);
    picture.BlitAt(deep, 2, -1, nullptr, 0, nullptr);
    if (int64_t{picture.GetWidth()} * picture.GetHeight() > kMaxConvertedPixels)
        return;
    for (int depth : {8, 24}) {
        CxDrawSurface copy;
        if (copy.CreateCopy(picture) == PIM_OK)
            copy.ConvertFormat(depth, PIM_LAYOUT_DEFAULT);
    }
}

using Decoder = int (*)(CxDrawSurface& surface, const uint8_t* data, size_t size, const char* name);

// Reads the bytes with `decode`, checks what every loaded picture must be,
// and uses the picture. Returns the reader's code.
inline int ReadAndUse(Decoder decode, const uint8_t* data, size_t size, const char* name,
                      void (*checkLoaded)(CxDrawSurface&, size_t) = nullptr)
{
    SetErrorHandler({&Quiet, nullptr});
    CxDrawSurface picture;
    const int code = decode(picture, data, size, name);
    if (code == PIM_OK) {
        // Readers do not judge a picture's size: one of no columns or no rows
        // may load, and must be as harmless to use as any other.
        Check(picture.IsCreated() && picture.GetWidth() >= 0 && picture.GetHeight() >= 0);
        Check(picture.GetBitsSize() >= static_cast<size_t>(picture.GetPitch()) * picture.GetHeight());
        if (checkLoaded)
            checkLoaded(picture, size);
    }
    UsePicture(picture);
    return code;
}

} // namespace fuzz
