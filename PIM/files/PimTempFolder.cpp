#include "PIM/files/PimTempFolder.h"

#include "PIM/os/PimOsFiles.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

char g_folder[4096] = {};
bool g_exitHandlerSet = false;

void CollectName(void* context, const char* name)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(name);
}

} // namespace

const char* PimTempFolder()
{
    if (g_folder[0])
        return g_folder;
    if (!PimOs::MakePrivateTempFolder("marrowdale", g_folder, sizeof g_folder)) {
        g_folder[0] = '\0';
        return nullptr;
    }
    if (!g_exitHandlerSet) {
        g_exitHandlerSet = true;
        std::atexit(&PimRemoveTempFolder);
    }
    return g_folder;
}

void PimRemoveTempFolder()
{
    if (!g_folder[0])
        return;
    // Only files are ever put here, so one level is all there is to clear.
    std::vector<std::string> names;
    PimOs::ListFolder(g_folder, &CollectName, &names);
    for (const std::string& name : names)
        PimOs::Delete((std::string(g_folder) + "/" + name).c_str());
    PimOs::RemoveFolder(g_folder);
    g_folder[0] = '\0';
}
