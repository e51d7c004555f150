#pragma once
// A folder on disk as a file system. Paths are taken relative to the root
// folder (the default file system, "<DEFAULT>", has none and uses names as
// given); "\" counts as "/", and every component is found without regard to
// letter case (CxPathResolver).

#include "PIM/files/CxFileSystem.h"

#include <string>

class CxDirectoryFileSystem : public CxFileSystem
{
public:
    // `root` may carry a root tag of its own; it is then resolved through the
    // file layer each time it is used.
    CxDirectoryFileSystem(const char* name, const char* root, int priority = INT_MAX);
    ~CxDirectoryFileSystem() override;

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

    const char* GetRoot() const { return m_root.c_str(); }

    // The C stream mode for a set of open flags (empty for a conflicting set).
    static std::string StreamMode(uint32_t flags);

    // Where `path` lives on disk.
    std::string DiskPath(const char* path);

    struct OpenFile;

private:
    void FindIn(CxFileInfoList& list, const std::string& folder, const std::string& shownFolder,
                const char* namePattern, int attributeMask, bool recurse, int depth);

    std::string m_root;
    OpenFile* m_open = nullptr; // every stream still open, closed with the file system
};

// "<DEFAULT>": the folder file system without a root, made on first use of the
// file layer when no other file system exists, and by the application.
CxDirectoryFileSystem* GetDefaultFileSystem();
void DestroyDefaultFileSystem();

// Broken-down local time of a file time stamp.
ST_FILE_TIME FileTimeFromSeconds(int64_t seconds, int64_t nanos);
