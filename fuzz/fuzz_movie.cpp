// Arbitrary bytes opened as a movie through the ".MKV" driver, as a file of
// a mounted folder, with the sound track decoded: then the first frames
// rendered in order, a jump to the last frame and back to the first. Every
// call runs on a short time budget so that no input can hold the fuzzer.
#include "PIM/core/CxError.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxAvDriver.h"
#include "fuzz/FuzzFolder.h"

#include <cstdlib>

namespace {

void Quiet(void*, int, const char*) {}

// The folder the inputs are written to, made once per fuzzing process.
fuzz::MountedFolder& Folder()
{
    static fuzz::MountedFolder folder("<FuzzMovie>");
    return folder;
}

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        SetErrorHandler({&Quiet, nullptr});
        CxAvMovie::SetTimeBudget(250);
        return Folder().IsMounted();
    }();
    if (!ready || !Folder().Write("input.mkv", data, size))
        return 0;

    CxAvDriver driver;
    // Half the inputs are read from memory, half streamed from the file.
    const uint32_t flags = PIM_MOVIE_SOUND | (size & 1 ? PIM_MOVIE_PRELOAD : 0);
    if (driver.Open("<FuzzMovie>input.mkv", flags) != PIM_OK)
        return 0;
    const int32_t frames = driver.GetFrameCount();
    Check(frames > 0 && frames <= CxAvMovie::kMaxFrames);
    Check(driver.GetWidth() > 0 && driver.GetHeight() > 0);
    // Big pictures are valid but only slow the search down.
    if (static_cast<int64_t>(driver.GetWidth()) * driver.GetHeight() > 512 * 512)
        return 0;
    CxDrawSurface surface;
    if (driver.PrepareSurface(surface, size & 2 ? 8 : 16) != PIM_OK)
        return 0;
    CxRect changed[2];
    for (int step = 0; step < 6; ++step) {
        ST_MOVIE_RENDER request;
        request.surface = &surface;
        request.changed = changed;
        request.changedCapacity = 2;
        request.flags = step < 4 ? PIM_RENDER_SEQUENTIAL : 0;
        request.frame = step == 4 ? frames - 1 : 0;
        driver.Render(request);
        // Every render answers, and a decoded frame says what it changed.
        Check((request.flags & (PIM_RENDER_DECODED | PIM_RENDER_SKIPPED)) != 0);
        Check(request.changedCount <= 1);
        Check(driver.GetLastFrame() >= 1 && driver.GetLastFrame() <= frames);
    }
    return 0;
}
