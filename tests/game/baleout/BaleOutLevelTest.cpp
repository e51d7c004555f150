// The level file reader: whatever the bytes, the board has one pig, only
// file codes, goals as 10 and nothing standing on anything.
#include "game/baleout/BaleOutLevel.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int CountOf(const ST_BALE_LEVEL& level, uint8_t code)
{
    int n = 0;
    for (uint8_t c : level.cells)
        n += c == code;
    return n;
}

TEST(BaleOutLevelTest, AShortFileIsFloorBeyondItsEndAndALongOneIsCut)
{
    const uint8_t bytes[] = {BALE_PIG, BALE_BALE, BALE_GOAL};
    ST_BALE_LEVEL level = ReadBaleLevel(bytes, sizeof bytes);
    EXPECT_TRUE(level.shortFile);
    EXPECT_FALSE(level.pigPlaced);
    EXPECT_EQ(level.cells[0], BALE_PIG);
    EXPECT_EQ(level.cells[2], BALE_GOAL);
    EXPECT_EQ(CountOf(level, BALE_FLOOR), BALE_CELLS - 3);

    std::vector<uint8_t> longer(BALE_CELLS + 10, BALE_BLOCK);
    longer[5] = BALE_PIG;
    longer[BALE_CELLS] = BALE_PIG; // past the board: never read
    level = ReadBaleLevel(longer.data(), longer.size());
    EXPECT_TRUE(level.longFile);
    EXPECT_EQ(level.extraPigs, 0);
    EXPECT_EQ(CountOf(level, BALE_BLOCK), BALE_CELLS - 1);

    level = ReadBaleLevel(nullptr, 0);
    EXPECT_TRUE(level.pigPlaced);
    EXPECT_EQ(level.cells[BaleIndex({6, 6})], BALE_PIG);
    EXPECT_EQ(CountOf(level, BALE_FLOOR), BALE_CELLS - 1);
}

TEST(BaleOutLevelTest, CodesOutsideTheTableAndPiecesOnCellsBecomeFloor)
{
    std::vector<uint8_t> bytes(BALE_CELLS, BALE_FLOOR);
    bytes[0] = BALE_PIG;
    bytes[1] = BALE_GOAL_OLD;
    bytes[2] = 5;
    bytes[3] = 12;  // a bale on a goal
    bytes[4] = 21;  // the pig on ice
    bytes[5] = BALE_DOOR_OPEN;
    bytes[6] = 255;
    bytes[7] = BALE_HINT;
    const ST_BALE_LEVEL level = ReadBaleLevel(bytes.data(), bytes.size());
    EXPECT_EQ(level.cells[1], BALE_GOAL);
    for (int i = 2; i <= 6; ++i)
        EXPECT_EQ(level.cells[i], BALE_FLOOR) << i;
    EXPECT_EQ(level.cells[7], BALE_HINT);
    EXPECT_EQ(level.unknownCodes, 5);
    EXPECT_EQ(CountOf(level, BALE_PIG), 1);
}

TEST(BaleOutLevelTest, TheFirstPigWinsAndAMissingPigStandsAtSixSix)
{
    std::vector<uint8_t> bytes(BALE_CELLS, BALE_FLOOR);
    bytes[10] = BALE_PIG;
    bytes[20] = BALE_PIG;
    bytes[30] = BALE_PIG;
    ST_BALE_LEVEL level = ReadBaleLevel(bytes.data(), bytes.size());
    EXPECT_EQ(level.cells[10], BALE_PIG);
    EXPECT_EQ(CountOf(level, BALE_PIG), 1);
    EXPECT_EQ(level.extraPigs, 2);

    // No pig: (6, 6) is cleared for it, whatever stood there.
    bytes.assign(BALE_CELLS, BALE_BLOCK);
    level = ReadBaleLevel(bytes.data(), bytes.size());
    EXPECT_TRUE(level.pigPlaced);
    EXPECT_EQ(level.cells[BaleIndex({6, 6})], BALE_PIG);
    EXPECT_EQ(CountOf(level, BALE_BLOCK), BALE_CELLS - 1);

    // The model takes the mended board as it is.
    CBaleOutModel model;
    model.Load(level);
    EXPECT_EQ(model.PigCell(), CxPoint(6, 6));
    EXPECT_EQ(model.CheckInvariants(), nullptr);
    EXPECT_EQ(model.FloorPieces().size(), size_t(BALE_CELLS - 1));
}

TEST(BaleOutLevelTest, TheFileNameHasTwoDigits)
{
    EXPECT_STREQ(BaleLevelFileName(7).GetText(), "sLevel07.skc");
    EXPECT_STREQ(BaleLevelFileName(12).GetText(), "sLevel12.skc");
}

} // namespace
