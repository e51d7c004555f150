#include "PIM/os/PimShellFolders.h"

#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxString.h"
#include "PIM/core/Pimstr.h"

#include <cstdlib>
#include <mutex>

namespace {

enum class EFolder
{
    None,
    Data,
    Documents,
};

struct ST_FOLDER_NAME
{
    const char* name;
    EFolder folder;
};

constexpr ST_FOLDER_NAME kFolderNames[] = {
    {"AppData", EFolder::Data},
    {"Local AppData", EFolder::Data},
    {"Common AppData", EFolder::Data},
    {"Personal", EFolder::Documents},
    {"My Documents", EFolder::Documents},
    {"Common Documents", EFolder::Documents},
};

struct ST_OVERRIDE
{
    CxString name;
    CxString path;
};

std::mutex g_overridesMutex;
CxLinkedList<ST_OVERRIDE> g_overrides;

CxLinkedList<ST_OVERRIDE>::Node* FindOverride(const char* name)
{
    for (auto* node = g_overrides.GetFirst(); node; node = node->GetNext()) {
        if (PimStrEqual(node->GetElement().name.GetText(), name, true))
            return node;
    }
    return nullptr;
}

EFolder FolderOf(const char* name)
{
    for (const ST_FOLDER_NAME& known : kFolderNames) {
        if (PimStrEqual(known.name, name, true))
            return known.folder;
    }
    return EFolder::None;
}

// A variable's value when it is set to an absolute path, else null.
const char* AbsoluteVariable(const char* variable)
{
    const char* value = std::getenv(variable);
    return value && value[0] == '/' ? value : nullptr;
}

// The folder from the environment, as the system gives it (not yet tidied).
CxString FolderFromEnvironment(EFolder folder)
{
    CxString path;
    const char* xdgFolder = AbsoluteVariable(folder == EFolder::Data ? "XDG_DATA_HOME" : "XDG_DOCUMENTS_DIR");
    if (xdgFolder) {
        path = xdgFolder;
        return path;
    }
    const char* home = AbsoluteVariable("HOME");
    if (!home)
        return path;
    path = home;
    if (folder == EFolder::Data)
        path.Append("/.local/share");
    return path;
}

// "/" separators, no "/" doubled or at the end, except a lone "/" for the
// root. $HOME may end in "/", and "$HOME/.local/share" must not then hold "//".
void Tidy(CxString& path)
{
    path.Replace('\\', '/');
    CxString tidy;
    const char* text = path.GetText();
    for (int i = 0; text[i]; ++i) {
        if (text[i] == '/' && tidy.LastChar() == '/')
            continue;
        tidy.Append(text[i]);
    }
    if (tidy.Length() > 1 && tidy.LastChar() == '/')
        tidy.DeleteLast(1);
    path = tidy;
}

} // namespace

int GetShellFolder(const char* name, bool common, char* out, int length)
{
    // The same folders answer for the common form (see the header).
    static_cast<void>(common);

    CxString path;
    bool overridden = false;
    {
        std::lock_guard<std::mutex> lock(g_overridesMutex);
        if (auto* node = name ? FindOverride(name) : nullptr) {
            path = node->GetElement().path;
            overridden = true;
        }
    }
    if (!overridden) {
        EFolder folder = name ? FolderOf(name) : EFolder::None;
        if (folder != EFolder::None)
            path = FolderFromEnvironment(folder);
    }
    Tidy(path);
    if (out && length > 0)
        PimStrCopy(out, path.GetText(), static_cast<size_t>(length));
    return path.Length();
}

bool SetShellFolderOverride(const char* name, const char* path)
{
    if (!name)
        return false;
    std::lock_guard<std::mutex> lock(g_overridesMutex);
    auto* node = FindOverride(name);
    if (!path) {
        if (node)
            g_overrides.Remove(node);
        return true;
    }
    ST_OVERRIDE entry{CxString(name), CxString(path)};
    if (entry.name.Length() == 0 || (path[0] && entry.path.Length() == 0))
        return false;
    if (node) {
        node->GetElement().path = entry.path;
        return node->GetElement().path.Length() == entry.path.Length();
    }
    return g_overrides.Append(entry) != nullptr;
}

void ClearShellFolderOverrides()
{
    std::lock_guard<std::mutex> lock(g_overridesMutex);
    g_overrides.Clear();
}
