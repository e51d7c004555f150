// The ".PIM" reader over arbitrary bytes, then the picture used as the game
// uses one. The LZ scheme is also run on its own over the input, into an
// output with guard bytes behind it, since the reader only reaches it
// through a header.
#include "PIM/image/PimImageReaders.h"
#include "fuzz/FuzzPicture.h"

#include <vector>

namespace {

void RunLz(const uint8_t* data, size_t size)
{
    if (size < 2)
        return;
    const size_t outSize = data[0] | (size_t{data[1]} << 8);
    constexpr size_t kGuard = 32;
    std::vector<uint8_t> out(outSize + kGuard, 0xA5);
    PimDecompressLz(data + 2, size - 2, out.data(), outSize);
    for (size_t i = outSize; i < out.size(); ++i)
        fuzz::Check(out[i] == 0xA5);
}

// Whatever the header said, a loaded picture's bits hold its rows, and no
// more than the data could have decompressed to.
void CheckPim(CxDrawSurface& picture, size_t size)
{
    fuzz::Check(picture.GetBitsSize() == static_cast<size_t>(picture.GetPitch()) * picture.GetHeight());
    fuzz::Check(picture.GetBitsSize() <= size * 16385);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    RunLz(data, size);
    fuzz::ReadAndUse(&DecodePim, data, size, "fuzz.pim", &CheckPim);
    return 0;
}
