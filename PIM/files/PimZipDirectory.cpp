#include "PIM/files/PimZipDirectory.h"

#include "PIM/core/CxError.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimByteOrder.h"

#include <cstring>

namespace {

// The key of a name: ASCII case folded, "\" read as "/".
inline unsigned char Fold(unsigned char c)
{
    if (c == '\\')
        return '/';
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

constexpr uint32_t kHashBasis = 2166136261u;
constexpr uint32_t kHashPrime = 16777619u;

inline uint32_t HashStep(uint32_t hash, unsigned char c)
{
    return (hash ^ Fold(c)) * kHashPrime;
}

inline bool IsSlash(char c)
{
    return c == '/' || c == '\\';
}

// Zeroed, tracked memory for `count` elements; null when the size would wrap
// or the memory could not be had.
template <class T>
T* AllocateArray(size_t count)
{
    if (count > SIZE_MAX / sizeof(T))
        return nullptr;
    return static_cast<T*>(Allocate(count * sizeof(T), __FILE__, __LINE__, true));
}

// A power of two at least twice `count`, so probe chains stay short.
uint32_t TableSizeFor(uint32_t count)
{
    uint32_t size = 16;
    while (size < count * 2ull && size < 0x80000000u)
        size *= 2;
    return size;
}

// What one end record says, once it has been found consistent.
struct ST_END_CANDIDATE
{
    uint64_t at = 0;
    uint64_t archiveStart = 0;
    uint64_t directoryStart = 0;
    uint64_t directoryOffset = 0;
    uint64_t directorySize = 0;
    uint32_t entries = 0;
    bool zip64Locator = false;
    bool exact = false; // its comment reaches exactly to the end
};

// Checks the end record candidate at `at` against the archive. The record
// must fit, its comment must not run past the end, it must describe a
// single-disk archive whose directory lies inside the file and starts with a
// directory record. ZIP64 markers in its own fields make it unreadable here.
bool ReadEndCandidate(CxZipByteSource& source, uint64_t size, uint64_t at, ST_END_CANDIDATE& out)
{
    uint8_t record[PIM_ZIP_END_RECORD_SIZE];
    if (size - at < PIM_ZIP_END_RECORD_SIZE || !source.ReadAt(at, record, sizeof record))
        return false;
    uint16_t disk = ReadLe16(record + 4);
    uint16_t directoryDisk = ReadLe16(record + 6);
    uint16_t entriesHere = ReadLe16(record + 8);
    uint16_t entries = ReadLe16(record + 10);
    uint32_t directorySize = ReadLe32(record + 12);
    uint32_t directoryOffset = ReadLe32(record + 16);
    uint16_t commentLength = ReadLe16(record + 20);

    uint64_t recordEnd = at + PIM_ZIP_END_RECORD_SIZE;
    if (commentLength > size - recordEnd)
        return false;
    if (disk != 0 || directoryDisk != 0 || entriesHere != entries)
        return false;
    if (directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu)
        return false;

    // A ZIP64 end record and its locator sit between the directory and the
    // end record; the plain fields above are still the ones we read.
    uint64_t directoryEnd = at;
    uint8_t word[12];
    out.zip64Locator = false;
    if (at >= 20 && source.ReadAt(at - 20, word, 4) && ReadLe32(word) == PIM_ZIP64_LOCATOR_SIGNATURE) {
        out.zip64Locator = true;
        if (at < 76 || !source.ReadAt(at - 76, word, 12) || ReadLe32(word) != PIM_ZIP64_END_SIGNATURE ||
            ReadLe64(word + 4) != 44)
            return false;
        directoryEnd = at - 76;
    }
    if (directorySize > directoryEnd || directoryOffset > directoryEnd - directorySize)
        return false;
    if (static_cast<uint64_t>(entries) * PIM_ZIP_CENTRAL_HEADER_SIZE > directorySize)
        return false;
    out.directoryStart = directoryEnd - directorySize;
    out.archiveStart = out.directoryStart - directoryOffset;
    if (directorySize == 0) {
        if (entries != 0)
            return false;
    } else if (directorySize < 4 || !source.ReadAt(out.directoryStart, word, 4) ||
               ReadLe32(word) != PIM_ZIP_CENTRAL_SIGNATURE) {
        return false;
    }
    out.at = at;
    out.directoryOffset = directoryOffset;
    out.directorySize = directorySize;
    out.entries = entries;
    out.exact = commentLength == size - recordEnd;
    return true;
}

} // namespace

CxZipMemorySource::CxZipMemorySource(const void* data, size_t size)
    : m_data(static_cast<const uint8_t*>(data)), m_size(data ? size : 0)
{
}

bool CxZipMemorySource::ReadAt(uint64_t offset, void* buffer, size_t count)
{
    if (offset > m_size || count > m_size - offset)
        return false;
    if (count)
        std::memcpy(buffer, m_data + offset, count);
    return true;
}

CxZipDirectory::~CxZipDirectory()
{
    Clear();
}

void CxZipDirectory::Clear()
{
    Free(m_names);
    Free(m_entries);
    Free(m_fileSlots);
    Free(m_folders);
    Free(m_folderSlots);
    Free(m_children);
    Free(m_order);
    m_names = nullptr;
    m_entries = nullptr;
    m_fileSlots = nullptr;
    m_folders = nullptr;
    m_folderSlots = nullptr;
    m_children = nullptr;
    m_order = nullptr;
    m_entryCount = m_plannedEntries = m_fileMask = 0;
    m_folderCount = m_folderCapacity = m_folderMask = 0;
    m_orderCount = m_maxDepth = m_maxFolderName = 0;
    m_archiveStart = m_directoryStart = m_directoryOffset = 0;
    m_zip64Locator = false;
    m_loaded = false;
}

int CxZipDirectory::Fail(const char* reason)
{
    m_failure = reason;
    return PIM_ERR_UNKNOWN;
}

int CxZipDirectory::Parse(CxZipByteSource& source)
{
    Clear();
    m_failure = "";
    uint64_t recordAt = 0;
    uint64_t directorySize = 0;
    uint32_t declared = 0;
    int code = FindEndRecord(source, recordAt, directorySize, declared);
    if (code == PIM_OK) {
        uint8_t* directory = nullptr;
        if (directorySize > 0) {
            directory = AllocateArray<uint8_t>(static_cast<size_t>(directorySize));
            if (!directory)
                code = PIM_ERR_OUT_OF_MEMORY;
            else if (!source.ReadAt(m_directoryStart, directory, static_cast<size_t>(directorySize)))
                code = Fail("its central directory could not be read");
        }
        if (code == PIM_OK)
            code = ReadDirectory(directory, directorySize, declared);
        Free(directory);
    }
    if (code != PIM_OK) {
        Clear();
        return code;
    }
    m_loaded = true;
    return PIM_OK;
}

// The end record is the only way into an archive, and its signature can just
// as well turn up inside the archive comment, in compressed data, or in
// anything appended after the archive. So every candidate in reach is
// checked, the nearest to the end first: one whose comment ends exactly at
// the end of the file wins at once; failing that, the nearest consistent one.
int CxZipDirectory::FindEndRecord(CxZipByteSource& source, uint64_t& recordAt, uint64_t& directorySize,
                                  uint32_t& entries)
{
    const uint64_t size = source.Size();
    if (size < PIM_ZIP_END_RECORD_SIZE)
        return Fail("it is too small to be a Zip file");
    const uint64_t searchStart = size > PIM_ZIP_END_SEARCH_SPAN ? size - PIM_ZIP_END_SEARCH_SPAN : 0;

    uint8_t window[1024];
    ST_END_CANDIDATE best;
    bool haveBest = false;
    uint64_t end = size;
    uint64_t unchecked = size - 3; // candidates below this have not been looked at
    for (;;) {
        uint64_t begin = end - searchStart > sizeof window ? end - sizeof window : searchStart;
        size_t length = static_cast<size_t>(end - begin);
        if (!source.ReadAt(begin, window, length))
            return Fail("it could not be read");
        uint64_t top = end - 4 < unchecked ? end - 4 : unchecked - 1;
        for (uint64_t at = top + 1; at-- > begin;) {
            const uint8_t* p = window + (at - begin);
            if (p[0] != 0x50 || p[1] != 0x4B || p[2] != 0x05 || p[3] != 0x06)
                continue;
            ST_END_CANDIDATE candidate;
            if (!ReadEndCandidate(source, size, at, candidate))
                continue;
            if (candidate.exact) {
                best = candidate;
                haveBest = true;
                break;
            }
            if (!haveBest) {
                best = candidate;
                haveBest = true;
            }
        }
        if ((haveBest && best.exact) || begin == searchStart)
            break;
        unchecked = begin;
        // Overlap by the signature's length so one cut by the window edge is
        // still seen whole.
        end = begin + 4;
    }
    if (!haveBest)
        return Fail("no end of central directory record was found");

    recordAt = best.at;
    directorySize = best.directorySize;
    entries = best.entries;
    m_archiveStart = best.archiveStart;
    m_directoryStart = best.directoryStart;
    m_directoryOffset = best.directoryOffset;
    m_zip64Locator = best.zip64Locator;
    return PIM_OK;
}

int CxZipDirectory::ReadDirectory(const uint8_t* directory, uint64_t size, uint32_t declaredEntries)
{
    // First walk: count and check the records, so everything below is sized
    // once and every record is known to lie inside the directory.
    uint64_t count = 0;
    uint64_t nameBytes = 0;
    uint32_t maxSlashes = 0;
    uint64_t at = 0;
    while (size - at >= PIM_ZIP_CENTRAL_HEADER_SIZE && ReadLe32(directory + at) == PIM_ZIP_CENTRAL_SIGNATURE) {
        const uint8_t* record = directory + at;
        uint64_t nameLength = ReadLe16(record + 28);
        uint64_t recordSize = PIM_ZIP_CENTRAL_HEADER_SIZE + nameLength + ReadLe16(record + 30) +
                              static_cast<uint64_t>(ReadLe16(record + 32));
        if (recordSize > size - at)
            return Fail("an entry runs past the end of the central directory");
        uint32_t slashes = 0;
        for (uint64_t i = 0; i < nameLength; ++i)
            slashes += IsSlash(static_cast<char>(record[PIM_ZIP_CENTRAL_HEADER_SIZE + i]));
        if (slashes > maxSlashes)
            maxSlashes = slashes;
        ++count;
        nameBytes += nameLength + 1;
        at += recordSize;
    }
    // The count field has 16 bits; writers that overflow it keep the low ones.
    if ((count & 0xFFFF) != declaredEntries)
        return Fail("its entry count does not match its central directory");
    if (count == 0)
        return BuildChildren();
    if (count >= PIM_ZIP_CHILD_FOLDER || nameBytes > 0xFFFFFFFFu)
        return Fail("its central directory is too large");

    m_entries = AllocateArray<ST_ZIP_ENTRY>(static_cast<size_t>(count));
    m_names = AllocateArray<char>(static_cast<size_t>(nameBytes));
    uint32_t fileTable = TableSizeFor(static_cast<uint32_t>(count));
    m_fileSlots = AllocateArray<ST_SLOT>(fileTable);
    // Per name: the hash of the part before each slash, and where it ends.
    uint32_t* prefixHashes = AllocateArray<uint32_t>(maxSlashes + 1ull);
    uint32_t* slashAt = AllocateArray<uint32_t>(maxSlashes + 1ull);
    m_plannedEntries = static_cast<uint32_t>(count);
    if (!m_entries || !m_names || !m_fileSlots || !prefixHashes || !slashAt || GrowFolders() != PIM_OK) {
        Free(prefixHashes);
        Free(slashAt);
        return PIM_ERR_OUT_OF_MEMORY;
    }
    m_fileMask = fileTable - 1;

    // The root: an empty path, never in the folder table.
    m_folderCount = 1;
    m_folders[0] = ST_ZIP_FOLDER{};

    int code = PIM_OK;
    uint32_t nameAt = 0;
    at = 0;
    for (uint64_t n = 0; n < count && code == PIM_OK; ++n) {
        const uint8_t* record = directory + at;
        uint32_t rawLength = ReadLe16(record + 28);
        at += PIM_ZIP_CENTRAL_HEADER_SIZE + rawLength + ReadLe16(record + 30) +
              static_cast<uint64_t>(ReadLe16(record + 32));

        // The name as we keep it: "/" separated, runs of "/" made one,
        // without leading "/" or the trailing "/" of a folder entry. Names
        // that cannot be asked for (empty, or holding a zero byte) are left
        // out of the table altogether.
        const char* raw = reinterpret_cast<const char*>(record + PIM_ZIP_CENTRAL_HEADER_SIZE);
        if (std::memchr(raw, 0, rawLength))
            continue;
        char* name = m_names + nameAt;
        uint32_t length = 0;
        for (uint32_t i = 0; i < rawLength; ++i) {
            char c = raw[i] == '\\' ? '/' : raw[i];
            if (c != '/' || (length > 0 && name[length - 1] != '/'))
                name[length++] = c;
        }
        bool isFolder = length > 0 && name[length - 1] == '/';
        if (isFolder)
            --length;
        if (length == 0)
            continue;
        name[length] = '\0';

        uint32_t hash = kHashBasis;
        uint32_t slashes = 0;
        for (uint32_t i = 0; i < length; ++i) {
            if (name[i] == '/') {
                prefixHashes[slashes] = hash;
                slashAt[slashes] = i;
                ++slashes;
            }
            hash = HashStep(hash, static_cast<unsigned char>(name[i]));
        }

        uint32_t index = m_entryCount;
        ST_ZIP_ENTRY& entry = m_entries[index];
        entry.nameOffset = nameAt;
        entry.nameLength = length;
        entry.madeBy = ReadLe16(record + 4);
        entry.flags = ReadLe16(record + 8);
        entry.method = ReadLe16(record + 10);
        entry.time = ReadLe16(record + 12);
        entry.date = ReadLe16(record + 14);
        entry.crc = ReadLe32(record + 16);
        entry.compressedSize = ReadLe32(record + 20);
        entry.uncompressedSize = ReadLe32(record + 24);
        entry.externalAttributes = ReadLe32(record + 38);
        entry.localHeaderOffset = ReadLe32(record + 42);
        entry.isFolder = isFolder;
        nameAt += length + 1;
        ++m_entryCount;

        uint32_t parent = 0;
        code = AddFolderChain(index, prefixHashes, slashAt, slashes, parent);
        if (code != PIM_OK)
            break;
        entry.folder = parent;
        uint32_t depth = slashes + (isFolder ? 1 : 0);
        if (depth > m_maxDepth)
            m_maxDepth = depth;

        if (isFolder) {
            int32_t found = Lookup(m_folderSlots, m_folderMask, name, length, hash, true);
            uint32_t folder = static_cast<uint32_t>(found);
            if (found < 0)
                code = AddFolder(entry.nameOffset, length, hash, parent, folder);
            if (code == PIM_OK && m_folders[folder].entry < 0)
                m_folders[folder].entry = static_cast<int32_t>(index);
            continue;
        }
        m_order[m_orderCount++] = index;
        // The first of several entries with one name is the one found.
        if (Lookup(m_fileSlots, m_fileMask, name, length, hash, false) < 0) {
            uint32_t slot = hash & m_fileMask;
            while (m_fileSlots[slot].index)
                slot = (slot + 1) & m_fileMask;
            m_fileSlots[slot] = {hash, index + 1};
        }
    }
    Free(prefixHashes);
    Free(slashAt);
    if (code != PIM_OK)
        return code;
    return BuildChildren();
}

// Makes sure every folder above the entry exists and answers the one that
// holds it. Parents are looked for from the deepest up, so an existing chain
// costs one lookup however deep the name goes.
int CxZipDirectory::AddFolderChain(uint32_t entry, const uint32_t* prefixHashes, const uint32_t* slashAt,
                                   uint32_t slashCount, uint32_t& folder)
{
    folder = 0;
    const char* name = m_names + m_entries[entry].nameOffset;
    uint32_t first = 0; // the shallowest missing folder
    for (uint32_t k = slashCount; k-- > 0;) {
        int32_t found = Lookup(m_folderSlots, m_folderMask, name, slashAt[k], prefixHashes[k], true);
        if (found >= 0) {
            folder = static_cast<uint32_t>(found);
            first = k + 1;
            break;
        }
    }
    // Create the missing ones from the top down, so each knows its parent.
    for (uint32_t k = first; k < slashCount; ++k) {
        int code = AddFolder(m_entries[entry].nameOffset, slashAt[k], prefixHashes[k], folder, folder);
        if (code != PIM_OK)
            return code;
    }
    return PIM_OK;
}

int CxZipDirectory::AddFolder(uint32_t pathOffset, uint32_t pathLength, uint32_t hash, uint32_t parent,
                              uint32_t& folder)
{
    if (m_folderCount == m_folderCapacity) {
        int code = GrowFolders();
        if (code != PIM_OK)
            return code;
    }
    folder = m_folderCount++;
    ST_ZIP_FOLDER& f = m_folders[folder];
    f = ST_ZIP_FOLDER{};
    f.pathOffset = pathOffset;
    f.pathLength = pathLength;
    f.parent = parent;
    const char* path = m_names + pathOffset;
    uint32_t start = pathLength;
    while (start > 0 && path[start - 1] != '/')
        --start;
    f.nameStart = start;
    if (pathLength - start > m_maxFolderName)
        m_maxFolderName = pathLength - start;

    uint32_t slot = hash & m_folderMask;
    while (m_folderSlots[slot].index)
        slot = (slot + 1) & m_folderMask;
    m_folderSlots[slot] = {hash, folder + 1};
    m_order[m_orderCount++] = folder | PIM_ZIP_CHILD_FOLDER;
    return PIM_OK;
}

// Doubles the folder array, the listing order and the folder table (which is
// rebuilt from the stored hashes).
int CxZipDirectory::GrowFolders()
{
    uint32_t capacity = m_folderCapacity ? m_folderCapacity * 2 : 64;
    if (capacity <= m_folderCapacity || capacity >= PIM_ZIP_CHILD_FOLDER)
        return Fail("it holds too many folders");
    ST_ZIP_FOLDER* folders = AllocateArray<ST_ZIP_FOLDER>(capacity);
    uint32_t* order = AllocateArray<uint32_t>(static_cast<size_t>(m_plannedEntries) + capacity);
    uint32_t tableSize = TableSizeFor(capacity);
    ST_SLOT* slots = AllocateArray<ST_SLOT>(tableSize);
    if (!folders || !order || !slots) {
        Free(folders);
        Free(order);
        Free(slots);
        return PIM_ERR_OUT_OF_MEMORY;
    }
    if (m_folderCount)
        std::memcpy(folders, m_folders, m_folderCount * sizeof(ST_ZIP_FOLDER));
    if (m_orderCount)
        std::memcpy(order, m_order, m_orderCount * sizeof(uint32_t));
    uint32_t mask = tableSize - 1;
    for (uint32_t i = 0; m_folderSlots && i <= m_folderMask; ++i) {
        if (!m_folderSlots[i].index)
            continue;
        uint32_t slot = m_folderSlots[i].hash & mask;
        while (slots[slot].index)
            slot = (slot + 1) & mask;
        slots[slot] = m_folderSlots[i];
    }
    Free(m_folders);
    Free(m_order);
    Free(m_folderSlots);
    m_folders = folders;
    m_order = order;
    m_folderSlots = slots;
    m_folderCapacity = capacity;
    m_folderMask = mask;
    return PIM_OK;
}

// Groups the listing order by folder (a counting sort, so each folder's
// children keep the order in which they first appeared).
int CxZipDirectory::BuildChildren()
{
    if (m_folderCount == 0) {
        // An archive without entries still has its root.
        if (GrowFolders() != PIM_OK)
            return PIM_ERR_OUT_OF_MEMORY;
        m_folderCount = 1;
        m_folders[0] = ST_ZIP_FOLDER{};
    }
    m_children = AllocateArray<uint32_t>(m_orderCount ? m_orderCount : 1);
    if (!m_children)
        return PIM_ERR_OUT_OF_MEMORY;
    auto parentOf = [this](uint32_t node) {
        return (node & PIM_ZIP_CHILD_FOLDER) ? m_folders[node & ~PIM_ZIP_CHILD_FOLDER].parent
                                             : m_entries[node].folder;
    };
    for (uint32_t i = 0; i < m_orderCount; ++i)
        ++m_folders[parentOf(m_order[i])].childCount;
    uint32_t next = 0;
    for (uint32_t f = 0; f < m_folderCount; ++f) {
        m_folders[f].firstChild = next;
        next += m_folders[f].childCount;
        m_folders[f].childCount = 0;
    }
    for (uint32_t i = 0; i < m_orderCount; ++i) {
        ST_ZIP_FOLDER& parent = m_folders[parentOf(m_order[i])];
        m_children[parent.firstChild + parent.childCount++] = m_order[i];
    }
    Free(m_order);
    m_order = nullptr;
    return PIM_OK;
}

int32_t CxZipDirectory::Lookup(const ST_SLOT* table, uint32_t mask, const char* key, size_t length, uint32_t hash,
                               bool folders) const
{
    if (!table)
        return -1;
    for (uint32_t slot = hash & mask; table[slot].index; slot = (slot + 1) & mask) {
        if (table[slot].hash != hash)
            continue;
        uint32_t index = table[slot].index - 1;
        const char* stored;
        size_t storedLength;
        if (folders) {
            stored = m_names + m_folders[index].pathOffset;
            storedLength = m_folders[index].pathLength;
        } else {
            stored = m_names + m_entries[index].nameOffset;
            storedLength = m_entries[index].nameLength;
        }
        if (storedLength != length)
            continue;
        size_t i = 0;
        while (i < length && Fold(static_cast<unsigned char>(stored[i])) == Fold(static_cast<unsigned char>(key[i])))
            ++i;
        if (i == length)
            return static_cast<int32_t>(index);
    }
    return -1;
}

// A requested name in the form the names are kept in: "\" as "/", runs of
// "/" made one, no "/" at either end. Short names are copied into `local`.
class CxZipDirectory::CxKey
{
public:
    CxKey(const char* path, size_t length)
    {
        while (length > 0 && IsSlash(*path)) {
            ++path;
            --length;
        }
        while (length > 0 && IsSlash(path[length - 1]))
            --length;
        m_text = length < sizeof m_local ? m_local : static_cast<char*>(PIM_ALLOC(length + 1));
        if (!m_text)
            return;
        for (size_t i = 0; i < length; ++i) {
            char c = path[i] == '\\' ? '/' : path[i];
            if (c == '/' && m_length > 0 && m_text[m_length - 1] == '/')
                continue;
            m_text[m_length++] = c;
            m_hash = HashStep(m_hash, static_cast<unsigned char>(c));
        }
        m_text[m_length] = '\0';
    }
    ~CxKey()
    {
        if (m_text != m_local)
            Free(m_text);
    }
    CxKey(const CxKey&) = delete;
    CxKey& operator=(const CxKey&) = delete;

    bool IsValid() const { return m_text != nullptr; }
    const char* Text() const { return m_text; }
    size_t Length() const { return m_length; }
    uint32_t Hash() const { return m_hash; }

private:
    char m_local[256];
    char* m_text = nullptr;
    size_t m_length = 0;
    uint32_t m_hash = kHashBasis;
};

int32_t CxZipDirectory::FindFile(const char* path) const
{
    if (!path || !m_loaded)
        return -1;
    // A name ending in "/" is a folder's, never a file's.
    size_t length = std::strlen(path);
    if (length == 0 || IsSlash(path[length - 1]))
        return -1;
    CxKey key(path, length);
    if (!key.IsValid() || key.Length() == 0)
        return -1;
    return Lookup(m_fileSlots, m_fileMask, key.Text(), key.Length(), key.Hash(), false);
}

int32_t CxZipDirectory::FindFolder(const char* path) const
{
    return FindFolder(path, path ? std::strlen(path) : 0);
}

int32_t CxZipDirectory::FindFolder(const char* path, size_t length) const
{
    if (!m_loaded)
        return -1;
    if (!path)
        return 0;
    CxKey key(path, length);
    if (!key.IsValid())
        return -1;
    if (key.Length() == 0)
        return 0;
    return Lookup(m_folderSlots, m_folderMask, key.Text(), key.Length(), key.Hash(), true);
}

const char* CxZipDirectory::GetEntryFileName(uint32_t index) const
{
    const char* name = GetEntryName(index);
    const char* slash = std::strrchr(name, '/');
    return slash ? slash + 1 : name;
}

int CxZipDirectory::LocateData(CxZipByteSource& source, uint32_t index, uint64_t& dataOffset,
                               const char*& failure) const
{
    failure = "";
    if (index >= m_entryCount) {
        failure = "no such entry";
        return PIM_ERR_UNKNOWN;
    }
    const ST_ZIP_ENTRY& entry = m_entries[index];
    if (m_zip64Locator || entry.compressedSize == 0xFFFFFFFFu || entry.uncompressedSize == 0xFFFFFFFFu ||
        entry.localHeaderOffset == 0xFFFFFFFFu) {
        failure = "ZIP64 members are not supported";
        return PIM_ERR_UNKNOWN;
    }
    if (entry.flags & PIM_ZIP_FLAG_ENCRYPTED) {
        failure = "encrypted members are not supported";
        return PIM_ERR_UNKNOWN;
    }
    // A read size must fit the 31 bits of a buffer's size.
    if (entry.compressedSize > 0x7FFFFFFFu || entry.uncompressedSize > 0x7FFFFFFFu) {
        failure = "members of 2 GB or more are not supported";
        return PIM_ERR_UNKNOWN;
    }
    if (entry.method == PIM_ZIP_METHOD_STORED && entry.compressedSize != entry.uncompressedSize) {
        failure = "the sizes of a stored member differ";
        return PIM_ERR_UNKNOWN;
    }
    // Member data lies between the start of the archive and its directory.
    if (entry.localHeaderOffset > m_directoryOffset ||
        m_directoryOffset - entry.localHeaderOffset < PIM_ZIP_LOCAL_HEADER_SIZE) {
        failure = "its local header lies outside the archive";
        return PIM_ERR_UNKNOWN;
    }
    uint8_t header[PIM_ZIP_LOCAL_HEADER_SIZE];
    uint64_t headerAt = m_archiveStart + entry.localHeaderOffset;
    if (!source.ReadAt(headerAt, header, sizeof header)) {
        failure = "its local header could not be read";
        return PIM_ERR_UNKNOWN;
    }
    if (ReadLe32(header) != PIM_ZIP_LOCAL_SIGNATURE) {
        failure = "its local header is damaged";
        return PIM_ERR_UNKNOWN;
    }
    uint64_t data = headerAt + PIM_ZIP_LOCAL_HEADER_SIZE + ReadLe16(header + 26) + ReadLe16(header + 28);
    if (data > m_directoryStart || entry.compressedSize > m_directoryStart - data) {
        failure = "its data runs past the end of the archive";
        return PIM_ERR_UNKNOWN;
    }
    dataOffset = data;
    return PIM_OK;
}

uint32_t PimZipAttributes(const ST_ZIP_ENTRY& entry)
{
    uint32_t attributes = 0;
    uint8_t host = static_cast<uint8_t>(entry.madeBy >> 8);
    if (host == 0) {
        uint8_t dos = static_cast<uint8_t>(entry.externalAttributes);
        if (dos & 0x01)
            attributes |= PIM_FA_READONLY;
        if (dos & 0x02)
            attributes |= PIM_FA_HIDDEN;
        if (dos & 0x04)
            attributes |= PIM_FA_SYSTEM;
        if (dos & 0x10)
            attributes |= PIM_FA_DIRECTORY;
        if (dos & 0x20)
            attributes |= PIM_FA_ARCHIVE;
    } else if (host == 3) {
        uint32_t mode = entry.externalAttributes >> 16;
        if ((mode & 0170000) == 0040000)
            attributes |= PIM_FA_DIRECTORY;
        if (mode != 0 && !(mode & 0200))
            attributes |= PIM_FA_READONLY;
    }
    // What the name says decides: an entry we open as a file is no folder.
    if (entry.isFolder)
        attributes |= PIM_FA_DIRECTORY;
    else
        attributes &= ~static_cast<uint32_t>(PIM_FA_DIRECTORY);
    return attributes;
}

void PimZipTime(uint16_t date, uint16_t time, ST_FILE_TIME& out)
{
    out = ST_FILE_TIME{};
    out.year = static_cast<uint16_t>(date / 512 + 1980);
    out.month = static_cast<uint16_t>((date >> 5) & 0x0F);
    out.day = static_cast<uint16_t>(date & 0x1F);
    out.hour = static_cast<uint16_t>(time / 2048);
    out.minute = static_cast<uint16_t>((time >> 5) & 0x3F);
    out.second = static_cast<uint16_t>((time & 0x1F) * 2);
    if (out.month >= 1 && out.month <= 12 && out.day >= 1) {
        // Day of the week (0: Sunday) by Sakamoto's method.
        static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
        int y = out.year - (out.month < 3 ? 1 : 0);
        out.dayOfWeek = static_cast<uint16_t>((y + y / 4 - y / 100 + y / 400 + offsets[out.month - 1] + out.day) % 7);
    }
}
