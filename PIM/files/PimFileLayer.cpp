#include "PIM/files/PimFileLayer.h"

#include "PIM/files/CxDirectoryFileSystem.h"

namespace {

// The file system for `path`; a run with none at all gets the default one, so
// that tools and tests can name files without mounting anything.
CxFileSystem* Serve(const char* path, const char** relative)
{
    if (GetFileSystemCount() == 0)
        GetDefaultFileSystem();
    return FindFileSystem(path, relative);
}

// A handle is only used while its file system is the one it was opened on.
CxFileSystem* Owner(CxFsHandle* handle)
{
    if (!handle || !IsFileSystemAlive(handle->fs, handle->serial))
        return nullptr;
    return handle->fs;
}

} // namespace

bool FsExists(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs && fs->Exists(relative);
}

bool FsIsDirectory(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs && fs->IsDirectory(relative);
}

int FsMakeDirectory(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->MakeDirectory(relative) : PIM_ERR_NOT_FOUND;
}

int FsRemoveDirectory(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->RemoveDirectory(relative) : PIM_ERR_NOT_FOUND;
}

int FsDelete(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->Delete(relative) : PIM_ERR_NOT_FOUND;
}

int FsRename(const char* oldPath, const char* newPath)
{
    const char* relative;
    CxFileSystem* fs = Serve(oldPath, &relative);
    return fs ? fs->Rename(relative, StripRootTag(newPath)) : PIM_ERR_NOT_FOUND;
}

uint32_t FsGetAttributes(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->GetAttributes(relative) : 0;
}

int FsSetAttributes(const char* path, uint32_t attributes)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->SetAttributes(relative, attributes) : PIM_ERR_NOT_FOUND;
}

int64_t FsGetSize(const char* path)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->FileSize(relative) : 0;
}

int FsGetFullPath(CxString& out, const char* path)
{
    out = path;
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->GetFullPath(out, relative) : PIM_ERR_NOT_FOUND;
}

int FsFindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse)
{
    const char* relative;
    CxFileSystem* fs = Serve(pattern, &relative);
    return fs ? fs->FindFiles(list, relative, attributeMask, recurse) : PIM_ERR_NOT_FOUND;
}

int FsGetFileTime(const char* path, ST_FILE_TIME& out)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->GetFileTime(relative, out) : PIM_ERR_NOT_FOUND;
}

int FsReplaceFile(const char* path, const void* data, size_t size)
{
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    return fs ? fs->ReplaceFile(relative, data, size) : PIM_ERR_NOT_FOUND;
}

CxFsHandle* FsOpen(const char* path, uint32_t flags, int* error)
{
    if (error)
        *error = PIM_OK;
    const char* relative;
    CxFileSystem* fs = Serve(path, &relative);
    if (!fs) {
        if (error)
            *error = PIM_ERR_NOT_FOUND;
        return nullptr;
    }
    PimFileHandle own = fs->Open(relative, flags);
    if (!own) {
        if (error)
            *error = fs->GetError() ? fs->GetError() : PIM_ERR_OPEN;
        return nullptr;
    }
    CxFsHandle* handle = new CxFsHandle;
    if (!handle) {
        fs->Close(own);
        if (error)
            *error = PIM_ERR_OUT_OF_MEMORY;
        return nullptr;
    }
    handle->fs = fs;
    handle->serial = fs->GetSerial();
    handle->handle = own;
    return handle;
}

int FsClose(CxFsHandle* handle)
{
    if (!handle)
        return PIM_OK;
    CxFileSystem* fs = Owner(handle);
    int result = fs ? fs->Close(handle->handle) : PIM_ERR_BAD_ARG;
    delete handle;
    return result;
}

int FsRead(CxFsHandle* handle, void* buffer, size_t count, size_t* countRead)
{
    if (countRead)
        *countRead = 0;
    CxFileSystem* fs = Owner(handle);
    return fs ? fs->Read(handle->handle, buffer, count, countRead) : PIM_ERR_BAD_ARG;
}

int FsWrite(CxFsHandle* handle, const void* data, size_t count)
{
    CxFileSystem* fs = Owner(handle);
    return fs ? fs->Write(handle->handle, data, count) : PIM_ERR_BAD_ARG;
}

int FsSeek(CxFsHandle* handle, int64_t offset, int origin)
{
    if (!handle)
        return PIM_OK;
    CxFileSystem* fs = Owner(handle);
    return fs ? fs->Seek(handle->handle, offset, origin) : PIM_ERR_BAD_ARG;
}

int64_t FsTell(CxFsHandle* handle)
{
    CxFileSystem* fs = Owner(handle);
    return fs ? fs->Tell(handle->handle) : 0;
}

int64_t FsSize(CxFsHandle* handle)
{
    CxFileSystem* fs = Owner(handle);
    return fs ? fs->Size(handle->handle) : 0;
}

int FsTruncate(CxFsHandle* handle, int64_t size)
{
    if (!handle)
        return PIM_OK;
    CxFileSystem* fs = Owner(handle);
    return fs ? fs->Truncate(handle->handle, size) : PIM_ERR_BAD_ARG;
}
