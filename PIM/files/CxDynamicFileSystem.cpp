#include "PIM/files/CxDynamicFileSystem.h"

#include "PIM/files/PimFileLayer.h"

CxDynamicFileSystem::CxDynamicFileSystem(const char* name, const char* basePath, int priority)
    : CxFileSystem(name, priority), m_base(basePath ? basePath : "")
{
}

std::string CxDynamicFileSystem::Combine(const char* path) const
{
    std::string joined = m_base;
    if (joined.empty() || joined.back() != '/')
        joined.push_back('/');
    joined += path ? path : "";
    std::string out;
    out.reserve(joined.size());
    for (char c : joined) {
        if (c == '/' && !out.empty() && out.back() == '/')
            continue;
        out.push_back(c);
    }
    return out;
}

// Every operation: combine, then go through the file layer while busy.
#define PIM_THROUGH_LAYER(call)                                                                                     \
    do {                                                                                                            \
        CxFileSystemBusy busy(*this);                                                                               \
        return call;                                                                                                \
    } while (false)

int CxDynamicFileSystem::FindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse)
{
    PIM_THROUGH_LAYER(FsFindFiles(list, Combine(pattern).c_str(), attributeMask, recurse));
}

int CxDynamicFileSystem::MakeDirectory(const char* path)
{
    PIM_THROUGH_LAYER(FsMakeDirectory(Combine(path).c_str()));
}

int CxDynamicFileSystem::RemoveDirectory(const char* path)
{
    PIM_THROUGH_LAYER(FsRemoveDirectory(Combine(path).c_str()));
}

bool CxDynamicFileSystem::IsDirectory(const char* path)
{
    PIM_THROUGH_LAYER(FsIsDirectory(Combine(path).c_str()));
}

PimFileHandle CxDynamicFileSystem::Open(const char* path, uint32_t flags)
{
    CxFileSystemBusy busy(*this);
    int code = PIM_OK;
    CxFsHandle* handle = FsOpen(Combine(path).c_str(), flags, &code);
    m_error = handle ? PIM_OK : code;
    return handle;
}

PimFileHandle CxDynamicFileSystem::Create(const char* path, uint32_t flags)
{
    return Open(path, (flags & ~static_cast<uint32_t>(CBF_READONLY)) | CBF_CREATE);
}

// The handles this file system gives out are the layer's own.
int CxDynamicFileSystem::Close(PimFileHandle handle)
{
    return FsClose(static_cast<CxFsHandle*>(handle));
}

int CxDynamicFileSystem::Read(PimFileHandle handle, void* buffer, size_t count, size_t* countRead)
{
    return FsRead(static_cast<CxFsHandle*>(handle), buffer, count, countRead);
}

int CxDynamicFileSystem::Write(PimFileHandle handle, const void* data, size_t count)
{
    return FsWrite(static_cast<CxFsHandle*>(handle), data, count);
}

int CxDynamicFileSystem::Seek(PimFileHandle handle, int64_t offset, int origin)
{
    return FsSeek(static_cast<CxFsHandle*>(handle), offset, origin);
}

int64_t CxDynamicFileSystem::Tell(PimFileHandle handle)
{
    return FsTell(static_cast<CxFsHandle*>(handle));
}

int64_t CxDynamicFileSystem::Size(PimFileHandle handle)
{
    return FsSize(static_cast<CxFsHandle*>(handle));
}

int CxDynamicFileSystem::Truncate(PimFileHandle handle, int64_t size)
{
    return FsTruncate(static_cast<CxFsHandle*>(handle), size);
}

int64_t CxDynamicFileSystem::FileSize(const char* path)
{
    PIM_THROUGH_LAYER(FsGetSize(Combine(path).c_str()));
}

uint32_t CxDynamicFileSystem::GetAttributes(const char* path)
{
    PIM_THROUGH_LAYER(FsGetAttributes(Combine(path).c_str()));
}

int CxDynamicFileSystem::SetAttributes(const char* path, uint32_t attributes)
{
    PIM_THROUGH_LAYER(FsSetAttributes(Combine(path).c_str(), attributes));
}

bool CxDynamicFileSystem::Exists(const char* path)
{
    PIM_THROUGH_LAYER(FsExists(Combine(path).c_str()));
}

int CxDynamicFileSystem::Delete(const char* path)
{
    PIM_THROUGH_LAYER(FsDelete(Combine(path).c_str()));
}

int CxDynamicFileSystem::Rename(const char* oldPath, const char* newPath)
{
    PIM_THROUGH_LAYER(FsRename(Combine(oldPath).c_str(), Combine(newPath).c_str()));
}

int CxDynamicFileSystem::GetFileTime(const char* path, ST_FILE_TIME& out)
{
    PIM_THROUGH_LAYER(FsGetFileTime(Combine(path).c_str(), out));
}

int CxDynamicFileSystem::GetFullPath(CxString& out, const char* path)
{
    PIM_THROUGH_LAYER(FsGetFullPath(out, Combine(path).c_str()));
}

int CxDynamicFileSystem::ReplaceFile(const char* path, const void* data, size_t size)
{
    PIM_THROUGH_LAYER(FsReplaceFile(Combine(path).c_str(), data, size));
}
