#pragma once
// A zip archive mounted as a read-only file system. Members may be stored or
// deflated; each open member has its own inflater, input buffer and place in
// the archive, so any number can be read side by side.
//
// An archive is outside data: it is checked before it is trusted, and one
// that does not hold together leaves the file system empty with
// GetError() == 13 (every call still answers safely). Members that cannot be
// read here (encrypted, ZIP64, 2 GB or more, methods other than store and
// deflate) are listed but refused when opened, with 13.

#include "PIM/files/CxFileSystem.h"
#include "PIM/files/PimZipDirectory.h"

struct ST_ZIP_HANDLE;

class CxZipFileSystem : public CxFileSystem
{
public:
    // The archive is read through the file layer; this file system is busy
    // meanwhile, so the path never leads back into it. `name` is the root
    // tag, e.g. "<InstallPath>".
    CxZipFileSystem(const char* archivePath, const char* name, int priority = INT_MAX);
    // An archive in memory, which is not copied and must outlive this.
    CxZipFileSystem(const void* data, size_t size, const char* name, int priority = INT_MAX);
    ~CxZipFileSystem() override;

    // True when the archive was read; false leaves GetError() saying why.
    bool IsMounted() const { return m_directory.IsLoaded(); }
    const CxZipDirectory& GetDirectory() const { return m_directory; }

    int FindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse) override;
    // Read-only: 13.
    int MakeDirectory(const char* path) override;
    int RemoveDirectory(const char* path) override;
    // True when some entry's name lies inside the folder (an entry of its
    // own is not needed).
    bool IsDirectory(const char* path) override;
    // Only with flags exactly CBF_BINARY | CBF_READONLY (else 16).
    PimFileHandle Open(const char* path, uint32_t flags) override;
    // Read-only: null, 13.
    PimFileHandle Create(const char* path, uint32_t flags) override;
    // 14 when the whole member was delivered and its CRC-32 differs.
    int Close(PimFileHandle handle) override;
    // A member that ends early or whose data is damaged gives 5, with what
    // could be delivered counted in `countRead`.
    int Read(PimFileHandle handle, void* buffer, size_t count, size_t* countRead) override;
    // Writes nothing, and says so with 0.
    int Write(PimFileHandle handle, const void* data, size_t count) override;
    // Forward seeks decode and discard, backward seeks start the member over.
    // Positions past the end stop at the end; before the start: 7.
    int Seek(PimFileHandle handle, int64_t offset, int origin) override;
    // Tell and Size answer -1 for a handle that is not open here.
    int64_t Tell(PimFileHandle handle) override;
    // Uncompressed sizes; 0 for what is not a file here.
    int64_t FileSize(const char* path) override;
    int64_t Size(PimFileHandle handle) override;
    // Truncate, SetAttributes, Delete and Rename change nothing and answer 0,
    // as callers of every file system expect of these.
    int Truncate(PimFileHandle handle, int64_t size) override;
    uint32_t GetAttributes(const char* path) override;
    int SetAttributes(const char* path, uint32_t attributes) override;
    // Files only: a folder entry ("name/") is not one.
    bool Exists(const char* path) override;
    int Delete(const char* path) override;
    int Rename(const char* oldPath, const char* newPath) override;
    // 9 "File not found" for names without an entry of their own.
    int GetFileTime(const char* path, ST_FILE_TIME& out) override;
    // The path without this file system's name in front.
    int GetFullPath(CxString& out, const char* path) override;
    int ReplaceFile(const char* path, const void* data, size_t size) override;

private:
    void Mount(const char* what);
    ST_ZIP_HANDLE* Validate(PimFileHandle handle);
    void Unlink(ST_ZIP_HANDLE* handle);
    void FreeHandle(ST_ZIP_HANDLE* handle);
    int Restart(ST_ZIP_HANDLE* handle);
    int ReadMember(ST_ZIP_HANDLE* handle, uint8_t* out, size_t count, size_t& delivered);
    int Inflate(ST_ZIP_HANDLE* handle, uint8_t* out, size_t count, size_t& delivered);
    int Skip(ST_ZIP_HANDLE* handle, uint64_t count);

    CxZipByteSource* m_source = nullptr;
    CxZipDirectory m_directory;
    ST_ZIP_HANDLE* m_handles = nullptr; // every open member, so none outlives us
};
