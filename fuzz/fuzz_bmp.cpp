// The BMP reader over arbitrary bytes, then the picture used as the game
// uses one.
#include "PIM/image/PimImageReaders.h"
#include "fuzz/FuzzPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ReadAndUse(&DecodeBmp, data, size, "fuzz.bmp");
    return 0;
}
