#include "PIM/files/CxFileSystem.h"

#include "PIM/core/Pimstr.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The search list, front first. Plain pointers: each file system enters in
// its constructor and leaves in its destructor.
struct FileSystemList
{
    std::vector<CxFileSystem*> items;
    uint64_t nextSerial = 1;
};

FileSystemList& List()
{
    static FileSystemList list;
    return list;
}

// Where a file system of `priority` goes: in front of the first whose
// priority is not greater than its own; 0 at the end, -1 at the front.
size_t InsertPosition(const std::vector<CxFileSystem*>& items, int priority)
{
    if (priority == -1)
        return 0;
    if (priority == 0)
        return items.size();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i]->GetPriority() <= priority)
            return i;
    return items.size();
}

void Unlist(CxFileSystem* fs)
{
    auto& items = List().items;
    items.erase(std::remove(items.begin(), items.end(), fs), items.end());
}

void Enlist(CxFileSystem* fs)
{
    auto& items = List().items;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(InsertPosition(items, fs->GetPriority())), fs);
}

// The tag at the start of `path` ("<...>"), copied into `tag`; false when the
// path has none (or an unterminated one).
bool ReadRootTag(const char* path, char* tag, size_t tagSize)
{
    if (!path || path[0] != '<')
        return false;
    const char* close = std::strchr(path, '>');
    if (!close)
        return false;
    size_t length = static_cast<size_t>(close - path) + 1;
    if (length >= tagSize)
        return false; // longer than any name a file system can have
    std::memcpy(tag, path, length);
    tag[length] = '\0';
    return true;
}

} // namespace

CxFileSystem::CxFileSystem(const char* name, int priority) : m_priority(priority), m_serial(List().nextSerial++)
{
    SetName(name);
    Enlist(this);
}

CxFileSystem::~CxFileSystem()
{
    Unlist(this);
}

int CxFileSystem::ReplaceFile(const char*, const void*, size_t)
{
    return PIM_ERR_UNKNOWN;
}

void CxFileSystem::SetName(const char* name)
{
    PimStrCopy(m_name, name && *name ? name : "<UNKNOWN>", sizeof m_name);
}

void CxFileSystem::SetPriority(int priority)
{
    m_priority = priority;
    Unlist(this);
    Enlist(this);
}

size_t GetFileSystemCount()
{
    return List().items.size();
}

CxFileSystem* GetFileSystem(size_t index)
{
    auto& items = List().items;
    return index < items.size() ? items[index] : nullptr;
}

CxFileSystem* FindFileSystemByName(const char* name)
{
    if (!name)
        return nullptr;
    for (CxFileSystem* fs : List().items)
        if (PimStrEqual(fs->GetName(), name, true))
            return fs;
    return nullptr;
}

bool IsFileSystemAlive(const CxFileSystem* fs, uint64_t serial)
{
    if (!fs)
        return false;
    for (CxFileSystem* item : List().items)
        if (item == fs)
            return item->GetSerial() == serial;
    return false;
}

bool ListingWants(uint32_t attributes, int attributeMask)
{
    const uint32_t bits = static_cast<uint32_t>(attributeMask) & 0x3F;
    const bool folder = (attributes & PIM_FA_DIRECTORY) != 0;
    if (!folder && bits == 0)
        return true;
    if (bits != 0 && (attributes & bits) == bits)
        return true;
    return folder && attributeMask < 0;
}

const char* StripRootTag(const char* path)
{
    if (!path || path[0] != '<')
        return path;
    const char* close = std::strchr(path, '>');
    return close ? close + 1 : path;
}

CxFileSystem* FindFileSystem(const char* path, const char** relativePath)
{
    if (relativePath)
        *relativePath = path;
    if (!path)
        return nullptr;
    const char* rest = StripRootTag(path);
    if (relativePath)
        *relativePath = rest;

    // A tag names its file system; a busy one cannot serve (a dynamic file
    // system naming its own tag would otherwise call itself for ever).
    char tag[PIM_FS_NAME_LENGTH + 2];
    if (ReadRootTag(path, tag, sizeof tag)) {
        for (CxFileSystem* fs : List().items)
            if (!fs->IsBusy() && PimStrEqual(fs->GetName(), tag, true))
                return fs;
    }

    // Untagged, or a tag nobody has: the first that has such a file or folder.
    // The walk works on a copy of the list, checked entry by entry: a lookup
    // may run through a dynamic file system, which looks up again.
    struct Entry
    {
        CxFileSystem* fs;
        uint64_t serial;
    };
    std::vector<Entry> walk;
    walk.reserve(List().items.size());
    for (CxFileSystem* fs : List().items)
        walk.push_back({fs, fs->GetSerial()});
    CxFileSystem* first = nullptr;
    for (const Entry& e : walk) {
        if (!IsFileSystemAlive(e.fs, e.serial) || e.fs->IsBusy())
            continue;
        if (!first)
            first = e.fs;
        if (e.fs->Exists(rest) || e.fs->IsDirectory(rest))
            return e.fs;
    }
    return first;
}
