#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/os/PimWallClock.h"

#include "PIM/core/Pimstr.h"
#include "PIM/files/CxPathResolver.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/os/PimOsFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <cstdlib>
#include <vector>

struct CxDirectoryFileSystem::OpenFile
{
    FILE* stream = nullptr;
    std::string path; // on disk
    uint32_t flags = 0;
    OpenFile* next = nullptr;
    OpenFile* previous = nullptr;
};

namespace {

// Recursive listings stop here: a folder linked into itself must not hang us.
constexpr int kMaxFindDepth = 32;

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

uint32_t AttributesOf(const PimOs::ST_STAT& st, const std::string& name)
{
    uint32_t attributes = 0;
    if (st.isFolder)
        attributes |= PIM_FA_DIRECTORY;
    if (!st.writable)
        attributes |= PIM_FA_READONLY;
    if (!name.empty() && name[0] == '.')
        attributes |= PIM_FA_HIDDEN;
    return attributes;
}

void CollectNames(void* context, const char* name)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(name);
}

// A save stopped halfway (the machine lost power, the game was killed) leaves
// its temporary ".<name>.<pid>.<n>.tmp" behind. Those of processes that no
// longer run are removed before the next save of the same file.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name)
{
    std::vector<std::string> names;
    if (!PimOs::ListFolder(folder.c_str(), &CollectNames, &names))
        return;
    const std::string prefix = "." + name + ".";
    for (const std::string& entry : names) {
        if (entry.size() <= prefix.size() + 4 || entry.compare(0, prefix.size(), prefix) != 0 ||
            entry.compare(entry.size() - 4, 4, ".tmp") != 0)
            continue;
        long pid = std::strtol(entry.c_str() + prefix.size(), nullptr, 10);
        if (pid != PimOs::ProcessId() && !PimOs::ProcessAlive(pid))
            PimOs::Delete((folder + "/" + entry).c_str());
    }
}

} // namespace

ST_FILE_TIME FileTimeFromSeconds(int64_t seconds, int64_t nanos)
{
    ST_FILE_TIME out;
    std::tm local{};
    if (!PimLocalTime(seconds, local))
        return out;
    out.year = static_cast<uint16_t>(local.tm_year + 1900);
    out.month = static_cast<uint16_t>(local.tm_mon + 1);
    out.dayOfWeek = static_cast<uint16_t>(local.tm_wday);
    out.day = static_cast<uint16_t>(local.tm_mday);
    out.hour = static_cast<uint16_t>(local.tm_hour);
    out.minute = static_cast<uint16_t>(local.tm_min);
    out.second = static_cast<uint16_t>(local.tm_sec);
    out.millisecond = static_cast<uint16_t>(nanos / 1000000);
    return out;
}

CxDirectoryFileSystem::CxDirectoryFileSystem(const char* name, const char* root, int priority)
    : CxFileSystem(name, priority), m_root(root ? root : "")
{
    for (char& c : m_root)
        if (c == '\\')
            c = '/';
}

CxDirectoryFileSystem::~CxDirectoryFileSystem()
{
    while (m_open)
        Close(m_open);
}

std::string CxDirectoryFileSystem::StreamMode(uint32_t flags)
{
    // A read-only open that would also write or empty the file is a mistake
    // in the caller; doing either would destroy data.
    if ((flags & CBF_READONLY) && (flags & (CBF_WRITE | CBF_CREATE)))
        return std::string();
    std::string mode = "r+b";
    if (flags & CBF_READONLY)
        mode = "rb";
    // Text mode has no meaning on this system: the stream stays binary.
    if (flags & CBF_WRITE)
        mode[0] = 'w';
    if (flags & CBF_CREATE)
        mode = "w+b";
    else if (flags & CBF_APPEND)
        mode[0] = 'a';
    return mode;
}

std::string CxDirectoryFileSystem::DiskPath(const char* path)
{
    std::string root = m_root;
    if (!root.empty() && root[0] == '<') {
        CxString full;
        FsGetFullPath(full, root.c_str());
        root = full.GetText();
    }
    std::string joined;
    if (root.empty()) {
        joined = path ? path : "";
    } else {
        joined = root;
        if (joined.back() != '/')
            joined.push_back('/');
        joined += path ? path : "";
    }
    return CxPathResolver::Resolve(joined);
}

// --- files ---------------------------------------------------------------------

PimFileHandle CxDirectoryFileSystem::Open(const char* path, uint32_t flags)
{
    std::string mode = StreamMode(flags);
    if (mode.empty()) {
        m_error = PIM_ERR_BAD_ARG;
        return nullptr;
    }
    std::string disk = DiskPath(path);
    FILE* stream = PimOs::Open(disk.c_str(), mode.c_str());
    if (!stream) {
        m_error = PIM_ERR_OPEN;
        return nullptr;
    }
    OpenFile* file = PimNew<OpenFile>(__FILE__, __LINE__);
    if (!file) {
        PimOs::Close(stream);
        m_error = PIM_ERR_OUT_OF_MEMORY;
        return nullptr;
    }
    file->stream = stream;
    file->path = std::move(disk);
    file->flags = flags;
    file->next = m_open;
    if (m_open)
        m_open->previous = file;
    m_open = file;
    m_error = PIM_OK;
    return file;
}

PimFileHandle CxDirectoryFileSystem::Create(const char* path, uint32_t flags)
{
    return Open(path, (flags & ~static_cast<uint32_t>(CBF_READONLY)) | CBF_CREATE);
}

int CxDirectoryFileSystem::Close(PimFileHandle handle)
{
    auto* file = static_cast<OpenFile*>(handle);
    if (!file)
        return PIM_ERR_BAD_ARG;
    if (file->previous)
        file->previous->next = file->next;
    else
        m_open = file->next;
    if (file->next)
        file->next->previous = file->previous;
    int result = PimOs::Close(file->stream) == 0 ? PIM_OK : PIM_ERR_CLOSE;
    PimDelete(file);
    return result;
}

int CxDirectoryFileSystem::Read(PimFileHandle handle, void* buffer, size_t count, size_t* countRead)
{
    auto* file = static_cast<OpenFile*>(handle);
    if (countRead)
        *countRead = 0;
    if (!file || (!buffer && count))
        return PIM_ERR_BAD_ARG;
    size_t got = count ? std::fread(buffer, 1, count, file->stream) : 0;
    if (countRead)
        *countRead = got;
    if (got < count && std::ferror(file->stream)) {
        std::clearerr(file->stream);
        return PIM_ERR_READ;
    }
    return PIM_OK;
}

int CxDirectoryFileSystem::Write(PimFileHandle handle, const void* data, size_t count)
{
    auto* file = static_cast<OpenFile*>(handle);
    if (!file || (!data && count))
        return PIM_ERR_BAD_ARG;
    if (count == 0)
        return PIM_OK;
    return PimOs::Write(file->stream, data, count, file->path.c_str()) == count ? PIM_OK : PIM_ERR_WRITE;
}

int CxDirectoryFileSystem::Seek(PimFileHandle handle, int64_t offset, int origin)
{
    auto* file = static_cast<OpenFile*>(handle);
    if (!file || origin < 0 || origin > 2)
        return PIM_ERR_BAD_ARG;
    static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    return fseeko(file->stream, static_cast<off_t>(offset), kWhence[origin]) == 0 ? PIM_OK : PIM_ERR_SEEK;
}

int64_t CxDirectoryFileSystem::Tell(PimFileHandle handle)
{
    auto* file = static_cast<OpenFile*>(handle);
    return file ? static_cast<int64_t>(ftello(file->stream)) : 0;
}

int64_t CxDirectoryFileSystem::Size(PimFileHandle handle)
{
    auto* file = static_cast<OpenFile*>(handle);
    if (!file)
        return 0;
    off_t here = ftello(file->stream);
    if (fseeko(file->stream, 0, SEEK_END) != 0)
        return 0;
    off_t end = ftello(file->stream);
    fseeko(file->stream, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<int64_t>(end);
}

int CxDirectoryFileSystem::Truncate(PimFileHandle handle, int64_t size)
{
    auto* file = static_cast<OpenFile*>(handle);
    if (!file || size < 0)
        return PIM_ERR_BAD_ARG;
    return PimOs::Truncate(file->stream, size) == 0 ? PIM_OK : PIM_ERR_WRITE;
}

int64_t CxDirectoryFileSystem::FileSize(const char* path)
{
    PimOs::ST_STAT st;
    return PimOs::Stat(DiskPath(path).c_str(), st) && st.isRegular ? st.size : 0;
}

bool CxDirectoryFileSystem::Exists(const char* path)
{
    PimOs::ST_STAT st;
    return path && *path && PimOs::Stat(DiskPath(path).c_str(), st) && st.isRegular;
}

int CxDirectoryFileSystem::Delete(const char* path)
{
    return PimOs::Delete(DiskPath(path).c_str()) == 0 ? PIM_OK : PIM_ERR_DELETE;
}

int CxDirectoryFileSystem::Rename(const char* oldPath, const char* newPath)
{
    std::string from = DiskPath(oldPath);
    std::string to = DiskPath(newPath);
    return PimOs::Rename(from.c_str(), to.c_str()) == 0 ? PIM_OK : PIM_ERR_UNKNOWN;
}

int CxDirectoryFileSystem::ReplaceFile(const char* path, const void* data, size_t size)
{
    if (!path || !*path || (!data && size))
        return PIM_ERR_BAD_ARG;
    const std::string target = DiskPath(path);
    const std::string folder = FolderOf(target);

    // The new contents go to a name of their own beside the old file, reach
    // the disk, and only then take the old name in one rename; so a crash or
    // a full disk leaves either the old file or the new one, whole.
    RemoveStaleTemporaries(folder, NameOf(target));
    static std::atomic<unsigned> counter{0};
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%u.tmp", PimOs::ProcessId(), counter++);
    const std::string temporary = folder + "/." + NameOf(target) + suffix;

    FILE* stream = PimOs::Open(temporary.c_str(), "wb");
    if (!stream)
        return SetError(PIM_ERR_CREATE, "Unable to create %s", temporary.c_str());
    int result = PIM_OK;
    if (size && PimOs::Write(stream, data, size, target.c_str()) != size)
        result = SetError(PIM_ERR_WRITE, "Unable to write %zu bytes to %s", size, target.c_str());
    else if (PimOs::Sync(stream, target.c_str()) != 0)
        result = SetError(PIM_ERR_WRITE, "Unable to flush %s to the disk", target.c_str());
    if (PimOs::Close(stream) != 0 && result == PIM_OK)
        result = SetError(PIM_ERR_WRITE, "Unable to write %s", target.c_str());
    if (result == PIM_OK && PimOs::Rename(temporary.c_str(), target.c_str()) != 0)
        result = SetError(PIM_ERR_WRITE, "Unable to replace %s", target.c_str());
    if (result != PIM_OK) {
        PimOs::Delete(temporary.c_str());
        return result;
    }
    // The rename itself must reach the disk too, or a crash could undo it.
    if (PimOs::SyncFolder(folder.c_str()) != 0)
        return SetError(PIM_ERR_WRITE, "Unable to flush the folder of %s to the disk", target.c_str());
    return PIM_OK;
}

// --- folders and attributes ----------------------------------------------------

int CxDirectoryFileSystem::MakeDirectory(const char* path)
{
    return PimOs::MakeFolder(DiskPath(path).c_str()) == 0 ? PIM_OK : PIM_ERR_PATH;
}

int CxDirectoryFileSystem::RemoveDirectory(const char* path)
{
    return PimOs::RemoveFolder(DiskPath(path).c_str()) == 0 ? PIM_OK : PIM_ERR_PATH;
}

bool CxDirectoryFileSystem::IsDirectory(const char* path)
{
    PimOs::ST_STAT st;
    if (!path)
        return false;
    return PimOs::Stat(DiskPath(path).c_str(), st) && st.isFolder;
}

uint32_t CxDirectoryFileSystem::GetAttributes(const char* path)
{
    std::string disk = DiskPath(path);
    PimOs::ST_STAT st;
    if (!PimOs::Stat(disk.c_str(), st))
        return 0;
    return AttributesOf(st, NameOf(disk));
}

int CxDirectoryFileSystem::SetAttributes(const char* path, uint32_t attributes)
{
    // Only "read only" means something here.
    return PimOs::SetWritable(DiskPath(path).c_str(), !(attributes & PIM_FA_READONLY)) == 0 ? PIM_OK
                                                                                            : PIM_ERR_UNKNOWN;
}

int CxDirectoryFileSystem::GetFileTime(const char* path, ST_FILE_TIME& out)
{
    PimOs::ST_STAT st;
    if (!PimOs::Stat(DiskPath(path).c_str(), st))
        return PIM_ERR_NOT_FOUND;
    out = FileTimeFromSeconds(st.modifiedSeconds, st.modifiedNanos);
    return PIM_OK;
}

int CxDirectoryFileSystem::GetFullPath(CxString& out, const char* path)
{
    char full[4096];
    if (!PimOs::AbsolutePath(DiskPath(path).c_str(), full, sizeof full))
        return PIM_ERR_PATH;
    out = full;
    return PIM_OK;
}

// --- listings --------------------------------------------------------------------

int CxDirectoryFileSystem::FindFiles(CxFileInfoList& list, const char* pattern, int attributeMask,
                                     bool recurse)
{
    std::string whole = pattern ? pattern : "";
    for (char& c : whole)
        if (c == '\\')
            c = '/';
    size_t slash = whole.rfind('/');
    std::string shownFolder = slash == std::string::npos ? std::string() : whole.substr(0, slash);
    std::string namePattern = slash == std::string::npos ? whole : whole.substr(slash + 1);
    if (namePattern.empty())
        namePattern = "*";
    std::string folder = DiskPath(shownFolder.c_str());
    FindIn(list, folder, shownFolder, namePattern.c_str(), attributeMask, recurse, 0);
    return PIM_OK;
}

void CxDirectoryFileSystem::FindIn(CxFileInfoList& list, const std::string& folder, const std::string& shownFolder,
                                   const char* namePattern, int attributeMask, bool recurse, int depth)
{
    std::vector<std::string> names;
    if (!PimOs::ListFolder(folder.empty() ? "." : folder.c_str(), &CollectNames, &names))
        return;
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::string disk = folder.empty() ? name : (folder.back() == '/' ? folder + name : folder + "/" + name);
        std::string shown = shownFolder.empty() ? name : shownFolder + "/" + name;
        PimOs::ST_STAT st;
        if (!PimOs::Stat(disk.c_str(), st))
            continue; // a dangling link
        uint32_t attributes = AttributesOf(st, name);
        if (PimWildcardMatch(namePattern, name.c_str()) && ListingWants(attributes, attributeMask)) {
            CxFileInfo info;
            info.fullPath = shown.c_str();
            info.fileName = name.c_str();
            info.attributes = attributes;
            info.size = st.isRegular ? st.size : 0;
            info.time = FileTimeFromSeconds(st.modifiedSeconds, st.modifiedNanos);
            list.Append(info);
        }
        if (recurse && st.isFolder && depth < kMaxFindDepth)
            FindIn(list, disk, shown, namePattern, attributeMask, recurse, depth + 1);
    }
}

// --- the default file system -------------------------------------------------------

namespace {
CxDirectoryFileSystem* g_default = nullptr;
}

CxDirectoryFileSystem* GetDefaultFileSystem()
{
    if (!g_default)
        g_default = new CxDirectoryFileSystem("<DEFAULT>", nullptr);
    return g_default;
}

void DestroyDefaultFileSystem()
{
    delete g_default;
    g_default = nullptr;
}
