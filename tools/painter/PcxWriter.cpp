#include "tools/painter/PcxWriter.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimByteOrder.h"
#include "PIM/files/PimFileLayer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 128;
constexpr int kPlanes = 3;
constexpr uint8_t kRunFlag = 0xC0;
constexpr size_t kLongestRun = 0x3F;
constexpr int32_t kMostPixels = 0xFFFF;

// Codes one plane line. A byte with both top bits set would read as a count,
// so even a single one goes out as a run of one. Returns the bytes written.
size_t EncodeLine(const uint8_t* line, size_t count, uint8_t* out)
{
    size_t used = 0;
    for (size_t i = 0; i < count;) {
        const uint8_t value = line[i];
        size_t run = 1;
        while (i + run < count && run < kLongestRun && line[i + run] == value)
            ++run;
        if (run > 1 || value >= kRunFlag)
            out[used++] = static_cast<uint8_t>(kRunFlag | run);
        out[used++] = value;
        i += run;
    }
    return used;
}

void WriteHeader(uint8_t* p, int32_t width, int32_t height, size_t planeBytes)
{
    std::memset(p, 0, kHeaderBytes);
    p[0] = 10; // the maker's mark every PCX file starts with
    p[1] = 5;  // version 5: 24-bit colour allowed
    p[2] = 1;  // run-length coded
    p[3] = 8;  // bits per pixel in each plane
    WriteLe16(p + 8, static_cast<uint32_t>(width - 1));
    WriteLe16(p + 10, static_cast<uint32_t>(height - 1));
    WriteLe16(p + 12, 72); // dots per inch, as painters wrote them
    WriteLe16(p + 14, 72);
    p[65] = kPlanes;
    WriteLe16(p + 66, static_cast<uint32_t>(planeBytes));
    WriteLe16(p + 68, 1); // colour, not grey
}

} // namespace

int BuildPcxFile(CxDrawSurface& surface, CxBuffer& file, size_t& fileSize)
{
    fileSize = 0;
    if (surface.GetError() != PIM_OK)
        return surface.GetError(); // half a picture is not saved
    const int32_t width = surface.GetWidth(), height = surface.GetHeight();
    if (surface.GetDepth() != 24)
        return ReportError(PIM_ERR_BAD_ARG, "A PCX file of ours holds 24-bit pictures, not %d-bit ones",
                           surface.GetDepth());
    if (width <= 0 || height <= 0 || width > kMostPixels || height > kMostPixels)
        return ReportError(PIM_ERR_BAD_ARG, "A PCX file cannot hold %d x %d pixels", width, height);

    // Readers expect an even number of bytes per plane line.
    const size_t planeBytes = (static_cast<size_t>(width) + 1) & ~size_t{1};
    // At worst every byte takes two (a run of one in front of it).
    const size_t worst = kHeaderBytes + static_cast<size_t>(height) * kPlanes * planeBytes * 2;
    CxBuffer line;
    if (worst > CxBuffer::kMaxSize || !file.Resize(worst) || !line.Resize(planeBytes))
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Unable to allocate %zu bytes for a PCX file", worst);
    uint8_t* out = file.GetData();
    WriteHeader(out, width, height, planeBytes);
    size_t used = kHeaderBytes;

    const uint8_t* bits = surface.LockBits();
    if (!bits)
        return surface.GetError() ? surface.GetError() : ReportError(PIM_ERR_OUT_OF_MEMORY, "pBits is NULL");
    uint8_t* plane = line.GetData();
    plane[planeBytes - 1] = 0; // the padding byte of an odd width
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = bits + static_cast<ptrdiff_t>(y) * surface.GetPitch();
        // The surface keeps blue, green, red; the planes go red, green, blue.
        for (int p = 0; p < kPlanes; ++p) {
            const int channel = 2 - p;
            for (int32_t x = 0; x < width; ++x)
                plane[x] = row[static_cast<size_t>(x) * 3 + static_cast<size_t>(channel)];
            used += EncodeLine(plane, planeBytes, out + used);
        }
    }
    surface.UnlockBits();
    fileSize = used;
    return PIM_OK;
}

int SavePcx(CxDrawSurface& surface, const char* fileName)
{
    if (!fileName || !*fileName)
        return ReportError(PIM_ERR_BAD_ARG, "SavePcx: no file name");
    CxBuffer file;
    size_t fileSize = 0;
    int code = BuildPcxFile(surface, file, fileSize);
    if (code != PIM_OK)
        return code;
    const int reportsBefore = GetErrorCount();
    code = FsReplaceFile(fileName, file.GetData(), fileSize);
    if (code != PIM_OK && GetErrorCount() == reportsBefore)
        ReportError(code, "Could not save %s", fileName); // not every file system reports its own
    return code;
}
