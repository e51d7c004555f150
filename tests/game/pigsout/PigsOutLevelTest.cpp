// The pig run's level reader on hostile bytes, and the room file's keys.
#include "PIM/files/CxOptions.h"
#include "game/pigsout/PigsOutLevel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void Put(std::vector<uint8_t>& bytes, int32_t x, int32_t tick, int32_t type)
{
    for (int32_t value : {x, tick, type})
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

TEST(PigsOutLevelTest, RecordsAreCappedCutAtTheEndAndMendedWhereTheGameCannotTakeThem)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 501; ++i)
        Put(bytes, 10, i, 1);
    const ST_PIGS_LEVEL full = ReadPigsOutLevel(bytes.data(), 6012);
    EXPECT_EQ(full.ObjectCount(), 500u);
    EXPECT_TRUE(full.tooLong);
    EXPECT_TRUE(full.endAdded);
    EXPECT_EQ(full.records.back().type, PIGS_END_TYPE);

    const ST_PIGS_LEVEL thirteen = ReadPigsOutLevel(bytes.data(), 13);
    EXPECT_EQ(thirteen.ObjectCount(), 1u);
    EXPECT_TRUE(thirteen.partRecord);

    bytes.clear();
    Put(bytes, -5000, 0, 16);   // no template: dropped
    Put(bytes, 5000, 5, 2);     // clamped
    Put(bytes, 0, 3, 18);
    Put(bytes, 0, 9, 1);        // after the end: never read
    const ST_PIGS_LEVEL mended = ReadPigsOutLevel(bytes.data(), bytes.size());
    ASSERT_EQ(mended.records.size(), 2u);
    EXPECT_EQ(mended.records[0].x, PIGS_MAX_X);
    EXPECT_EQ(mended.records[1].type, PIGS_END_TYPE);
    EXPECT_EQ(mended.droppedTypes, std::vector<size_t>{0});
    EXPECT_EQ(mended.firstDescending, 2u);
    EXPECT_FALSE(mended.endAdded);
    EXPECT_EQ(PigsOutLevelProblems(mended).size(), 3u);

    const ST_PIGS_LEVEL none = ReadPigsOutLevel(nullptr, 0);
    ASSERT_EQ(none.records.size(), 1u);
    EXPECT_EQ(none.records[0].type, PIGS_END_TYPE);
}

TEST(PigsOutLevelTest, RoomKeysSwapReversedEdgesAndKeepPassScoresAtOrAboveZero)
{
    const char* text = "[General]\nLeftEdge=600\nRightEdge=40\nPigPos=320,380\n[Level01]\nPassScore=-4\n"
                       "[Level02]\nPassScore=9\n";
    CxOptions room;
    ASSERT_EQ(room.ReadFromBuffer(text, std::strlen(text)), PIM_OK);
    const ST_PIGS_OPTIONS options = ReadPigsOutOptions(room);
    EXPECT_EQ(options.leftEdge, 40);
    EXPECT_EQ(options.rightEdge, 600);
    EXPECT_TRUE(options.edgesSwapped);
    EXPECT_EQ(options.pigPos, (CxPoint{320, 380}));
    EXPECT_EQ(options.farmerPos, (CxPoint{0, 0}));
    EXPECT_EQ(ReadPigsOutPassScore(room, 1), 0);
    EXPECT_EQ(ReadPigsOutPassScore(room, 2), 9);
    EXPECT_EQ(ReadPigsOutPassScore(room, 0), 0);
}

} // namespace
