#pragma once
// The operating system's file calls, and nothing else. The folder file system
// and the atomic save are written on top of these, so that tests can make any
// single step fail (a write, a flush to disk, a rename) and see what the
// engine does about it.
//
// Paths are UTF-8 with "/" separators (the system's own form on Linux).

#include "PIM/core/PimDefs.h"

#include <cstdio>

namespace PimOs {

// The steps a fault hook may make fail.
enum class EStep
{
    Open,       // opening a stream
    Write,      // writing to a stream (fails as a short write)
    Sync,       // flushing a stream to the disk
    Rename,     // renaming a file
    SyncFolder, // flushing a folder's entries to the disk
};

// Returns true to make this step fail (errno is set to EIO).
using FaultHook = bool (*)(EStep step, const char* path);
void SetFaultHook(FaultHook hook);

struct ST_STAT
{
    bool exists = false;
    bool isFolder = false;
    bool isRegular = false;
    bool writable = true;  // for the user
    int64_t size = 0;
    int64_t modifiedSeconds = 0; // since the epoch
    int64_t modifiedNanos = 0;   // the rest, for change detection
};

bool Stat(const char* path, ST_STAT& out);

FILE* Open(const char* path, const char* mode);
int Close(FILE* stream); // 0 or an errno value
// Bytes written; fewer than `size` means failure.
size_t Write(FILE* stream, const void* data, size_t size, const char* pathForFaults);
// Flushes the C buffers and the system's buffers of the stream to the disk.
int Sync(FILE* stream, const char* pathForFaults); // 0 or an errno value
int SyncFolder(const char* folder); // 0 or an errno value

int Rename(const char* from, const char* to);  // 0 or an errno value; replaces `to`
int Delete(const char* path);                   // 0 or an errno value
int MakeFolder(const char* path);               // 0 or an errno value
int RemoveFolder(const char* path);             // 0 or an errno value
int Truncate(FILE* stream, int64_t size);       // 0 or an errno value
int SetWritable(const char* path, bool writable);

// Calls `entry` for every name in the folder except "." and ".."; false when
// the folder cannot be read.
using FolderEntry = void (*)(void* context, const char* name);
bool ListFolder(const char* path, FolderEntry entry, void* context);

// The absolute, "/"-separated form of `path` (folders need not exist);
// written into `out` (bounded). False when the current folder is unknown.
bool AbsolutePath(const char* path, char* out, size_t outSize);

// A new folder of our own under $TMPDIR (or /tmp), made exclusively; written
// into `out`. False when none could be made.
bool MakePrivateTempFolder(const char* prefix, char* out, size_t outSize);
// The same under `base` (which must exist): "base/prefix-XXXXXX", mode 0700.
bool MakePrivateFolder(const char* base, const char* prefix, char* out, size_t outSize);

long ProcessId();
// False when no process of that id runs any more.
bool ProcessAlive(long pid);

} // namespace PimOs
