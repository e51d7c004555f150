#include "PIM/files/CxZipFileSystem.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/PimFileLayer.h"

#include <zlib.h>

#include <cstring>

namespace {

constexpr uint32_t kOpenFlags = CBF_BINARY | CBF_READONLY;
constexpr uint32_t kInputSize = 16384;

const char kReadOnly[] = "Zip files are read only";
const char kBadHandle[] = "Not a Zip file handle";

// The archive read through the file layer. Each read marks the owner busy:
// the archive may be found by searching the file systems, and the owner must
// never be asked for its own archive.
class CxZipLayerSource : public CxZipByteSource
{
public:
    explicit CxZipLayerSource(CxFileSystem& owner) : m_owner(owner) {}
    ~CxZipLayerSource() override
    {
        if (m_file) {
            CxFileSystemBusy busy(m_owner);
            FsClose(m_file);
        }
    }
    CxZipLayerSource(const CxZipLayerSource&) = delete;
    CxZipLayerSource& operator=(const CxZipLayerSource&) = delete;

    int Open(const char* path)
    {
        // The layer makes the default file system only for a run that has
        // none; we are already in the list, yet must pass ourselves by.
        if (GetFileSystemCount() == 1)
            GetDefaultFileSystem();
        CxFileSystemBusy busy(m_owner);
        int error = PIM_OK;
        m_file = FsOpen(path, kOpenFlags, &error);
        if (!m_file)
            return error != PIM_OK ? error : PIM_ERR_OPEN;
        int64_t size = FsSize(m_file);
        m_size = size > 0 ? static_cast<uint64_t>(size) : 0;
        return PIM_OK;
    }

    uint64_t Size() const override { return m_size; }

    bool ReadAt(uint64_t offset, void* buffer, size_t count) override
    {
        if (!m_file || offset > m_size || count > m_size - offset)
            return false;
        if (count == 0)
            return true;
        CxFileSystemBusy busy(m_owner);
        if (FsSeek(m_file, static_cast<int64_t>(offset), 0) != PIM_OK)
            return false;
        size_t got = 0;
        return FsRead(m_file, buffer, count, &got) == PIM_OK && got == count;
    }

private:
    CxFileSystem& m_owner;
    CxFsHandle* m_file = nullptr;
    uint64_t m_size = 0;
};

// zlib's memory comes from the tracking allocator too, so it is counted and
// a simulated shortage reaches the inflater as well.
voidpf ZipAllocate(voidpf, uInt items, uInt size)
{
    return Allocate(static_cast<size_t>(items) * size, __FILE__, __LINE__, false);
}

void ZipFree(voidpf, voidpf block)
{
    Free(block);
}

bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix; ++text, ++prefix) {
        unsigned char a = static_cast<unsigned char>(*text);
        unsigned char b = static_cast<unsigned char>(*prefix);
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a + ('a' - 'A'));
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b + ('a' - 'A'));
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

// One open member.
struct ST_ZIP_HANDLE
{
    ST_ZIP_HANDLE* next = nullptr;
    ST_ZIP_HANDLE* previous = nullptr;
    uint32_t entry = 0;
    uint16_t method = 0;
    uint64_t dataOffset = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t expectedCrc = 0;
    uint32_t inputTaken = 0; // compressed bytes fetched so far
    uint32_t position = 0;   // uncompressed bytes delivered so far
    uint32_t crc = 0;
    // Every byte before `position` went through `crc` (a stored member
    // skipped by a seek did not), so the check at close means something.
    bool crcWhole = true;
    bool failed = false;
    bool inflating = false;
    uint8_t* input = nullptr;
    z_stream stream{};
};

CxZipFileSystem::CxZipFileSystem(const char* archivePath, const char* name, int priority)
    : CxFileSystem(name, priority)
{
    CxFileSystemBusy busy(*this);
    auto* source = new CxZipLayerSource(*this);
    if (!source) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "Not enough memory to open the Zip file %s", archivePath ? archivePath : "");
        return;
    }
    m_source = source;
    int code = source->Open(archivePath);
    if (code != PIM_OK) {
        SetError(code == PIM_ERR_OUT_OF_MEMORY ? code : PIM_ERR_OPEN, "Could not open the Zip file %s",
                 archivePath ? archivePath : "");
        return;
    }
    Mount(archivePath ? archivePath : "");
}

CxZipFileSystem::CxZipFileSystem(const void* data, size_t size, const char* name, int priority)
    : CxFileSystem(name, priority)
{
    m_source = new CxZipMemorySource(data, size);
    if (!m_source) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "Not enough memory to open the Zip file %s", GetName());
        return;
    }
    Mount(GetName());
}

CxZipFileSystem::~CxZipFileSystem()
{
    while (m_handles) {
        ST_ZIP_HANDLE* handle = m_handles;
        Unlink(handle);
        FreeHandle(handle);
    }
    m_directory.Clear();
    delete m_source;
}

void CxZipFileSystem::Mount(const char* what)
{
    int code = m_directory.Parse(*m_source);
    if (code == PIM_ERR_OUT_OF_MEMORY)
        SetError(code, "Not enough memory to read the Zip file %s", what);
    else if (code != PIM_OK)
        SetError(PIM_ERR_UNKNOWN, "%s is not a Zip file we can read: %s", what, m_directory.GetFailure());
}

ST_ZIP_HANDLE* CxZipFileSystem::Validate(PimFileHandle handle)
{
    // Only handles this file system handed out and has not taken back.
    for (ST_ZIP_HANDLE* open = m_handles; open; open = open->next) {
        if (open == handle)
            return open;
    }
    return nullptr;
}

void CxZipFileSystem::Unlink(ST_ZIP_HANDLE* handle)
{
    if (handle->previous)
        handle->previous->next = handle->next;
    else
        m_handles = handle->next;
    if (handle->next)
        handle->next->previous = handle->previous;
    handle->next = handle->previous = nullptr;
}

void CxZipFileSystem::FreeHandle(ST_ZIP_HANDLE* handle)
{
    if (handle->inflating)
        inflateEnd(&handle->stream);
    Free(handle->input);
    PimDelete(handle);
}

int CxZipFileSystem::FindFiles(CxFileInfoList& list, const char* pattern, int attributeMask, bool recurse)
{
    if (!m_directory.IsLoaded())
        return PIM_OK;
    const char* text = pattern ? pattern : "";
    const char* namePart = text;
    for (const char* p = text; *p; ++p) {
        if (*p == '/' || *p == '\\')
            namePart = p + 1;
    }
    int32_t start = m_directory.FindFolder(text, static_cast<size_t>(namePart - text));
    if (start < 0)
        return PIM_OK;
    if (!*namePart)
        namePart = "*";

    // The walk keeps its own stack: names inside an archive can nest far
    // deeper than the call stack would take.
    struct ST_LEVEL
    {
        uint32_t folder;
        uint32_t next;
    };
    size_t depth = recurse ? m_directory.GetMaxDepth() + 1ull : 1;
    auto* stack = static_cast<ST_LEVEL*>(PIM_ALLOC(depth * sizeof(ST_LEVEL)));
    // Folder names are not terminated inside the name block.
    auto* folderName = static_cast<char*>(PIM_ALLOC(m_directory.GetMaxFolderNameLength() + 1ull));
    if (!stack || !folderName) {
        Free(stack);
        Free(folderName);
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Not enough memory to list %s", text);
    }

    int code = PIM_OK;
    size_t top = 0;
    stack[0] = {static_cast<uint32_t>(start), 0};
    CxFileInfo info;
    for (;;) {
        ST_LEVEL& level = stack[top];
        const ST_ZIP_FOLDER& folder = m_directory.GetFolder(level.folder);
        if (level.next == folder.childCount) {
            if (top == 0)
                break;
            --top;
            continue;
        }
        uint32_t child = m_directory.GetChildren(level.folder)[level.next++];
        const char* name;
        const char* path;
        uint32_t pathLength;
        int32_t entryIndex;
        uint32_t attributes;
        uint32_t subFolder = 0;
        bool isFolder = (child & PIM_ZIP_CHILD_FOLDER) != 0;
        if (isFolder) {
            subFolder = child & ~PIM_ZIP_CHILD_FOLDER;
            const ST_ZIP_FOLDER& sub = m_directory.GetFolder(subFolder);
            path = m_directory.GetFolderPath(subFolder);
            pathLength = sub.pathLength;
            uint32_t nameLength = sub.pathLength - sub.nameStart;
            std::memcpy(folderName, path + sub.nameStart, nameLength);
            folderName[nameLength] = '\0';
            name = folderName;
            entryIndex = sub.entry;
            attributes = entryIndex >= 0 ? PimZipAttributes(m_directory.GetEntry(static_cast<uint32_t>(entryIndex)))
                                         : PIM_FA_DIRECTORY;
        } else {
            entryIndex = static_cast<int32_t>(child);
            path = m_directory.GetEntryName(child);
            pathLength = m_directory.GetEntry(child).nameLength;
            name = m_directory.GetEntryFileName(child);
            attributes = PimZipAttributes(m_directory.GetEntry(child));
        }

        if (PimWildcardMatch(namePart, name) && ListingWants(attributes, attributeMask)) {
            info.fullPath.Assign(path, static_cast<int>(pathLength));
            info.fileName = name;
            info.attributes = attributes;
            info.size = 0;
            info.time = ST_FILE_TIME{};
            if (entryIndex >= 0) {
                const ST_ZIP_ENTRY& entry = m_directory.GetEntry(static_cast<uint32_t>(entryIndex));
                if (!isFolder)
                    info.size = entry.uncompressedSize;
                PimZipTime(entry.date, entry.time, info.time);
            }
            if (!list.Append(info)) {
                code = SetError(PIM_ERR_OUT_OF_MEMORY, "Not enough memory to list %s", text);
                break;
            }
        }
        if (isFolder && recurse)
            stack[++top] = {subFolder, 0};
    }
    Free(stack);
    Free(folderName);
    return code;
}

int CxZipFileSystem::MakeDirectory(const char*)
{
    return SetError(PIM_ERR_UNKNOWN, kReadOnly);
}

int CxZipFileSystem::RemoveDirectory(const char*)
{
    return SetError(PIM_ERR_UNKNOWN, kReadOnly);
}

bool CxZipFileSystem::IsDirectory(const char* path)
{
    int32_t folder = m_directory.FindFolder(path);
    // The root only counts when the archive holds something.
    return folder > 0 || (folder == 0 && m_directory.GetEntryCount() > 0);
}

PimFileHandle CxZipFileSystem::Open(const char* path, uint32_t flags)
{
    if (flags != kOpenFlags) {
        SetError(PIM_ERR_BAD_ARG, "Can only open Zip file with (CBF_BINARY | CBF_READONLY)");
        return nullptr;
    }
    int32_t found = m_directory.FindFile(path);
    if (found < 0) {
        SetError(PIM_ERR_NOT_FOUND, "%s not found in this Zip file", path ? path : "");
        return nullptr;
    }
    uint32_t index = static_cast<uint32_t>(found);
    const ST_ZIP_ENTRY& entry = m_directory.GetEntry(index);
    if (entry.method != PIM_ZIP_METHOD_STORED && entry.method != PIM_ZIP_METHOD_DEFLATED) {
        SetError(PIM_ERR_UNKNOWN,
                 "Incompatible Zip compression format. We only support methods 0 (store), and 8 (deflate)");
        return nullptr;
    }
    uint64_t dataOffset = 0;
    const char* failure = "";
    if (m_directory.LocateData(*m_source, index, dataOffset, failure) != PIM_OK) {
        SetError(PIM_ERR_UNKNOWN, "%s cannot be read from this Zip file: %s", path, failure);
        return nullptr;
    }

    ST_ZIP_HANDLE* handle = PimNew<ST_ZIP_HANDLE>(__FILE__, __LINE__);
    if (!handle) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "Not enough memory to open %s", path);
        return nullptr;
    }
    handle->entry = index;
    handle->method = entry.method;
    handle->dataOffset = dataOffset;
    handle->compressedSize = entry.compressedSize;
    handle->uncompressedSize = entry.uncompressedSize;
    handle->expectedCrc = entry.crc;
    if (entry.method == PIM_ZIP_METHOD_DEFLATED) {
        handle->input = static_cast<uint8_t*>(PIM_ALLOC(kInputSize));
        handle->stream.zalloc = &ZipAllocate;
        handle->stream.zfree = &ZipFree;
        handle->stream.opaque = nullptr;
        // Raw deflate: the archive has its own headers and CRC.
        if (handle->input && inflateInit2(&handle->stream, -MAX_WBITS) == Z_OK)
            handle->inflating = true;
        if (!handle->inflating) {
            FreeHandle(handle);
            SetError(PIM_ERR_OUT_OF_MEMORY, "Not enough memory to open %s", path);
            return nullptr;
        }
    }
    handle->next = m_handles;
    if (m_handles)
        m_handles->previous = handle;
    m_handles = handle;
    return handle;
}

PimFileHandle CxZipFileSystem::Create(const char*, uint32_t)
{
    SetError(PIM_ERR_UNKNOWN, kReadOnly);
    return nullptr;
}

int CxZipFileSystem::Close(PimFileHandle handle)
{
    ST_ZIP_HANDLE* open = Validate(handle);
    if (!open)
        return SetError(PIM_ERR_BAD_ARG, kBadHandle);
    int code = PIM_OK;
    // A member read only in part proves nothing either way.
    if (open->position == open->uncompressedSize && open->crcWhole && !open->failed && open->crc != open->expectedCrc)
        code = SetError(PIM_ERR_CRC, "CRC failure in %s", m_directory.GetEntryName(open->entry));
    Unlink(open);
    FreeHandle(open);
    return code;
}

// Inflates exactly `count` bytes unless the data runs out or is damaged;
// every call to the inflater must make progress, so nothing here can spin.
int CxZipFileSystem::Inflate(ST_ZIP_HANDLE* handle, uint8_t* out, size_t count, size_t& delivered)
{
    z_stream& stream = handle->stream;
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(count);
    int code = PIM_OK;
    for (;;) {
        if (stream.avail_in == 0 && handle->inputTaken < handle->compressedSize) {
            uint32_t piece = handle->compressedSize - handle->inputTaken;
            if (piece > kInputSize)
                piece = kInputSize;
            if (!m_source->ReadAt(handle->dataOffset + handle->inputTaken, handle->input, piece)) {
                code = PIM_ERR_READ;
                break;
            }
            handle->inputTaken += piece;
            stream.next_in = handle->input;
            stream.avail_in = piece;
        }
        uInt inBefore = stream.avail_in;
        uInt outBefore = stream.avail_out;
        int result = inflate(&stream, Z_SYNC_FLUSH);
        if (result == Z_MEM_ERROR) {
            code = PIM_ERR_OUT_OF_MEMORY;
            break;
        }
        if (result == Z_NEED_DICT || result == Z_DATA_ERROR || result == Z_STREAM_ERROR) {
            code = PIM_ERR_READ;
            break;
        }
        if (stream.avail_out == 0)
            break;
        // The stream ended, or stopped moving, before the promised size.
        if (result == Z_STREAM_END || (stream.avail_in == inBefore && stream.avail_out == outBefore)) {
            code = PIM_ERR_READ;
            break;
        }
    }
    delivered = count - stream.avail_out;
    return code;
}

int CxZipFileSystem::ReadMember(ST_ZIP_HANDLE* handle, uint8_t* out, size_t count, size_t& delivered)
{
    delivered = 0;
    size_t remaining = handle->uncompressedSize - handle->position;
    size_t want = count < remaining ? count : remaining;
    if (want == 0)
        return PIM_OK;
    const char* name = m_directory.GetEntryName(handle->entry);
    if (handle->failed)
        return SetError(PIM_ERR_READ, "Unable to read %s from this Zip file", name);

    int code = PIM_OK;
    if (handle->method == PIM_ZIP_METHOD_STORED) {
        if (m_source->ReadAt(handle->dataOffset + handle->position, out, want))
            delivered = want;
        else
            code = PIM_ERR_READ;
    } else {
        code = Inflate(handle, out, want, delivered);
    }
    if (delivered) {
        handle->crc = static_cast<uint32_t>(crc32(handle->crc, out, static_cast<uInt>(delivered)));
        handle->position += static_cast<uint32_t>(delivered);
    }
    if (code != PIM_OK) {
        // Until the member is started over: the inflater cannot go on.
        handle->failed = true;
        if (code == PIM_ERR_OUT_OF_MEMORY)
            return SetError(code, "Not enough memory to read %s from this Zip file", name);
        return SetError(PIM_ERR_READ, "Unable to read %s from this Zip file: its data is damaged or cut short", name);
    }
    return PIM_OK;
}

int CxZipFileSystem::Read(PimFileHandle handle, void* buffer, size_t count, size_t* countRead)
{
    if (countRead)
        *countRead = 0;
    ST_ZIP_HANDLE* open = Validate(handle);
    if (!open)
        return SetError(PIM_ERR_BAD_ARG, kBadHandle);
    if (count == 0)
        return PIM_OK;
    if (!buffer)
        return SetError(PIM_ERR_BAD_ARG, "No buffer to read %s into", m_directory.GetEntryName(open->entry));
    size_t delivered = 0;
    int code = ReadMember(open, static_cast<uint8_t*>(buffer), count, delivered);
    if (countRead)
        *countRead = delivered;
    return code;
}

int CxZipFileSystem::Write(PimFileHandle handle, const void*, size_t)
{
    return Validate(handle) ? PIM_OK : SetError(PIM_ERR_BAD_ARG, kBadHandle);
}

int CxZipFileSystem::Restart(ST_ZIP_HANDLE* handle)
{
    handle->position = 0;
    handle->inputTaken = 0;
    handle->crc = 0;
    handle->crcWhole = true;
    handle->failed = false;
    if (handle->inflating) {
        handle->stream.next_in = nullptr;
        handle->stream.avail_in = 0;
        if (inflateReset(&handle->stream) != Z_OK) {
            handle->failed = true;
            return SetError(PIM_ERR_SEEK, "Unable to seek in %s", m_directory.GetEntryName(handle->entry));
        }
    }
    return PIM_OK;
}

int CxZipFileSystem::Skip(ST_ZIP_HANDLE* handle, uint64_t count)
{
    if (handle->method == PIM_ZIP_METHOD_STORED) {
        // Stored data can be jumped over; what is jumped over goes unchecked.
        handle->position += static_cast<uint32_t>(count);
        if (count)
            handle->crcWhole = false;
        return PIM_OK;
    }
    uint8_t scrap[4096];
    while (count > 0) {
        size_t piece = count < sizeof scrap ? static_cast<size_t>(count) : sizeof scrap;
        size_t delivered = 0;
        int code = ReadMember(handle, scrap, piece, delivered);
        if (code != PIM_OK)
            return code;
        if (delivered == 0)
            break;
        count -= delivered;
    }
    return PIM_OK;
}

int CxZipFileSystem::Seek(PimFileHandle handle, int64_t offset, int origin)
{
    ST_ZIP_HANDLE* open = Validate(handle);
    if (!open)
        return SetError(PIM_ERR_BAD_ARG, kBadHandle);
    int64_t base;
    switch (origin) {
    case 0:
        base = 0;
        break;
    case 1:
        base = open->position;
        break;
    case 2:
        base = open->uncompressedSize;
        break;
    default:
        return SetError(PIM_ERR_BAD_ARG, "Seek origin %d is not 0, 1 or 2", origin);
    }
    int64_t target = offset > INT64_MAX - base ? INT64_MAX : base + offset;
    if (target < 0)
        return SetError(PIM_ERR_SEEK, "Cannot seek before the start of %s", m_directory.GetEntryName(open->entry));
    if (target > static_cast<int64_t>(open->uncompressedSize))
        target = open->uncompressedSize;
    if (target < static_cast<int64_t>(open->position)) {
        int code = Restart(open);
        if (code != PIM_OK)
            return code;
    }
    return Skip(open, static_cast<uint64_t>(target) - open->position);
}

int64_t CxZipFileSystem::Tell(PimFileHandle handle)
{
    ST_ZIP_HANDLE* open = Validate(handle);
    if (!open) {
        SetError(PIM_ERR_BAD_ARG, kBadHandle);
        return -1;
    }
    return open->position;
}

int64_t CxZipFileSystem::FileSize(const char* path)
{
    int32_t found = m_directory.FindFile(path);
    return found >= 0 ? m_directory.GetEntry(static_cast<uint32_t>(found)).uncompressedSize : 0;
}

int64_t CxZipFileSystem::Size(PimFileHandle handle)
{
    ST_ZIP_HANDLE* open = Validate(handle);
    if (!open) {
        SetError(PIM_ERR_BAD_ARG, kBadHandle);
        return -1;
    }
    return open->uncompressedSize;
}

int CxZipFileSystem::Truncate(PimFileHandle, int64_t)
{
    return PIM_OK;
}

uint32_t CxZipFileSystem::GetAttributes(const char* path)
{
    int32_t found = m_directory.FindFile(path);
    if (found >= 0)
        return PimZipAttributes(m_directory.GetEntry(static_cast<uint32_t>(found)));
    int32_t folder = m_directory.FindFolder(path);
    if (folder <= 0)
        return 0;
    int32_t entry = m_directory.GetFolder(static_cast<uint32_t>(folder)).entry;
    return entry >= 0 ? PimZipAttributes(m_directory.GetEntry(static_cast<uint32_t>(entry))) : PIM_FA_DIRECTORY;
}

int CxZipFileSystem::SetAttributes(const char*, uint32_t)
{
    return PIM_OK;
}

bool CxZipFileSystem::Exists(const char* path)
{
    return m_directory.FindFile(path) >= 0;
}

int CxZipFileSystem::Delete(const char*)
{
    return PIM_OK;
}

int CxZipFileSystem::Rename(const char*, const char*)
{
    return PIM_OK;
}

int CxZipFileSystem::GetFileTime(const char* path, ST_FILE_TIME& out)
{
    int32_t entry = m_directory.FindFile(path);
    if (entry < 0) {
        int32_t folder = m_directory.FindFolder(path);
        if (folder > 0)
            entry = m_directory.GetFolder(static_cast<uint32_t>(folder)).entry;
    }
    if (entry < 0)
        return SetError(PIM_ERR_NOT_FOUND, "File not found");
    const ST_ZIP_ENTRY& found = m_directory.GetEntry(static_cast<uint32_t>(entry));
    PimZipTime(found.date, found.time, out);
    return PIM_OK;
}

int CxZipFileSystem::GetFullPath(CxString& out, const char* path)
{
    const char* rest = path ? path : "";
    const char* name = GetName();
    if (*name && StartsWithNoCase(rest, name))
        rest += std::strlen(name);
    out = rest;
    return PIM_OK;
}

int CxZipFileSystem::ReplaceFile(const char*, const void*, size_t)
{
    return SetError(PIM_ERR_UNKNOWN, kReadOnly);
}
