#pragma once
// The file layer: every file the engine reads or writes goes through these.
// Each function finds the file system that serves the path (FindFileSystem:
// a root tag such as "<InstallPath>" names one, otherwise the first that has
// the file or folder, otherwise the first of the list), strips the tag and
// calls that file system. With no file system to serve the path they answer
// 0 / false, or 9 where a code is expected.

#include "PIM/files/CxFileSystem.h"

// An open file: the file system and its own handle. A handle whose file
// system has gone away answers every call with 16 and reads nothing.
class CxFsHandle : public CxObject
{
public:
    CxFileSystem* fs = nullptr;
    uint64_t serial = 0;
    PimFileHandle handle = nullptr;
};

bool FsExists(const char* path);
bool FsIsDirectory(const char* path);
int FsMakeDirectory(const char* path);
int FsRemoveDirectory(const char* path);
int FsDelete(const char* path);
// The file system is chosen by the old name; both names lose their tags.
int FsRename(const char* oldPath, const char* newPath);
uint32_t FsGetAttributes(const char* path);
int FsSetAttributes(const char* path, uint32_t attributes);
int64_t FsGetSize(const char* path);
// An unserved path comes back unchanged.
int FsGetFullPath(CxString& out, const char* path);
int FsFindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse);
int FsGetFileTime(const char* path, ST_FILE_TIME& out);
// Atomic replacement of a file's contents (see CxFileSystem::ReplaceFile).
int FsReplaceFile(const char* path, const void* data, size_t size);

// Null on failure; `error` (optional) receives the code.
CxFsHandle* FsOpen(const char* path, uint32_t flags, int* error = nullptr);
// Closes and frees the handle.
int FsClose(CxFsHandle* handle);
// A null handle gives 16 for reading and writing, 0 for the rest.
int FsRead(CxFsHandle* handle, void* buffer, size_t count, size_t* countRead);
int FsWrite(CxFsHandle* handle, const void* data, size_t count);
int FsSeek(CxFsHandle* handle, int64_t offset, int origin);
int64_t FsTell(CxFsHandle* handle);
int64_t FsSize(CxFsHandle* handle);
int FsTruncate(CxFsHandle* handle, int64_t size);
