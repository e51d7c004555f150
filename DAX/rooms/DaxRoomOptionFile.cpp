#include "DAX/rooms/DaxRoomOptionFile.h"

#include "PIM/core/CxError.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"

#include <algorithm>
#include <vector>

int DaxReadOptionFileQuietly(CxOptions& store, const char* fileName)
{
    store.Flush();
    if (!fileName || !*fileName || !FsExists(fileName))
        return PIM_ERR_NOT_FOUND;
    int code = PIM_OK;
    CxFsHandle* file = FsOpen(fileName, CBF_BINARY | CBF_READONLY, &code);
    if (!file)
        return code != PIM_OK ? code : PIM_ERR_OPEN;
    const int64_t size = FsSize(file);
    if (size < 0 || size > DAX_ROOM_OPTIONS_MAX_BYTES) {
        FsClose(file);
        return size < 0 ? PIM_ERR_READ : PIM_ERR_FILE_TYPE;
    }
    std::vector<char> text(static_cast<size_t>(size));
    size_t got = 0;
    code = text.empty() ? PIM_OK : FsRead(file, text.data(), text.size(), &got);
    FsClose(file);
    if (code != PIM_OK)
        return code;
    // The file may have shrunk since its size was taken.
    code = store.ReadFromBuffer(text.data(), std::min(got, text.size()));
    if (code != PIM_OK)
        store.Flush();
    return code;
}
