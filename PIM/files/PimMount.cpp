#include "PIM/files/PimMount.h"

#include "PIM/core/Pimstr.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxZipFileSystem.h"

#include <cstring>

bool IsZipArchivePath(const char* path)
{
    size_t length = PimStrLen(path);
    return length >= 4 && PimStrEqual(path + length - 4, ".zip", true);
}

CxFileSystem* MountFileSystem(const char* tag, const char* path)
{
    if (IsZipArchivePath(path))
        return new CxZipFileSystem(path, tag);
    return new CxDirectoryFileSystem(tag, path);
}
