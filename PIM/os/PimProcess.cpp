#include "PIM/os/PimProcess.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace {

// Copies `text` into `out`; false when the copy could not be made.
bool Give(CxString& out, const char* text)
{
    out = text;
    if (text[0] && out.IsEmpty())
        return false;
    return true;
}

bool Fail(CxString& out)
{
    out = "";
    return false;
}

// A variable's value when it is set to an absolute path, else null.
const char* AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

// "/" at the end goes, so callers can append "/name"; the root stays.
void DropTrailingSlashes(CxString& path)
{
    while (path.Length() > 1 && path.LastChar() == '/')
        path.DeleteLast(1);
}

// The link's target. The kernel never gives a path longer than PATH_MAX.
bool ReadLink(const char* link, CxString& out)
{
    char buffer[PATH_MAX];
    ssize_t length = ::readlink(link, buffer, sizeof(buffer));
    if (length < 0 || static_cast<size_t>(length) >= sizeof(buffer))
        return Fail(out);
    buffer[length] = '\0';
    return Give(out, buffer) || Fail(out);
}

} // namespace

bool PimGetProgramFolder(const char* argv0, CxString& out)
{
    CxString path;
    if (argv0 && !Give(path, argv0))
        return Fail(out);
    path.Replace('\\', '/');
    // A bare name was found through $PATH, so it says nothing about where
    // the program lies; the kernel knows.
    if (path.Find('/') < 0 && !ReadLink("/proc/self/exe", path))
        return Fail(out);
    int slash = path.ReverseFind('/');
    if (slash < 0)
        return Fail(out);
    path.Truncate(slash + 1);
    out = path;
    return out.Length() == path.Length() || Fail(out);
}

bool PimGetCurrentFolder(CxString& out)
{
    char* folder = ::getcwd(nullptr, 0);
    if (!folder)
        return Fail(out);
    bool ok = Give(out, folder);
    std::free(folder);
    return ok || Fail(out);
}

bool PimGetConfigFolder(CxString& out)
{
    if (const char* config = AbsoluteVariable("XDG_CONFIG_HOME")) {
        if (!Give(out, config))
            return Fail(out);
    } else if (const char* home = AbsoluteVariable("HOME")) {
        if (!Give(out, home))
            return Fail(out);
        DropTrailingSlashes(out);
        if (out == "/")
            out = "";
        out.Append("/.config");
        // A failed append leaves the string empty.
        if (out.IsEmpty())
            return Fail(out);
    } else {
        return Fail(out);
    }
    DropTrailingSlashes(out);
    return true;
}

bool PimGetRuntimeFolder(CxString& out)
{
    const char* runtime = AbsoluteVariable("XDG_RUNTIME_DIR");
    if (!Give(out, runtime ? runtime : "/tmp"))
        return Fail(out);
    DropTrailingSlashes(out);
    return true;
}
