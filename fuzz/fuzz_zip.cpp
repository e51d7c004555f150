// The input is mounted as an archive in memory. Whatever it holds, every
// member listed is read to its end in pieces of changing size, sought in
// back and forth, and closed. Beyond not crashing, checks what holds for any
// archive: a listed file exists and is no folder, a listed folder is one,
// reads never deliver more than the size, and positions land where sought.
#include "PIM/core/CxError.h"
#include "PIM/files/CxZipFileSystem.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Quiet(void*, int, const char*) {}

// Piece sizes and seek targets come from the input itself, so the fuzzer
// steers them too.
struct ST_DICE
{
    uint32_t state;
    uint32_t Next(uint32_t range)
    {
        state = state * 1103515245u + 12345u;
        return range ? (state >> 8) % range : 0;
    }
};

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void Exercise(CxZipFileSystem& zip, const std::string& path, ST_DICE& dice)
{
    PimFileHandle handle = zip.Open(path.c_str(), CBF_DEFAULT);
    if (!handle)
        return;
    int64_t size = zip.Size(handle);
    static uint8_t buffer[70000];
    static const size_t pieces[] = {1, 3, 512, 4096, 16384, 16385, sizeof buffer};
    int64_t total = 0;
    // Reads are bounded: a small input can still inflate to megabytes.
    for (int turn = 0; turn < 64; ++turn) {
        size_t got = 0;
        int code = zip.Read(handle, buffer, pieces[dice.Next(7)], &got);
        total += static_cast<int64_t>(got);
        Check(total <= size && zip.Tell(handle) == total);
        if (code != PIM_OK || got == 0)
            break;
    }
    for (int turn = 0; turn < 4; ++turn) {
        int64_t target = size ? static_cast<int64_t>(dice.Next(static_cast<uint32_t>(size > 70000 ? 70000 : size))) : 0;
        if (zip.Seek(handle, target, 0) == PIM_OK)
            Check(zip.Tell(handle) == target);
        size_t got = 0;
        zip.Read(handle, buffer, 100, &got);
    }
    zip.Seek(handle, -1, 2);
    zip.Close(handle);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&Quiet, nullptr});
    CxZipFileSystem zip(data, size, "<Fuzz>");
    Check(zip.IsMounted() == (zip.GetError() == PIM_OK));

    CxFileInfoList list;
    zip.FindFiles(list, "*", 0, true);
    zip.FindFiles(list, "*", -1, true);
    ST_DICE dice{static_cast<uint32_t>(size)};
    int members = 0;
    for (auto* node = list.GetFirst(); node; node = node->GetNext()) {
        const CxFileInfo& info = node->GetElement();
        std::string path = info.fullPath.GetText();
        bool cut = path.size() >= static_cast<size_t>(CxString::kMaxLength);
        if (info.attributes & PIM_FA_DIRECTORY) {
            Check(cut || zip.IsDirectory(path.c_str()));
            continue;
        }
        Check(cut || zip.Exists(path.c_str()));
        if (++members <= 16)
            Exercise(zip, path, dice);
    }
    return 0;
}
