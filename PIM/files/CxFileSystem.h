#pragma once
// A file system: a folder on disk, a zip archive, or a root mapped onto part
// of another file system. Every file system is entered in one global search
// list while it exists; a path either names one by its root tag ("<AppData>
// users.ini") or is searched for in list order.
//
// Paths given to a file system's own operations are relative to it and carry
// no root tag; the Fs* functions (PimFileLayer.h) pick the file system and
// strip the tag.

#include "PIM/core/CxError.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxString.h"
#include "PIM/files/CxFileInfo.h"

#include <climits>

// Open flags.
enum : uint32_t
{
    CBF_TEXT = 0x01,
    CBF_BINARY = 0x02, // the default
    CBF_READONLY = 0x04,
    CBF_WRITE = 0x08,
    CBF_CREATE = 0x20,
    CBF_APPEND = 0x40,
};

// The default flags of a file object, and the only ones a zip archive takes.
constexpr uint32_t CBF_DEFAULT = CBF_BINARY | CBF_READONLY;

// Longest file system name (its root tag), terminator excluded.
constexpr int PIM_FS_NAME_LENGTH = 30;

// A file system's own handle of an open file; opaque outside it.
using PimFileHandle = void*;

using CxFileInfoList = CxLinkedList<CxFileInfo>;

class CxFileSystem : public CxObject, public CxError
{
public:
    // Enters the global list (see SetPriority for the order).
    explicit CxFileSystem(const char* name = nullptr, int priority = INT_MAX);
    ~CxFileSystem() override;
    CxFileSystem(const CxFileSystem&) = delete;
    CxFileSystem& operator=(const CxFileSystem&) = delete;

    // Appends to `list` every entry matching `pattern` (folder part up to the
    // last "/", name part a wildcard pattern, "*" when empty). With a mask
    // whose low six bits are 0 only files are listed; otherwise entries
    // having all of those bits; a negative mask adds every folder.
    virtual int FindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse) = 0;
    virtual int MakeDirectory(const char* path) = 0;
    virtual int RemoveDirectory(const char* path) = 0;
    virtual bool IsDirectory(const char* path) = 0;
    // Null on failure, with the code in GetError().
    virtual PimFileHandle Open(const char* path, uint32_t flags) = 0;
    virtual PimFileHandle Create(const char* path, uint32_t flags) = 0;
    virtual int Close(PimFileHandle handle) = 0;
    virtual int Read(PimFileHandle handle, void* buffer, size_t count, size_t* countRead) = 0;
    virtual int Write(PimFileHandle handle, const void* data, size_t count) = 0;
    // origin: 0 from the start, 1 from the current position, 2 from the end.
    virtual int Seek(PimFileHandle handle, int64_t offset, int origin) = 0;
    virtual int64_t Tell(PimFileHandle handle) = 0;
    virtual int64_t FileSize(const char* path) = 0;
    virtual int64_t Size(PimFileHandle handle) = 0;
    virtual int Truncate(PimFileHandle handle, int64_t size) = 0;
    virtual uint32_t GetAttributes(const char* path) = 0;
    virtual int SetAttributes(const char* path, uint32_t attributes) = 0;
    // True for files only, never for folders.
    virtual bool Exists(const char* path) = 0;
    virtual int Delete(const char* path) = 0;
    virtual int Rename(const char* oldPath, const char* newPath) = 0;
    virtual int GetFileTime(const char* path, ST_FILE_TIME& out) = 0;
    virtual int GetFullPath(CxString& out, const char* path) = 0;
    // Replaces the file with exactly these bytes, so that at every moment the
    // old or the new file is whole (player data must never be lost halfway).
    // File systems that cannot write answer 13.
    virtual int ReplaceFile(const char* path, const void* data, size_t size);

    const char* GetName() const { return m_name; }
    void SetName(const char* name);
    int GetPriority() const { return m_priority; }
    // Moves the file system in the list: in front of the first whose priority
    // is not greater; 0 goes to the end, -1 to the front.
    void SetPriority(int priority);

    // While busy, path lookup passes this file system by (a file system that
    // reads through the file layer must not find itself).
    bool IsBusy() const { return m_busy > 0; }
    void AddBusy() { ++m_busy; }
    void ReleaseBusy()
    {
        if (m_busy > 0)
            --m_busy;
    }

    // A number no other file system of this run has had: handles use it to
    // tell that their file system is still the one they were opened on.
    uint64_t GetSerial() const { return m_serial; }

private:
    char m_name[PIM_FS_NAME_LENGTH + 1] = {};
    int m_priority;
    int m_busy = 0;
    uint64_t m_serial;
};

// Marks a file system busy for the life of the guard.
class CxFileSystemBusy
{
public:
    explicit CxFileSystemBusy(CxFileSystem& fs) : m_fs(fs) { m_fs.AddBusy(); }
    ~CxFileSystemBusy() { m_fs.ReleaseBusy(); }
    CxFileSystemBusy(const CxFileSystemBusy&) = delete;
    CxFileSystemBusy& operator=(const CxFileSystemBusy&) = delete;

private:
    CxFileSystem& m_fs;
};

// The listing rule of every file system: files only when the mask's low six
// bits are clear, else entries having all of those bits; folders as well when
// the mask is negative.
bool ListingWants(uint32_t attributes, int attributeMask);

// The global search list, front first.
size_t GetFileSystemCount();
CxFileSystem* GetFileSystem(size_t index);
// The first file system with that name (ignoring case), busy or not.
CxFileSystem* FindFileSystemByName(const char* name);
// True while `fs` with that serial is still in the list.
bool IsFileSystemAlive(const CxFileSystem* fs, uint64_t serial);

// The file system that serves `path`, and the path it should be given
// (without root tag). See the root-tag rules in PimFileLayer.h. Null when the
// list has no file system that is not busy.
CxFileSystem* FindFileSystem(const char* path, const char** relativePath);

// `path` without its leading root tag: after "<>" or the first ">"; a path
// with "<" but no ">" comes back unchanged.
const char* StripRootTag(const char* path);
