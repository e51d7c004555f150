// The pig pen's room file reader: the defaults of an empty file, hostile
// values clamped, icon patterns filled in safely, and the saved decoration
// keys of a player.
#include "PIM/files/CxOptions.h"
#include "game/pigpen/PigPenLevel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

namespace {

ST_PIGPEN_SETUP ReadText(const char* text)
{
    CxOptions options;
    EXPECT_EQ(options.ReadFromBuffer(text, std::strlen(text)), PIM_OK);
    return ReadPigPenSetup(options);
}

TEST(PigPenLevelTest, AnEmptyFileGivesTheDefaults)
{
    const ST_PIGPEN_SETUP s = ReadText("");
    EXPECT_EQ(s.neutralPercent, 10);
    EXPECT_TRUE(s.locked.IsEmpty());
    EXPECT_EQ(s.iconStart, CxPoint(300, 500));
    EXPECT_EQ(s.maxIcons, 1);
    EXPECT_EQ(s.bowlStates, 1);
    EXPECT_STREQ(s.pumpFile.GetText(), "pump.xni");
    EXPECT_EQ(s.foodBin, CxRect(0, 0, 0, 0));
    for (const auto& items : s.items)
        EXPECT_TRUE(items.empty());
}

TEST(PigPenLevelTest, HostileValuesAreClamped)
{
    const ST_PIGPEN_SETUP s = ReadText("[General]\n"
                                       "NeutralPercent=99\n"
                                       "MaxUIIcons=0\n"
                                       "UIIconStartPosition=99999,-99999\n"
                                       "[Pig]\nEatFoodFrame=-4\nDrinkFrame=2000000000\n"
                                       "[Bowl]\nStates=0\n"
                                       "[Meter]\np1=50,400\np2=40,100\n"
                                       "[Pet_Rump]\np1=-70000,5\np2=3,70000\n"
                                       "[UI00]\nNumItems=100000\n"
                                       "[UI01]\nNumItems=-3\n"
                                       "[Item000]\nID=1000\nType=2000000000\n"
                                       "[Item001]\nID=-7\n"
                                       "[Item002]\nID=12\n");
    EXPECT_EQ(s.neutralPercent, PIG_NEUTRAL_MAX);
    EXPECT_EQ(s.maxIcons, 1);
    EXPECT_EQ(s.iconStart, CxPoint(16384, -16384));
    EXPECT_EQ(s.eatFoodFrame, 0);
    EXPECT_EQ(s.drinkFrame, PIG_FRAME_MAX);
    EXPECT_EQ(s.bowlStates, 1);
    // Corners in either order make the same rectangle.
    EXPECT_EQ(s.meter, CxRect(40, 100, 50, 400));
    EXPECT_EQ(s.petAreas[3], CxRect(-16384, 5, 3, 16384));
    ASSERT_EQ(s.items[0].size(), size_t(PIG_ITEMS_MAX));
    EXPECT_TRUE(s.items[1].empty());
    EXPECT_EQ(s.items[0][0].id, -1);
    EXPECT_EQ(s.items[0][0].type, PIG_ITEM_VALUE_MAX);
    EXPECT_EQ(s.items[0][1].id, -1);
    EXPECT_EQ(s.items[0][2].id, 12);
    EXPECT_EQ(ReadText("[General]\nNeutralPercent=-50\n").neutralPercent, 0);
}

TEST(PigPenLevelTest, ItemsAreReadPerCategoryWithTheirIconsNumberedFromOne)
{
    const ST_PIGPEN_SETUP s = ReadText("[General]\nLocked=G10_lock%02d.tga\nMaxUIIcons=3\n"
                                       "[UI02]\nNumItems=2\n"
                                       "[Item200]\nName=brush_%d.tga\nDrag=brush.tga\nType=3\nStateIndex=9\n"
                                       "[Item201]\nName=comb.tga\nSubCategory=4\nID=5\nUnlockOrder=2\n"
                                       "[Floor]\nPosition=10,20\n[Wall3]\nPosition=30,40\n"
                                       "[NextUIButton]\nFileName=next.tga\nPosition=700,500\n");
    EXPECT_EQ(s.maxIcons, 3);
    ASSERT_EQ(s.items[2].size(), 2u);
    const ST_PIGPEN_ITEM& brush = s.items[2][0];
    EXPECT_STREQ(brush.icon.GetText(), "brush_1.tga");
    EXPECT_STREQ(brush.lockedIcon.GetText(), "G10_lock01.tga");
    EXPECT_STREQ(brush.drag.GetText(), "brush.tga");
    EXPECT_EQ(brush.type, PIG_ACTION_BRUSH);
    EXPECT_EQ(brush.stateIndex, PIG_STATE_HEAD);
    EXPECT_EQ(brush.id, -1);
    const ST_PIGPEN_ITEM& comb = s.items[2][1];
    EXPECT_STREQ(comb.icon.GetText(), "comb.tga");
    EXPECT_EQ(comb.subCategory, PIG_SUB_BED);
    EXPECT_EQ(comb.id, 5);
    EXPECT_EQ(comb.unlockOrder, 2);
    EXPECT_TRUE(PigItemLocked(1, comb.unlockOrder));
    EXPECT_EQ(s.decorPositions[PIG_DECOR_FLOOR - PIG_DECOR_WALL1], CxPoint(10, 20));
    EXPECT_EQ(s.decorPositions[PIG_DECOR_WALL3 - PIG_DECOR_WALL1], CxPoint(30, 40));
    EXPECT_STREQ(s.buttons[PIG_BUTTON_NEXT].fileName.GetText(), "next.tga");
    EXPECT_EQ(s.buttons[PIG_BUTTON_NEXT].position, CxPoint(700, 500));
}

TEST(PigPenLevelTest, IconPatternsFillInOneNumberAndNothingElse)
{
    const std::string longName(400, 'a');
    const std::string text = "[General]\nLocked=%s%n%d\n"
                             "[UI00]\nNumItems=3\n"
                             "[Item000]\nName=%d_%d.tga\n"
                             "[Item001]\nName=%s.tga\n"
                             "[Item002]\nName=" +
                             longName + "%d\n";
    const ST_PIGPEN_SETUP s = ReadText(text.c_str());
    ASSERT_EQ(s.items[0].size(), 3u);
    EXPECT_STREQ(s.items[0][0].icon.GetText(), "1_%d.tga");
    EXPECT_STREQ(s.items[0][1].icon.GetText(), "%s.tga");
    EXPECT_STREQ(s.items[0][1].lockedIcon.GetText(), "%s%n2");
    // Long names are cut before the pattern is filled in.
    EXPECT_EQ(s.items[0][2].icon.Length(), PIG_TEXT_MAX);
}

TEST(PigPenLevelTest, DecorationKeysReadAsIdsOrNone)
{
    std::map<std::string, int> keys{{"PigWall9", 4}, {"PigFloor", 1000}, {"PigBed", 0}, {"PigArch", -20}};
    const PigDecorIds ids = ReadPigDecorIds([&](const char* key, int fallback) {
        const auto found = keys.find(key);
        return found == keys.end() ? fallback : found->second;
    });
    EXPECT_EQ(ids, (PigDecorIds{-1, 4, -1, -1, 0, -1}));
}

} // namespace
