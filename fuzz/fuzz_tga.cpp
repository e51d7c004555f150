// The Targa reader over arbitrary bytes, then the picture used as the game
// uses one.
#include "PIM/image/PimImageReaders.h"
#include "fuzz/FuzzPicture.h"

namespace {

// Rows are packed whole pixels, in the formats the reader promises, and no
// more than the packets in the file could have made.
void CheckTarga(CxDrawSurface& picture, size_t size)
{
    const int depth = picture.GetDepth();
    fuzz::Check(depth == 8 || depth == 16 || depth == 24 || depth == 32);
    fuzz::Check(depth != 16 || picture.GetPixelLayout() == PIM_LAYOUT_555);
    fuzz::Check(picture.GetPitch() == picture.GetWidth() * (depth / 8));
    fuzz::Check(picture.GetBitsSize() <= size * 128 * 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ReadAndUse(&DecodeTarga, data, size, "fuzz.tga", &CheckTarga);
    return 0;
}
