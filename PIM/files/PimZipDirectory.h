#pragma once
// The table of contents of a zip archive: the end record and the central
// directory, read from any byte source and checked against the archive's
// size before a single field is trusted. Nothing here opens files, so the
// parser can be fed straight from memory (and from a fuzzer).
//
// Names are kept in one block of memory, each with its "\" turned into "/",
// runs of "/" made one, leading "/" dropped and (for folder entries) the
// trailing "/" dropped, so every name is zero-terminated in place. Lookups
// hash a case-folded key; folders that are only implied by the names of the
// entries inside them get nodes of their own, so listing a folder never
// scans the whole archive.

#include "PIM/core/CxObject.h"
#include "PIM/files/CxFileInfo.h"

// Read access to the bytes of an archive, at any offset, in any order. Open
// members of one archive each read through the same source, so ReadAt keeps
// no position of its own.
class CxZipByteSource : public CxObject
{
public:
    virtual uint64_t Size() const = 0;
    // True when all `count` bytes at `offset` were copied into `buffer`.
    virtual bool ReadAt(uint64_t offset, void* buffer, size_t count) = 0;
};

// An archive already in memory; the bytes are not copied and must outlive
// the source.
class CxZipMemorySource : public CxZipByteSource
{
public:
    CxZipMemorySource(const void* data, size_t size);
    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, void* buffer, size_t count) override;

private:
    const uint8_t* m_data;
    size_t m_size;
};

// Signatures of the archive's records (little-endian on disk).
constexpr uint32_t PIM_ZIP_LOCAL_SIGNATURE = 0x04034b50u;
constexpr uint32_t PIM_ZIP_CENTRAL_SIGNATURE = 0x02014b50u;
constexpr uint32_t PIM_ZIP_END_SIGNATURE = 0x06054b50u;
constexpr uint32_t PIM_ZIP64_LOCATOR_SIGNATURE = 0x07064b50u;
constexpr uint32_t PIM_ZIP64_END_SIGNATURE = 0x06064b50u;

constexpr size_t PIM_ZIP_LOCAL_HEADER_SIZE = 30;
constexpr size_t PIM_ZIP_CENTRAL_HEADER_SIZE = 46;
constexpr size_t PIM_ZIP_END_RECORD_SIZE = 22;
// How far from the end of the archive the end record is looked for.
constexpr uint64_t PIM_ZIP_END_SEARCH_SPAN = 65535;

constexpr uint16_t PIM_ZIP_METHOD_STORED = 0;
constexpr uint16_t PIM_ZIP_METHOD_DEFLATED = 8;
constexpr uint16_t PIM_ZIP_FLAG_ENCRYPTED = 0x0001;

// One central directory record, as far as a reader needs it.
struct ST_ZIP_ENTRY
{
    uint32_t nameOffset = 0; // into the name block
    uint32_t nameLength = 0; // after the changes described above
    uint32_t folder = 0;     // the folder node holding it (0: the root)
    uint16_t madeBy = 0;
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    bool isFolder = false; // its name ended in "/"
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t externalAttributes = 0;
    uint32_t localHeaderOffset = 0; // from the start of the archive
};

// A folder, named by an entry of its own ("data/") or only implied by the
// names inside it ("data/a.txt"). Its path is a prefix of some name in the
// name block, so it is not terminated there.
struct ST_ZIP_FOLDER
{
    uint32_t pathOffset = 0;
    uint32_t pathLength = 0;
    uint32_t nameStart = 0; // where its last component starts in the path
    uint32_t parent = 0;
    int32_t entry = -1; // its own entry, if it has one
    uint32_t firstChild = 0;
    uint32_t childCount = 0;
};

// A child of a folder: an entry index, or a folder index with this bit set.
constexpr uint32_t PIM_ZIP_CHILD_FOLDER = 0x80000000u;

class CxZipDirectory
{
public:
    CxZipDirectory() = default;
    ~CxZipDirectory();
    CxZipDirectory(const CxZipDirectory&) = delete;
    CxZipDirectory& operator=(const CxZipDirectory&) = delete;

    // Reads the archive's directory. PIM_OK, PIM_ERR_OUT_OF_MEMORY, or
    // PIM_ERR_UNKNOWN for anything that is not an archive we can read (the
    // reason is then in GetFailure()). On failure the directory is empty.
    int Parse(CxZipByteSource& source);
    void Clear();
    const char* GetFailure() const { return m_failure; }

    bool IsLoaded() const { return m_loaded; }
    // Where the archive begins in the source (past any prepended data).
    uint64_t GetArchiveStart() const { return m_archiveStart; }
    // Where the central directory begins in the source.
    uint64_t GetDirectoryStart() const { return m_directoryStart; }
    // The archive has a ZIP64 end locator: its members are not readable here.
    bool HasZip64Locator() const { return m_zip64Locator; }

    uint32_t GetEntryCount() const { return m_entryCount; }
    const ST_ZIP_ENTRY& GetEntry(uint32_t index) const { return m_entries[index]; }
    const char* GetEntryName(uint32_t index) const { return m_names + m_entries[index].nameOffset; }
    // The name after the last "/".
    const char* GetEntryFileName(uint32_t index) const;

    uint32_t GetFolderCount() const { return m_folderCount; }
    const ST_ZIP_FOLDER& GetFolder(uint32_t index) const { return m_folders[index]; }
    const char* GetFolderPath(uint32_t index) const { return m_names + m_folders[index].pathOffset; }
    const uint32_t* GetChildren(uint32_t folder) const { return m_children + m_folders[folder].firstChild; }
    // Deepest folder nesting below the root, and longest folder name: what a
    // walk over the folders needs room for.
    uint32_t GetMaxDepth() const { return m_maxDepth; }
    uint32_t GetMaxFolderNameLength() const { return m_maxFolderName; }

    // Lookups compare without regard to case, with "\" as "/", runs of "/"
    // as one and leading "/" ignored. FindFile sees files only (a name
    // ending in "/" is never one); FindFolder ignores trailing "/" and
    // answers 0 (the root) for an empty path. -1 when absent.
    int32_t FindFile(const char* path) const;
    int32_t FindFolder(const char* path) const;
    int32_t FindFolder(const char* path, size_t length) const;

    // Checks that the member can be read here and finds where its data
    // starts, reading its local header. PIM_OK or PIM_ERR_UNKNOWN (reason in
    // `failure`). The compression method is the caller's to check.
    int LocateData(CxZipByteSource& source, uint32_t index, uint64_t& dataOffset, const char*& failure) const;

private:
    class CxKey;
    struct ST_SLOT
    {
        uint32_t hash;
        uint32_t index; // plus one; 0 marks an empty slot
    };

    int Fail(const char* reason);
    int FindEndRecord(CxZipByteSource& source, uint64_t& recordAt, uint64_t& directorySize, uint32_t& entries);
    int ReadDirectory(const uint8_t* directory, uint64_t size, uint32_t declaredEntries);
    int AddFolderChain(uint32_t entry, const uint32_t* prefixHashes, const uint32_t* slashAt, uint32_t slashCount,
                       uint32_t& folder);
    int AddFolder(uint32_t pathOffset, uint32_t pathLength, uint32_t hash, uint32_t parent, uint32_t& folder);
    int GrowFolders();
    int BuildChildren();
    int32_t Lookup(const ST_SLOT* table, uint32_t mask, const char* key, size_t length, uint32_t hash,
                   bool folders) const;

    bool m_loaded = false;
    const char* m_failure = "";
    uint64_t m_archiveStart = 0;
    uint64_t m_directoryStart = 0;
    uint64_t m_directoryOffset = 0; // from the archive start
    bool m_zip64Locator = false;

    char* m_names = nullptr;
    ST_ZIP_ENTRY* m_entries = nullptr;
    uint32_t m_entryCount = 0;
    uint32_t m_plannedEntries = 0; // records in the directory, names or not
    ST_SLOT* m_fileSlots = nullptr;
    uint32_t m_fileMask = 0;

    ST_ZIP_FOLDER* m_folders = nullptr;
    uint32_t m_folderCount = 0;
    uint32_t m_folderCapacity = 0;
    ST_SLOT* m_folderSlots = nullptr;
    uint32_t m_folderMask = 0;
    uint32_t* m_children = nullptr;
    // Files and folders in the order they first appeared, for the listing.
    uint32_t* m_order = nullptr;
    uint32_t m_orderCount = 0;
    uint32_t m_maxDepth = 0;
    uint32_t m_maxFolderName = 0;
};

// The attribute bits (PIM_FA_*) of an entry: from its MS-DOS attribute byte
// when it was made on MS-DOS, from its Unix mode when made on Unix; a name
// ending in "/" always makes a folder.
uint32_t PimZipAttributes(const ST_ZIP_ENTRY& entry);
// An entry's MS-DOS date and time.
void PimZipTime(uint16_t date, uint16_t time, ST_FILE_TIME& out);
