#pragma once
// The ".seq" reader: an event sequence file as a list of entries, and the
// cache that keeps what was read so that a file played again is neither
// read nor parsed again.
//
// The format, line by line (a carriage return or a zero byte ends a line as
// a line feed does):
//   - blanks (spaces, tabs) at the start are skipped; a line then beginning
//     with "#" is a comment, and an empty line is nothing;
//   - the keywords "Dynamic" and "continue", each followed by blanks, may
//     come first in any order and number: they mark the entry that follows
//     on the same line;
//   - "Event" and blanks, then an event text (CATEGORY.NAME(ARGS)) up to and
//     with its first ")", or to the end of the line when it has none;
//   - "Lua" and blanks, then a Lua text to the end of the line;
//   - "Sequence" and blanks, then a file name in double quotes (to the
//     closing quote or the end of the line) or bare (to the first blank or
//     the end of the line);
//   - anything else, and an entry with nothing after its keyword, is ignored.
// Every keyword is compared without regard to case. Entries keep file order.
// Only the texts are kept: the events are made from them at every load
// (CxEventSequenceFile), because an "Event" line is interpolated when its
// event is made and a random choice of file is drawn then.
//
// The cache is keyed by the path as given to the file layer. An entry is
// used again while the file's size and time are what they were when it was
// read; FlushSequenceCache forgets all of them (the game's "reload data").
// A missing file is remembered too, so that it is reported once, not at
// every attempt: it is looked for again (without a report) until it exists.
//
// Main thread only.

#include "PIM/core/CxString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The largest sequence file read; a bigger one is refused with 10.
constexpr int64_t DAX_SEQUENCE_FILE_MAX = 1 << 20;
// Files the cache keeps; when it is full it starts again empty.
constexpr size_t DAX_SEQUENCE_CACHE_MAX = 256;

enum class EDaxSequenceEntry : uint8_t
{
    Event,
    Lua,
    Sequence,
};

struct ST_SEQUENCE_ENTRY
{
    EDaxSequenceEntry kind = EDaxSequenceEntry::Event;
    bool dynamic = false;
    // "continue": the next entry starts in the same frame when this one ends.
    bool chain = false;
    // The event text, the Lua text or the file name, as written.
    CxString text;
};

struct ST_SEQUENCE_ENTRIES
{
    std::vector<ST_SEQUENCE_ENTRY> entries;
    // The file as the disk knows it: its full path with "." and ".."
    // resolved and "//" collapsed, so that two names of one file ("a.seq",
    // "./a.seq", "<Data>a.seq") are seen to be one. Compared without regard
    // to case.
    CxString identity;
};

// The identity of the file `path` names (see ST_SEQUENCE_ENTRIES).
CxString SequenceFileIdentity(const char* path);

// The entries of `size` bytes of sequence text (any bytes).
void ParseSequenceText(const char* text, size_t size, ST_SEQUENCE_ENTRIES& out);

// The entries of the file at `path`, from the cache when it still holds
// them. Null when the file cannot be had: `code` (optional) then receives
// 2 for a missing file (reported the first time only), the file layer's
// error (reported by it), 10 for a file past DAX_SEQUENCE_FILE_MAX or 1.
std::shared_ptr<const ST_SEQUENCE_ENTRIES> GetSequenceEntries(const char* path, int* code = nullptr);

void FlushSequenceCache();
size_t GetSequenceCacheCount();
