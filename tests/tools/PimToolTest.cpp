#include "tests/support/TempFolder.h"
#include "tests/support/ZipWriter.h"
#include "tests/tools/PimToolRunner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

bool HaveInfoZip()
{
    return ::access("/usr/bin/zip", X_OK) == 0;
}

} // namespace

TEST(PimTool, CatAndLsOnFoldersAndOwnArchives)
{
    TempFolder root;
    root.Write("data/Rooms/Barn.ini", "[Room]\r\nName=Barn\r\n");
    root.Write("data/readme.txt", "hello\n");
    ZipWriter zip;
    zip.Add("Rooms/Barn.ini", "[Room]\r\nName=Zipped\r\n", true);
    zip.Add("b.txt", "bee");
    root.Write("game.zip", zip.Build());

    ToolResult ls = RunTool({"ls", root / "data"});
    EXPECT_EQ(ls.code, 0) << ls.err;
    EXPECT_EQ(ls.out, "19\tRooms/Barn.ini\n6\treadme.txt\n");
    ToolResult lz = RunTool({"ls", root / "game.zip"});
    EXPECT_EQ(lz.out, "21\tRooms/Barn.ini\n3\tb.txt\n"); // the archive's order

    // Later roots are searched first; tags pick one; names ignore case.
    ToolResult both = RunTool({"cat", "--root", "CDPath=" + (root / "data"), "--root",
                               "<InstallPath>=" + (root / "game.zip"), "ROOMS\\barn.ini"});
    EXPECT_EQ(both.code, 0) << both.err;
    EXPECT_EQ(both.out, "[Room]\r\nName=Zipped\r\n");
    ToolResult tagged = RunTool({"cat", "--root", "CDPath=" + (root / "data"), "--root",
                         "InstallPath=" + (root / "game.zip"), "<cdpath>rooms/barn.ini"});
    EXPECT_EQ(tagged.out, "[Room]\r\nName=Barn\r\n");

    ToolResult missing = RunTool({"cat", "--root", "X=" + (root / "data"), "nothing.txt"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("Could not find file"), std::string::npos);
    ToolResult badArchive = RunTool({"cat", "--root", "X=" + (root / "data/readme.zip"), "a"});
    EXPECT_EQ(badArchive.code, 1);
    ToolResult usage = RunTool({"cat"});
    EXPECT_EQ(usage.code, 2);
    EXPECT_EQ(RunTool({"frobnicate"}).code, 2);
}

TEST(PimTool, CorruptArchivesFailWithTheEngineErrorText)
{
    TempFolder root;
    ZipWriter zip;
    zip.Add("a.txt", ZipSampleText(1000), true);
    ZipLayout layout;
    std::string bytes = zip.Build(&layout);
    size_t inside = layout.data[0] + 5; // inside the compressed data
    bytes[inside] = static_cast<char>(bytes[inside] ^ 0x55);
    root.Write("bad.zip", bytes);
    ToolResult r = RunTool({"cat", "--root", "Z=" + (root / "bad.zip"), "<Z>a.txt"});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.empty());

    root.Write("junk.zip", "this is not an archive at all");
    ToolResult junk = RunTool({"ls", root / "junk.zip"});
    EXPECT_EQ(junk.code, 1);
    EXPECT_NE(junk.err.find("Unknown Error"), std::string::npos); // code 13
}

TEST(PimTool, IniGetAndSet)
{
    TempFolder root;
    std::string file = root.Write("Barn.ini", "[Room]\r\nName=Barn ; the barn\r\n");
    ToolResult get = RunTool({"ini-get", file, "room", "NAME"});
    EXPECT_EQ(get.code, 0);
    EXPECT_EQ(get.out, "Barn\n");
    EXPECT_EQ(RunTool({"ini-get", file, "Room", "Missing", "fallback"}).out, "fallback\n");
    EXPECT_EQ(RunTool({"ini-get", file, "Room", "Missing"}).out, "");
    EXPECT_EQ(RunTool({"ini-get", root / "none.ini", "A", "B"}).code, 1);

    EXPECT_EQ(RunTool({"ini-set", file, "Room", "Score", "12"}).code, 0);
    EXPECT_EQ(root.Read("Barn.ini"), "[Room]\r\nName=Barn\r\nScore=12\r\n");
    // A new file is made; a value that would not read back is refused.
    EXPECT_EQ(RunTool({"ini-set", root / "new.ini", "S", "K", "V"}).code, 0);
    EXPECT_EQ(root.Read("new.ini"), "[S]\r\nK=V\r\n");
    ToolResult refused = RunTool({"ini-set", file, "Room", "Bad=Key", "1"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("Invalid arguement"), std::string::npos);
}

TEST(PimTool, ArchivesMadeByInfoZip)
{
    if (!HaveInfoZip())
        GTEST_SKIP() << "Info-ZIP's zip is not installed";
    TempFolder root;
    root.Write("data/Rooms/Barn.ini", "[Room]\nName=Barn\n");
    root.Write("data/big.txt", std::string(50000, 'x') + "end");
    std::string d = root / "data";
    std::string cmd = "cd '" + d + "' && zip -q -r -0 ../stored.zip . && zip -q -r -9 ../deflated.zip . && cd .. && " +
                      "printf 'leading stub' > sfx.zip && cat deflated.zip >> sfx.zip && zip -q -A sfx.zip";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (const char* archive : {"stored.zip", "deflated.zip", "sfx.zip"}) {
        SCOPED_TRACE(archive);
        ToolResult ls = RunTool({"ls", root / archive});
        EXPECT_EQ(ls.code, 0) << ls.err;
        EXPECT_NE(ls.out.find("50003\tbig.txt\n"), std::string::npos);
        EXPECT_NE(ls.out.find("17\tRooms/Barn.ini\n"), std::string::npos);
        ToolResult cat = RunTool({"cat", "--root", "I=" + (root / archive), "<I>big.txt"});
        EXPECT_EQ(cat.code, 0) << cat.err;
        EXPECT_EQ(cat.out.size(), 50003u);
        EXPECT_EQ(cat.out.substr(50000), "end");
    }
}
