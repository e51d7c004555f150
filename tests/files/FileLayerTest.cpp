#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxDynamicFileSystem.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/CxPathResolver.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/os/PimOsFiles.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string ReadAll(const char* path)
{
    CxBuffer buffer;
    if (LoadFile(path, buffer) != PIM_OK)
        return "<failed>";
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

std::vector<std::string> Names(CxFileInfoList& list)
{
    std::vector<std::string> names;
    for (auto* node = list.GetFirst(); node; node = node->GetNext())
        names.push_back(node->GetElement().fullPath.GetText());
    return names;
}

} // namespace

TEST(FileLookup, InstallBeatsDiscAndTagsNameTheirFileSystem)
{
    TempFolder disc, install;
    disc.Write("shared.txt", "from disc");
    disc.Write("disc_only.txt", "disc only");
    install.Write("shared.txt", "from install");
    // Mounted as the application does: disc first, install after (so in front).
    CxDirectoryFileSystem cd("<CDPath>", disc.Path().c_str());
    CxDirectoryFileSystem in("<InstallPath>", install.Path().c_str());
    ASSERT_EQ(GetFileSystem(0), &in);

    EXPECT_EQ(ReadAll("shared.txt"), "from install");
    EXPECT_EQ(ReadAll("disc_only.txt"), "disc only");
    EXPECT_EQ(ReadAll("<CDPath>shared.txt"), "from disc");
    EXPECT_EQ(ReadAll("<cdpath>shared.txt"), "from disc"); // tags in any case
    // A tag nobody has: searched like an untagged name.
    EXPECT_EQ(ReadAll("<Nowhere>disc_only.txt"), "disc only");
    EXPECT_STREQ(StripRootTag("<A>b/c"), "b/c");
    EXPECT_STREQ(StripRootTag("<>b"), "b");
    EXPECT_STREQ(StripRootTag("<unclosed"), "<unclosed");

    // A new file goes to the first file system that is not busy.
    ASSERT_EQ(FsReplaceFile("new.txt", "n", 1), PIM_OK);
    EXPECT_EQ(install.Read("new.txt"), "n");
    {
        CxFileSystemBusy busy(in);
        EXPECT_EQ(FindFileSystem("shared.txt", nullptr), &cd);
        EXPECT_EQ(FindFileSystem("<InstallPath>shared.txt", nullptr), &cd);
    }
    // Priorities: 0 goes to the end, -1 to the front.
    cd.SetPriority(-1);
    EXPECT_EQ(GetFileSystem(0), &cd);
    cd.SetPriority(0);
    EXPECT_EQ(GetFileSystem(GetFileSystemCount() - 1), &cd);
}

TEST(FileLookup, PathsResolveWithoutRegardToCaseAndReuseListings)
{
    TempFolder root;
    root.Write("Common/Fonts/Pakenham.TTF", "font");
    CxDirectoryFileSystem fs("<InstallPath>", root.Path().c_str());

    EXPECT_TRUE(FsExists("COMMON/fonts/pakenham.ttf"));
    EXPECT_TRUE(FsExists("<installpath>common\\FONTS\\PAKENHAM.TTF"));
    EXPECT_EQ(ReadAll("common\\fonts\\pakenham.ttf"), "font");
    EXPECT_FALSE(FsExists("common/fonts")); // folders are not files
    EXPECT_TRUE(FsIsDirectory("COMMON/FONTS"));
    EXPECT_FALSE(FsExists("common/fonts/missing.ttf"));

    size_t listed = CxPathResolver::ListingsMade();
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(FsExists("COMMON/fonts/pakenham.ttf"));
    EXPECT_EQ(CxPathResolver::ListingsMade(), listed); // cached, not listed again

    // A new file in a folder spelled differently lands in the existing folder.
    ASSERT_EQ(FsReplaceFile("COMMON/FONTS/New.txt", "x", 1), PIM_OK);
    EXPECT_EQ(root.Read("Common/Fonts/New.txt"), "x");
    // A change on disk is noticed (the folder's time stamp moved).
    root.Write("Common/Fonts/Late.Txt", "late");
    EXPECT_TRUE(FsExists("common/fonts/late.txt"));

    // Case twins: the exact spelling wins.
    root.Write("twin/A.txt", "upper");
    root.Write("twin/a.txt", "lower");
    EXPECT_EQ(ReadAll("TWIN/a.txt"), "lower");
    EXPECT_EQ(ReadAll("twin/A.txt"), "upper");
}

TEST(FileLookup, ASecondChangeInTheSameClockTickIsFound)
{
    // Two changes to a folder within one tick of the kernel's clock leave the
    // same change time; the second must still be found.
    TempFolder root;
    root.Write("Rooms/one.txt", "1");
    CxDirectoryFileSystem fs("<InstallPath>", root.Path().c_str());
    EXPECT_TRUE(FsExists("ROOMS/ONE.TXT"));
    const std::string folder = root / "Rooms";
    struct stat before {};
    ASSERT_EQ(::stat(folder.c_str(), &before), 0);
    root.Write("Rooms/Two.txt", "2");
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, folder.c_str(), times, 0), 0);
    EXPECT_TRUE(FsExists("rooms/two.txt"));
    EXPECT_FALSE(FsExists("rooms/three.txt"));
}

TEST(FileObject, OpenFlagsReadWriteAndLoad)
{
    TempFolder root;
    CxDirectoryFileSystem fs("<Work>", root.Path().c_str());
    ErrorRecorder errors;

    CxFile file;
    ASSERT_EQ(file.Create("<Work>data.bin", CBF_BINARY), PIM_OK);
    ASSERT_EQ(file.Write("hello world", 11), PIM_OK);
    EXPECT_EQ(file.Tell(), 11);
    EXPECT_EQ(file.Size(), 11);
    file.Close();
    EXPECT_EQ(FsGetSize("<Work>data.bin"), 11);

    ASSERT_EQ(file.Open("<Work>data.bin"), PIM_OK); // read only by default
    EXPECT_EQ(file.Write("X", 1), PIM_OK);           // ignored
    char got[16] = {};
    size_t count = 0;
    EXPECT_EQ(file.Seek(6, 0), PIM_OK);
    EXPECT_EQ(file.Read(got, sizeof got, &count), PIM_OK); // past the end is no failure
    EXPECT_EQ(count, 5u);
    EXPECT_STREQ(got, "world");
    file.Close();
    EXPECT_EQ(ReadAll("<Work>data.bin"), "hello world");

    // Conflicting flags are refused before anything is touched.
    EXPECT_EQ(file.Open("<Work>data.bin", CBF_READONLY | CBF_CREATE), PIM_ERR_BAD_ARG);
    EXPECT_EQ(file.Open("<Work>data.bin", CBF_READONLY | CBF_WRITE), PIM_ERR_BAD_ARG);
    EXPECT_EQ(ReadAll("<Work>data.bin"), "hello world");

    // CBF_CREATE empties an existing file.
    ASSERT_EQ(file.Open("<Work>data.bin", CBF_BINARY | CBF_CREATE), PIM_OK);
    file.Close();
    EXPECT_EQ(ReadAll("<Work>data.bin"), "");

    // Append, and a missing file reported with its name.
    ASSERT_EQ(file.Open("<Work>log.txt", CBF_BINARY | CBF_CREATE), PIM_OK);
    file.Write("a", 1);
    file.Close();
    ASSERT_EQ(file.Open("<Work>log.txt", CBF_BINARY | CBF_APPEND), PIM_OK);
    file.Write("b", 1);
    file.Close();
    EXPECT_EQ(ReadAll("<Work>log.txt"), "ab");

    size_t before = errors.errors.size();
    EXPECT_EQ(file.Open("<Work>missing.txt"), PIM_ERR_OPEN);
    ASSERT_EQ(errors.errors.size(), before + 1);
    EXPECT_NE(errors.errors.back().message.find("Could not open <Work>missing.txt"), std::string::npos);
    CxBuffer buffer;
    EXPECT_EQ(LoadFile("<Work>missing.txt", buffer), PIM_ERR_OPEN);
    EXPECT_TRUE(buffer.IsEmpty());
}

TEST(FileObject, HandlesOutlivingTheirFileSystemAreRefused)
{
    TempFolder root;
    root.Write("a.txt", "abc");
    auto* fs = new CxDirectoryFileSystem("<Gone>", root.Path().c_str());
    CxFsHandle* handle = FsOpen("<Gone>a.txt", CBF_DEFAULT);
    ASSERT_NE(handle, nullptr);
    delete fs; // closes its streams
    char c;
    size_t got = 1;
    EXPECT_EQ(FsRead(handle, &c, 1, &got), PIM_ERR_BAD_ARG);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(FsRead(nullptr, &c, 1, &got), PIM_ERR_BAD_ARG);
    EXPECT_EQ(FsWrite(nullptr, &c, 1), PIM_ERR_BAD_ARG);
    EXPECT_EQ(FsSeek(nullptr, 0, 0), PIM_OK);
    FsClose(handle);
}

TEST(FileListing, PatternsMasksAndRecursion)
{
    TempFolder root;
    root.Write("pics/a.tga", "1");
    root.Write("pics/B.TGA", "22");
    root.Write("pics/c.bmp", "333");
    root.Write("pics/sub/d.tga", "4444");
    root.Write("pics/.hidden.tga", "5");
    CxDirectoryFileSystem fs("<Pics>", root.Path().c_str());

    CxFileInfoList list;
    FsFindFiles(list, "<Pics>PICS/*.tga", 0, false);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"PICS/.hidden.tga", "PICS/B.TGA", "PICS/a.tga"}));
    ASSERT_NE(list.GetAt(1), nullptr);
    EXPECT_EQ(list.GetAt(1)->size, 2);
    EXPECT_STREQ(list.GetAt(1)->fileName.GetText(), "B.TGA");

    CxFileInfoList recursive;
    FsFindFiles(recursive, "<Pics>pics/*.tga;*.bmp", 0, true);
    EXPECT_EQ(recursive.GetCount(), 5u);

    CxFileInfoList folders;
    FsFindFiles(folders, "<Pics>pics/*", PIM_FA_DIRECTORY, false);
    EXPECT_EQ(Names(folders), (std::vector<std::string>{"pics/sub"}));

    // Negative: folders as well; with all six low bits set, only entries
    // having every attribute, so -1 lists just the folders.
    CxFileInfoList everything;
    FsFindFiles(everything, "<Pics>pics/", static_cast<int>(0x80000000u), false);
    EXPECT_EQ(everything.GetCount(), 5u); // four files and the folder
    CxFileInfoList onlyFolders;
    FsFindFiles(onlyFolders, "<Pics>pics/", -1, false);
    EXPECT_EQ(Names(onlyFolders), (std::vector<std::string>{"pics/sub"}));

    CxFileInfoList hidden;
    FsFindFiles(hidden, "<Pics>pics/*", PIM_FA_HIDDEN, false);
    EXPECT_EQ(Names(hidden), (std::vector<std::string>{"pics/.hidden.tga"}));
}

TEST(DynamicFileSystem, ServesNamesFromBelowItsBase)
{
    TempFolder install;
    install.Write("rooms/Barn/barn.ini", "[Room]");
    CxDirectoryFileSystem in("<InstallPath>", install.Path().c_str());
    CxDynamicFileSystem activity("<ActivityPath>", "<InstallPath>rooms/Barn");
    EXPECT_EQ(activity.Combine("/barn.ini"), "<InstallPath>rooms/Barn/barn.ini");

    EXPECT_TRUE(FsExists("<ActivityPath>barn.ini"));
    EXPECT_EQ(ReadAll("<ActivityPath>BARN.INI"), "[Room]");
    ASSERT_EQ(FsReplaceFile("<ActivityPath>saved.txt", "s", 1), PIM_OK);
    EXPECT_EQ(install.Read("rooms/Barn/saved.txt"), "s");

    // A dynamic file system naming its own tag does not call itself for ever.
    CxDynamicFileSystem loop("<Loop>", "<Loop>x");
    EXPECT_FALSE(FsExists("<Loop>anything"));
}

TEST(FileReplace, WritesWholeFilesAndKeepsTheOldOneWhenAStepFails)
{
    TempFolder root;
    root.Write("save.ini", "old");
    CxDirectoryFileSystem fs("<AppData>", root.Path().c_str());
    ErrorRecorder errors;

    for (PimOs::EStep step : {PimOs::EStep::Write, PimOs::EStep::Sync, PimOs::EStep::Rename}) {
        static PimOs::EStep failing;
        failing = step;
        PimOs::SetFaultHook([](PimOs::EStep s, const char*) { return s == failing; });
        EXPECT_NE(FsReplaceFile("<AppData>save.ini", "new contents", 12), PIM_OK);
        PimOs::SetFaultHook(nullptr);
        EXPECT_EQ(root.Read("save.ini"), "old");
    }
    // No temporary files are left behind.
    CxFileInfoList list;
    FsFindFiles(list, "<AppData>*", 0, false);
    EXPECT_EQ(list.GetCount(), 1u);

    EXPECT_EQ(FsReplaceFile("<AppData>save.ini", "new contents", 12), PIM_OK);
    EXPECT_EQ(root.Read("save.ini"), "new contents");
}
