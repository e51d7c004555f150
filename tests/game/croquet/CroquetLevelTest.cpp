// Croquet's own keys of the room file and a level file: defaults, caps and
// the numbers mended so the room never meets a hostile one.
#include "game/croquet/CroquetLevel.h"

#include "PIM/core/CxError.h"
#include "PIM/files/CxOptions.h"
#include "game/balls/BallsLevel.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

void Load(CxOptions& options, const char* text)
{
    ASSERT_EQ(options.ReadFromBuffer(text, std::strlen(text)), PIM_OK);
}

TEST(CroquetLevelTest, RoomKeysTakeDefaultsAndAreKeptInRange)
{
    CxOptions room;
    Load(room, "");
    ST_CROQUET_OPTIONS o = ReadCroquetOptions(room);
    EXPECT_EQ(o.numCharTypes, 1);
    EXPECT_EQ(o.numWicketTypes, 1);
    EXPECT_FLOAT_EQ(o.worldFriction, 0.999f);
    EXPECT_FLOAT_EQ(o.gumFriction, 0.001f);
    EXPECT_EQ(o.maxNumShots, 7);
    EXPECT_EQ(o.loseWaitTime, 2000);
    EXPECT_EQ(o.ratHitBallFrame, -1);
    EXPECT_STREQ(o.mudSfx.GetText(), "blank.wav");

    Load(room, "[Options]\nMaxNumShots=500\nGumFriction=-1\nWorldFriction=inf\nNumWaterTypes=2\n"
               "LoseWaitTime=-5\nNumFoodTypes=99999\nCharHomePos=5000000, -7\n"
               "[WaterType00]\nFileName=up.xni\n[WaterType01]\nFileName=down.xni\n");
    o = ReadCroquetOptions(room);
    EXPECT_EQ(o.maxNumShots, CROQUET_MAX_SHOTS);
    EXPECT_FLOAT_EQ(o.gumFriction, CROQUET_MIN_FRICTION);
    EXPECT_GE(o.worldFriction, CROQUET_MIN_FRICTION);
    EXPECT_EQ(o.loseWaitTime, 0);
    EXPECT_EQ(o.numFoodTypes, CROQUET_MAX_TYPES);
    EXPECT_EQ(o.charHomePos, CxPoint(BALLS_COORDINATE_LIMIT, -7));
    ASSERT_EQ(o.waterFiles.size(), 2u);
    EXPECT_STREQ(o.waterFiles[1].GetText(), "down.xni");

    Load(room, "[Options]\nMaxNumShots=0\n");
    EXPECT_EQ(ReadCroquetOptions(room).maxNumShots, 1);
}

TEST(CroquetLevelTest, LevelPlacesAreReadWithTheirTypesMended)
{
    CxOptions level;
    Load(level, "[General]\nBackground=lawn.tga\nNumShots=-3\nNumWickets=3\nNumWaters=2\nNumGumLoc=1\n"
                "NumBumpers=1\nNumMudLoc=100000\n"
                "[Hole]\nLocation=600, 400\n"
                "[Golfer]\nLocation=50, 60\nBallOffset=30, 70\n"
                "[Wicket00]\nPos=100, 100\nWicketType=1\n[Wicket01]\nWicketType=2\n[Wicket02]\nWicketType=-1\n"
                "[Water00]\nPos=1, 2\nWaterType=3\n[Water01]\nWaterType=4\n"
                "[GumLoc00]\nPos=7, 8\n"
                "[Bumper00]\nFileName=bush.xni\nLocation=9, 10\n");
    const ST_CROQUET_LEVEL l = ReadCroquetLevel(level, 2);
    EXPECT_STREQ(l.background.GetText(), "lawn.tga");
    EXPECT_EQ(l.numShots, 1);
    EXPECT_EQ(l.hole, CxPoint(600, 400));
    EXPECT_EQ(l.golferLocation, CxPoint(50, 60));
    EXPECT_EQ(l.ballOffset, CxPoint(30, 70));
    ASSERT_EQ(l.wickets.size(), 3u);
    EXPECT_EQ(l.wickets[0].pos, CxPoint(100, 100));
    EXPECT_EQ(l.wickets[0].type, 1);
    EXPECT_EQ(l.wickets[1].type, 0); // only two templates
    EXPECT_EQ(l.wickets[2].type, 0);
    ASSERT_EQ(l.waters.size(), 2u);
    EXPECT_EQ(l.waters[0].type, 3);
    EXPECT_EQ(l.waters[1].type, 0);
    ASSERT_EQ(l.gums.size(), 1u);
    EXPECT_EQ(l.gums[0], CxPoint(7, 8));
    EXPECT_EQ(l.muds.size(), static_cast<size_t>(CROQUET_MAX_PLACES));
    ASSERT_EQ(l.bumpers.size(), 1u);
    EXPECT_STREQ(l.bumpers[0].fileName.GetText(), "bush.xni");
    EXPECT_EQ(l.bumpers[0].location, CxPoint(9, 10));

    Load(level, "[General]\nNumShots=99\n");
    EXPECT_EQ(ReadCroquetLevel(level, 1).numShots, CROQUET_MAX_SHOTS);
}

TEST(CroquetLevelTest, APlayableLevelStartsWithAMovableBall)
{
    ST_BALLS_LEVEL balls;
    EXPECT_FALSE(CroquetLevelProblem(balls).IsEmpty());
    balls.balls.resize(2);
    balls.balls[0].movable = false;
    EXPECT_FALSE(CroquetLevelProblem(balls).IsEmpty());
    balls.balls[0].movable = true;
    EXPECT_TRUE(CroquetLevelProblem(balls).IsEmpty());
    balls.ok = false;
    balls.error = "Ball00: Radius is negative";
    EXPECT_STREQ(CroquetLevelProblem(balls).GetText(), "Ball00: Radius is negative");
}

} // namespace
