#include "game/shell/DataFolder.h"

#include "PIM/os/PimOsFiles.h"
#include "PIM/os/PimProcess.h"

#include <algorithm>

// CMake gives both from the install folders; a build without them (an IDE's
// own project, say) still plays the data beside the program.
#ifndef MARROWDALE_DATA_RELATIVE
#define MARROWDALE_DATA_RELATIVE ""
#endif
#ifndef MARROWDALE_DATA_ABSOLUTE
#define MARROWDALE_DATA_ABSOLUTE ""
#endif

namespace {

void AddOnce(std::vector<std::string>& list, const std::string& folder)
{
    if (!folder.empty() && std::find(list.begin(), list.end(), folder) == list.end())
        list.push_back(folder);
}

} // namespace

std::vector<std::string> DataFolderCandidates(const std::vector<std::string>& programFolders,
                                              const std::string& installRelative,
                                              const std::string& installAbsolute)
{
    std::vector<std::string> candidates;
    for (const std::string& folder : programFolders) {
        if (!folder.empty())
            AddOnce(candidates, folder + "data");
    }
    // A relative path that climbs out of the program's folder only means
    // something next to the program, never from the current folder.
    if (!installRelative.empty() && installRelative.front() != '/') {
        for (const std::string& folder : programFolders) {
            if (!folder.empty())
                AddOnce(candidates, folder + installRelative);
        }
    }
    if (!installAbsolute.empty() && installAbsolute.front() == '/')
        AddOnce(candidates, installAbsolute);
    return candidates;
}

std::string FirstExistingFolder(const std::vector<std::string>& candidates)
{
    for (const std::string& folder : candidates) {
        PimOs::ST_STAT stat;
        if (PimOs::Stat(folder.c_str(), stat) && stat.isFolder)
            return folder;
    }
    return std::string();
}

std::vector<std::string> DefaultDataFolderCandidates(const char* argv0)
{
    CxString named;
    CxString real;
    PimGetProgramFolder(argv0, named);
    // Null asks the kernel: the program file itself, links followed.
    PimGetProgramFolder(nullptr, real);
    return DataFolderCandidates({named.GetText(), real.GetText()}, MARROWDALE_DATA_RELATIVE,
                                MARROWDALE_DATA_ABSOLUTE);
}

const char* InstalledDataFolder()
{
    return MARROWDALE_DATA_ABSOLUTE;
}
