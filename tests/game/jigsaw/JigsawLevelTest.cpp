// The jigsaw's room file and the pictures it may cut.
#include "game/jigsaw/JigsawLevel.h"

#include "PIM/core/CxError.h"
#include "PIM/files/CxOptions.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Load(CxOptions& options, const char* text)
{
    ASSERT_EQ(options.ReadFromBuffer(text, std::strlen(text)), PIM_OK);
}

TEST(JigsawLevelTest, TheRangeTakesDefaultsAndIsKeptSound)
{
    CxOptions room;
    Load(room, "");
    ST_JIGSAW_OPTIONS o = ReadJigsawOptions(room);
    EXPECT_EQ(o.firstLevel, 1);
    EXPECT_EQ(o.lastLevel, 1);
    EXPECT_TRUE(JigsawOptionsProblem(room).IsEmpty());

    Load(room, "[General]\nFirstLevel=2\nLastLevel=4\n");
    o = ReadJigsawOptions(room);
    EXPECT_EQ(o.firstLevel, 2);
    EXPECT_EQ(o.lastLevel, 4);

    Load(room, "[General]\nFirstLevel=5\nLastLevel=3\n");
    o = ReadJigsawOptions(room);
    EXPECT_EQ(o.lastLevel, 5);
    EXPECT_NE(std::strstr(JigsawOptionsProblem(room).GetText(), "LastLevel"), nullptr);

    Load(room, "[General]\nFirstLevel=-7\nLastLevel=2000000000\n");
    o = ReadJigsawOptions(room);
    EXPECT_EQ(o.firstLevel, 0);
    EXPECT_EQ(o.lastLevel, JIGSAW_MAX_PICTURE_NUMBER);
    EXPECT_FALSE(JigsawOptionsProblem(room).IsEmpty());
}

TEST(JigsawLevelTest, PictureNamesAndSizes)
{
    EXPECT_STREQ(JigsawPictureName(1).GetText(), "puzzle\\puzzle_01.tga");
    EXPECT_STREQ(JigsawPictureName(123).GetText(), "puzzle\\puzzle_123.tga");
    EXPECT_TRUE(JigsawPictureSizeProblem(3, 3).IsEmpty());
    EXPECT_TRUE(JigsawPictureSizeProblem(2048, 2048).IsEmpty());
    EXPECT_FALSE(JigsawPictureSizeProblem(2, 360).IsEmpty());
    EXPECT_FALSE(JigsawPictureSizeProblem(480, 2).IsEmpty());
    EXPECT_FALSE(JigsawPictureSizeProblem(3000, 360).IsEmpty());
    EXPECT_FALSE(JigsawPictureSizeProblem(480, 2049).IsEmpty());
}

} // namespace
