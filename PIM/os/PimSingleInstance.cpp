#include "PIM/os/PimSingleInstance.h"

#include "PIM/os/PimProcess.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The name becomes one file name: a "/" in it must not lead into another
// folder, and odd characters would only make the file hard to find.
void AppendFileName(CxString& path, const char* appName)
{
    for (const char* c = appName; *c; ++c) {
        bool plain = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9') ||
                     *c == '-' || *c == '_' || *c == '.';
        path.Append(plain ? *c : '_');
    }
}

int LockExclusive(int fd)
{
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    return result;
}

} // namespace

CxSingleInstance::~CxSingleInstance()
{
    Release();
}

bool CxSingleInstance::Acquire(const char* appName)
{
    Release();
    m_path = "";
    if (!appName || !appName[0])
        return true;

    CxString path;
    if (!PimGetRuntimeFolder(path))
        return true;
    path.Append('/');
    AppendFileName(path, appName);
    path.Append(".lock");
    m_path = path;

    // Owner-only, and never through a link: in /tmp anybody could have put
    // one there. Another user's file cannot be opened, and another user's
    // copy of the game is no reason not to start.
    int fd = ::open(path.GetText(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (LockExclusive(fd) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;

    // Who holds it, for whoever looks at the file wondering why the game
    // will not start; nothing depends on it.
    char pid[32];
    int length = std::snprintf(pid, sizeof(pid), "%ld\n", static_cast<long>(::getpid()));
    if (::ftruncate(fd, 0) == 0 && length > 0) {
        ssize_t written = ::write(fd, pid, static_cast<size_t>(length));
        static_cast<void>(written);
    }
    return true;
}

void CxSingleInstance::Release()
{
    if (m_fd < 0)
        return;
    // Closing drops the lock.
    ::close(m_fd);
    m_fd = -1;
}
