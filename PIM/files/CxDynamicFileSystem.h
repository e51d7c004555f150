#pragma once
// A root mapped onto part of another file system: every path is taken below
// a base path (which may carry a root tag of its own) and served by whatever
// file system holds it. While it works, the dynamic file system is busy, so
// it is never asked for its own paths again.

#include "PIM/files/CxFileSystem.h"

#include <string>

class CxDynamicFileSystem : public CxFileSystem
{
public:
    CxDynamicFileSystem(const char* name, const char* basePath, int priority = INT_MAX);

    int FindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse) override;
    int MakeDirectory(const char* path) override;
    int RemoveDirectory(const char* path) override;
    bool IsDirectory(const char* path) override;
    PimFileHandle Open(const char* path, uint32_t flags) override;
    PimFileHandle Create(const char* path, uint32_t flags) override;
    int Close(PimFileHandle handle) override;
    int Read(PimFileHandle handle, void* buffer, size_t count, size_t* countRead) override;
    int Write(PimFileHandle handle, const void* data, size_t count) override;
    int Seek(PimFileHandle handle, int64_t offset, int origin) override;
    int64_t Tell(PimFileHandle handle) override;
    int64_t FileSize(const char* path) override;
    int64_t Size(PimFileHandle handle) override;
    int Truncate(PimFileHandle handle, int64_t size) override;
    uint32_t GetAttributes(const char* path) override;
    int SetAttributes(const char* path, uint32_t attributes) override;
    bool Exists(const char* path) override;
    int Delete(const char* path) override;
    int Rename(const char* oldPath, const char* newPath) override;
    int GetFileTime(const char* path, ST_FILE_TIME& out) override;
    int GetFullPath(CxString& out, const char* path) override;
    int ReplaceFile(const char* path, const void* data, size_t size) override;

    const char* GetBasePath() const { return m_base.c_str(); }
    // Base path + "/" + path, with "//" made "/".
    std::string Combine(const char* path) const;

private:
    std::string m_base;
};
