// Arbitrary bytes opened as a movie through the ".MKV" driver, as a file of
// a mounted folder, with the sound track decoded: then the first frames
// rendered in order, a jump to the last frame and back to the first. Every
// call runs on a short time budget so that no input can hold the fuzzer.
#include "PIM/core/CxError.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/movie/CxAvDriver.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

void Quiet(void*, int, const char*) {}

// The folder the inputs are written to, made once per fuzzing process.
struct ST_FUZZ_FOLDER
{
    std::string path;
    CxDirectoryFileSystem* fs = nullptr;

    ST_FUZZ_FOLDER()
    {
        char pattern[] = "/tmp/fuzz-movie-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        path = pattern;
        fs = new CxDirectoryFileSystem("<FuzzMovie>", path.c_str());
    }
    ~ST_FUZZ_FOLDER()
    {
        delete fs;
        std::remove((path + "/input.mkv").c_str());
        ::rmdir(path.c_str());
    }
    ST_FUZZ_FOLDER(const ST_FUZZ_FOLDER&) = delete;
    ST_FUZZ_FOLDER& operator=(const ST_FUZZ_FOLDER&) = delete;
    static ST_FUZZ_FOLDER& Folder()
    {
        static ST_FUZZ_FOLDER folder;
        return folder;
    }
};

bool WriteInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen((ST_FUZZ_FOLDER::Folder().path + "/input.mkv").c_str(), "wb");
    if (!file)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
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
        return ST_FUZZ_FOLDER::Folder().fs != nullptr;
    }();
    if (!ready || !WriteInput(data, size))
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
