#include "PIM/os/PimOsFiles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <signal.h>
#include <unistd.h>

namespace PimOs {

namespace {

std::atomic<FaultHook> g_faultHook{nullptr};

bool Faulted(EStep step, const char* path)
{
    FaultHook hook = g_faultHook.load();
    if (hook && hook(step, path ? path : "")) {
        errno = EIO;
        return true;
    }
    return false;
}

int LastError()
{
    return errno ? errno : EIO;
}

} // namespace

void SetFaultHook(FaultHook hook)
{
    g_faultHook.store(hook);
}

bool Stat(const char* path, ST_STAT& out)
{
    out = ST_STAT{};
    struct stat st;
    if (!path || ::stat(path, &st) != 0)
        return false;
    out.exists = true;
    out.isFolder = S_ISDIR(st.st_mode);
    out.isRegular = S_ISREG(st.st_mode);
    out.writable = (st.st_mode & S_IWUSR) != 0;
    out.size = static_cast<int64_t>(st.st_size);
    out.modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
    out.modifiedNanos = static_cast<int64_t>(st.st_mtim.tv_nsec);
    return true;
}

FILE* Open(const char* path, const char* mode)
{
    if (!path || !mode || Faulted(EStep::Open, path))
        return nullptr;
    // Folders open as streams on Linux; the engine means files only.
    ST_STAT st;
    if (Stat(path, st) && st.isFolder) {
        errno = EISDIR;
        return nullptr;
    }
    return std::fopen(path, mode);
}

int Close(FILE* stream)
{
    if (!stream)
        return EINVAL;
    return std::fclose(stream) == 0 ? 0 : LastError();
}

size_t Write(FILE* stream, const void* data, size_t size, const char* pathForFaults)
{
    if (!stream || size == 0)
        return 0;
    if (Faulted(EStep::Write, pathForFaults))
        return 0;
    return std::fwrite(data, 1, size, stream);
}

int Sync(FILE* stream, const char* pathForFaults)
{
    if (!stream)
        return EINVAL;
    if (std::fflush(stream) != 0)
        return LastError();
    if (Faulted(EStep::Sync, pathForFaults))
        return EIO;
    return ::fsync(fileno(stream)) == 0 ? 0 : LastError();
}

int SyncFolder(const char* folder)
{
    if (!folder)
        return EINVAL;
    if (Faulted(EStep::SyncFolder, folder))
        return EIO;
    int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return LastError();
    int result = ::fsync(fd) == 0 ? 0 : LastError();
    ::close(fd);
    return result;
}

int Rename(const char* from, const char* to)
{
    if (!from || !to)
        return EINVAL;
    if (Faulted(EStep::Rename, to))
        return EIO;
    return std::rename(from, to) == 0 ? 0 : LastError();
}

int Delete(const char* path)
{
    if (!path)
        return EINVAL;
    return ::unlink(path) == 0 ? 0 : LastError();
}

int MakeFolder(const char* path)
{
    if (!path)
        return EINVAL;
    return ::mkdir(path, 0777) == 0 ? 0 : LastError();
}

int RemoveFolder(const char* path)
{
    if (!path)
        return EINVAL;
    return ::rmdir(path) == 0 ? 0 : LastError();
}

int Truncate(FILE* stream, int64_t size)
{
    if (!stream || size < 0)
        return EINVAL;
    if (std::fflush(stream) != 0)
        return LastError();
    return ::ftruncate(fileno(stream), static_cast<off_t>(size)) == 0 ? 0 : LastError();
}

int SetWritable(const char* path, bool writable)
{
    struct stat st;
    if (!path || ::stat(path, &st) != 0)
        return LastError();
    mode_t mode = st.st_mode & 07777;
    mode = writable ? (mode | S_IWUSR) : (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH));
    return ::chmod(path, mode) == 0 ? 0 : LastError();
}

bool ListFolder(const char* path, FolderEntry entry, void* context)
{
    if (!path || !entry)
        return false;
    DIR* dir = ::opendir(*path ? path : ".");
    if (!dir)
        return false;
    while (dirent* e = ::readdir(dir)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
            continue;
        entry(context, e->d_name);
    }
    ::closedir(dir);
    return true;
}

bool AbsolutePath(const char* path, char* out, size_t outSize)
{
    if (!path || !out || outSize == 0)
        return false;
    if (path[0] == '/') {
        std::snprintf(out, outSize, "%s", path);
        return true;
    }
    char cwd[4096];
    if (!::getcwd(cwd, sizeof cwd))
        return false;
    if (!*path)
        std::snprintf(out, outSize, "%s", cwd);
    else
        std::snprintf(out, outSize, "%s/%s", std::strcmp(cwd, "/") ? cwd : "", path);
    return true;
}

bool MakePrivateTempFolder(const char* prefix, char* out, size_t outSize)
{
    const char* base = std::getenv("TMPDIR");
    if (!base || base[0] != '/')
        base = "/tmp";
    return MakePrivateFolder(base, prefix, out, outSize);
}

bool MakePrivateFolder(const char* base, const char* prefix, char* out, size_t outSize)
{
    if (!out || outSize == 0 || !base || !*base)
        return false;
    char pattern[4096];
    const size_t length = std::strlen(base);
    const char* slash = base[length - 1] == '/' ? "" : "/";
    int n = std::snprintf(pattern, sizeof pattern, "%s%s%s-XXXXXX", base, slash, prefix ? prefix : "pim");
    if (n <= 0 || static_cast<size_t>(n) >= sizeof pattern || static_cast<size_t>(n) >= outSize)
        return false;
    // mkdtemp creates the folder itself, exclusively, readable only by us.
    if (!::mkdtemp(pattern))
        return false;
    std::snprintf(out, outSize, "%s", pattern);
    return true;
}

long ProcessId()
{
    return static_cast<long>(::getpid());
}

bool ProcessAlive(long pid)
{
    if (pid <= 0)
        return false;
    // Signal 0 only asks whether the process exists; EPERM means it does.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace PimOs
