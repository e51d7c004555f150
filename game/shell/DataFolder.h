#pragma once
// Where the game's data is when the command line names none.
//
// In the build tree the data lies beside the program ("<program>/data").
// An installed program finds it from its own folder by the path between the
// two install folders ("../share/games/marrowdale" from "<prefix>/games"),
// so a tree unpacked anywhere plays; last comes the absolute folder the
// build was configured to install into. A program started through a link is
// looked for both where the link is and where the file really is.

#include <string>
#include <vector>

// The folders tried, in order and without repeats. `programFolders` end in
// "/" (empty ones are skipped); `installRelative` is the data folder seen from
// the installed program's folder and `installAbsolute` the configured one
// (either empty: not tried).
std::vector<std::string> DataFolderCandidates(const std::vector<std::string>& programFolders,
                                              const std::string& installRelative,
                                              const std::string& installAbsolute);

// The first candidate that is a folder; "" when none is.
std::string FirstExistingFolder(const std::vector<std::string>& candidates);

// The candidates for this program, with the install folders compiled in.
std::vector<std::string> DefaultDataFolderCandidates(const char* argv0);

// The compiled-in install folder of the data (absolute), for --help and messages.
const char* InstalledDataFolder();
