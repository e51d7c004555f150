#pragma once
// Mounting a folder or an archive under a root tag.

#include "PIM/files/CxFileSystem.h"

// True when `path` names a zip archive (it ends in ".zip", any case).
bool IsZipArchivePath(const char* path);

// A zip file system for an archive, a folder file system otherwise, named
// `tag` and entered at the front of the search list. The caller owns it.
// Null when out of memory; a zip that could not be read comes back with its
// error code set (check GetError()).
CxFileSystem* MountFileSystem(const char* tag, const char* path);
