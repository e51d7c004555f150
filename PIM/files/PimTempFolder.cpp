#include "PIM/files/PimTempFolder.h"

#include "PIM/files/CxCachedObject.h"
#include "PIM/os/PimOsFiles.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

char g_folder[4096] = {};
char g_cacheFolder[4096] = {};
bool g_exitHandlerSet = false;

void CollectName(void* context, const char* name)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(name);
}

// Only files are ever put in our folders, so one level is all there is.
void RemoveFolderAndFiles(char* folder)
{
    if (!folder[0])
        return;
    std::vector<std::string> names;
    PimOs::ListFolder(folder, &CollectName, &names);
    for (const std::string& name : names)
        PimOs::Delete((std::string(folder) + "/" + name).c_str());
    PimOs::RemoveFolder(folder);
    folder[0] = '\0';
}

void RemoveAtExit()
{
    PimReleaseCacheFolder();
    PimRemoveTempFolder();
}

void CleanUpAtExit()
{
    if (!g_exitHandlerSet) {
        g_exitHandlerSet = true;
        std::atexit(&RemoveAtExit);
    }
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
    CleanUpAtExit();
    return g_folder;
}

void PimRemoveTempFolder()
{
    RemoveFolderAndFiles(g_folder);
}

bool PimUseCacheFolder(const char* base)
{
    PimReleaseCacheFolder();
    if (!base || !*base)
        return false;
    if (!PimOs::MakePrivateFolder(base, "marrowdale-cache", g_cacheFolder, sizeof g_cacheFolder)) {
        g_cacheFolder[0] = '\0';
        return false;
    }
    CleanUpAtExit();
    CxCachedObject::SetSwapFolder(g_cacheFolder);
    return true;
}

const char* PimCacheFolder()
{
    return g_cacheFolder[0] ? g_cacheFolder : nullptr;
}

void PimReleaseCacheFolder()
{
    if (!g_cacheFolder[0])
        return;
    CxCachedObject::SetSwapFolder("");
    RemoveFolderAndFiles(g_cacheFolder);
}
