// Where the program looks for its data without --data: beside itself (the
// build tree), then where the install put it, found from the program's own
// folder (so that a tree unpacked anywhere plays), then at the absolute
// install folder.
#include "game/shell/DataFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using Folders = std::vector<std::string>;

TEST(DataFolder, TriesBesideTheProgramThenTheInstallRelativeThenAbsolute)
{
    EXPECT_EQ(DataFolderCandidates({"/opt/mg/games/"}, "../share/games/marrowdale", "/usr/share/games/marrowdale"),
              (Folders{"/opt/mg/games/data", "/opt/mg/games/../share/games/marrowdale", "/usr/share/games/marrowdale"}));
    // A link's folder and the real one: each place beside the program comes
    // before any install folder, and a folder named twice is tried once.
    EXPECT_EQ(DataFolderCandidates({"/home/kim/bin/", "/usr/games/", "/home/kim/bin/"}, "../share/games/marrowdale",
                                   "/usr/share/games/marrowdale"),
              (Folders{"/home/kim/bin/data", "/usr/games/data", "/home/kim/bin/../share/games/marrowdale",
                       "/usr/games/../share/games/marrowdale", "/usr/share/games/marrowdale"}));
}

TEST(DataFolder, LeavesOutWhatCannotBeTried)
{
    // A program folder that could not be known; install folders not compiled in.
    EXPECT_EQ(DataFolderCandidates({"", "./"}, "", ""), (Folders{"./data"}));
    EXPECT_TRUE(DataFolderCandidates({}, "", "").empty());
    // The relative folder must be relative and the absolute one absolute:
    // either the other way round would look somewhere unintended.
    EXPECT_EQ(DataFolderCandidates({"/g/"}, "/usr/share/games/marrowdale", "share/games/marrowdale"),
              (Folders{"/g/data"}));
}

TEST(DataFolder, TakesTheFirstThatIsAFolder)
{
    TempFolder tree;
    tree.Write("games/data", "a file of that name is no data folder");
    tree.Write("share/games/marrowdale/Marrowdale.ini", "[Engine]\n");
    std::filesystem::create_directories(tree / "also");
    const Folders candidates =
        DataFolderCandidates({tree / "games/"}, "../share/games/marrowdale", tree / "also");
    // An unpacked tree finds its data by the path from its program folder.
    EXPECT_EQ(FirstExistingFolder(candidates), tree / "games/../share/games/marrowdale");
    EXPECT_EQ(FirstExistingFolder({tree / "missing", tree / "also"}), tree / "also");
    EXPECT_EQ(FirstExistingFolder({tree / "missing", tree / "games/data"}), "");
    EXPECT_EQ(FirstExistingFolder({}), "");
}

TEST(DataFolder, TheProgramsOwnListStartsBesideItAndEndsAtTheInstall)
{
    const Folders candidates = DefaultDataFolderCandidates("/nowhere/games/marrowdale");
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front(), "/nowhere/games/data");
    const std::string installed = InstalledDataFolder();
    // The build compiles the install folders in (cmake's install prefix).
    ASSERT_FALSE(installed.empty());
    EXPECT_EQ(installed.front(), '/');
    EXPECT_EQ(candidates.back(), installed);
    EXPECT_NE(std::find(candidates.begin(), candidates.end(), "/nowhere/games/../share/games/marrowdale"),
              candidates.end());
}
