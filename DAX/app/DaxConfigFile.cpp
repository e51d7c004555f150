#include "DAX/app/DaxConfigFile.h"

#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"

#include <new>
#include <vector>

namespace {

int Skipped(int code, const char* fileName, const char* why)
{
    Trace("%s %s: the game layer's defaults apply\n", fileName, why);
    return code;
}

} // namespace

int DaxLoadConfigFile(CxOptions& store, const char* fileName)
{
    store.ReadFromBuffer(nullptr, 0);
    if (!fileName || !*fileName || !FsExists(fileName))
        return Skipped(PIM_ERR_NOT_FOUND, fileName ? fileName : "", "is not there");
    int code = PIM_OK;
    CxFsHandle* file = FsOpen(fileName, CBF_BINARY | CBF_READONLY, &code);
    if (!file)
        return Skipped(PIM_ERR_OPEN, fileName, "cannot be opened");
    const int64_t size = FsSize(file);
    if (size < 0 || size > DAX_CONFIG_MAX_BYTES) {
        FsClose(file);
        return Skipped(size < 0 ? PIM_ERR_READ : PIM_ERR_FILE_TYPE, fileName,
                       size < 0 ? "cannot be read" : "is too big for an option file");
    }
    std::vector<char> bytes;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        FsClose(file);
        return Skipped(PIM_ERR_OUT_OF_MEMORY, fileName, "does not fit in memory");
    }
    size_t got = 0;
    code = bytes.empty() ? PIM_OK : FsRead(file, bytes.data(), bytes.size(), &got);
    FsClose(file);
    if (code != PIM_OK)
        return Skipped(PIM_ERR_READ, fileName, "cannot be read");
    // A file that shrank since its size was taken is read as far as it goes.
    return store.ReadFromBuffer(bytes.data(), got);
}
