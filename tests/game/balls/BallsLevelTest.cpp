// The ball room's readers: kinds, levels, the refusals of hostile numbers,
// the writer's round trip, the tick pacing and the rolling frame.
#include "game/balls/BallsLevel.h"

#include "PIM/core/CxError.h"
#include "PIM/files/CxOptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

void Load(CxOptions& options, const char* text)
{
    ASSERT_EQ(options.ReadFromBuffer(text, std::strlen(text)), PIM_OK);
}

// The text parser never yields an infinity or a NaN, but the readers must
// not trust that: this store hands out one for a chosen key.
class CPoisonedOptions : public CxOptions
{
public:
    CPoisonedOptions(const char* section, const char* key) : m_section(section), m_key(key) {}

    int GetFloat(const char* section, const char* key, float* out, float defaultValue) override
    {
        const int code = CxOptions::GetFloat(section, key, out, defaultValue);
        if (out && m_section == section && m_key == key)
            *out = std::numeric_limits<float>::quiet_NaN();
        return code;
    }
    int GetVector(const char* section, const char* key, float* x, float* y, float* z, float dx, float dy,
                  float dz) override
    {
        const int code = CxOptions::GetVector(section, key, x, y, z, dx, dy, dz);
        if (y && m_section == section && m_key == key)
            *y = std::numeric_limits<float>::infinity();
        return code;
    }
    using CxOptions::GetFloat;

private:
    std::string m_section;
    std::string m_key;
};

std::vector<ST_BALL_KIND> TwoKinds()
{
    std::vector<ST_BALL_KIND> kinds(2);
    kinds[0].fileName = "ball.xni";
    kinds[1].fileName = "rock.xni";
    kinds[1].radius = 30.0f;
    kinds[1].mass = 5.0f;
    kinds[1].movable = false;
    kinds[1].breakable = 2;
    return kinds;
}

TEST(BallsLevelTest, OptionsTakeDefaultsAndClampTheTick)
{
    CxOptions room;
    Load(room, "");
    ST_BALLS_OPTIONS o = ReadBallsOptions(room);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.updateTime, 50);
    EXPECT_FLOAT_EQ(o.maxSpeed, 99999.0f);
    EXPECT_FLOAT_EQ(o.worldFriction, 1.0f);
    EXPECT_FLOAT_EQ(o.collisionDampen, 0.7f);
    EXPECT_EQ(o.mode, 2);
    EXPECT_TRUE(o.kinds.empty());

    Load(room, "[Options]\nUpdateTime=0\n");
    EXPECT_EQ(ReadBallsOptions(room).updateTime, BALLS_MIN_UPDATE_TIME);
    Load(room, "[Options]\nUpdateTime=99999999\n");
    EXPECT_EQ(ReadBallsOptions(room).updateTime, BALLS_MAX_UPDATE_TIME);
}

TEST(BallsLevelTest, KindsWithoutAUsableFileNameAreSkippedAndLaterOnesShiftDown)
{
    CxOptions room;
    Load(room, "[Options]\nNumBallTypes=3\n"
               "[BallType00]\nFileName=a.xni\nRadius=12\nMovable=0\nChangeDirection=0\n"
               "[BallType01]\nFileName=x\n"
               "[BallType02]\nFileName=c.xni\nStartPos=5, 6\n");
    const ST_BALLS_OPTIONS o = ReadBallsOptions(room);
    ASSERT_EQ(o.kinds.size(), 2u);
    EXPECT_EQ(o.skippedKinds, 1);
    EXPECT_STREQ(o.kinds[0].fileName.GetText(), "a.xni");
    EXPECT_FLOAT_EQ(o.kinds[0].radius, 12.0f);
    EXPECT_FALSE(o.kinds[0].movable);
    EXPECT_FALSE(o.kinds[0].changeDirection);
    EXPECT_STREQ(o.kinds[1].fileName.GetText(), "c.xni");
    EXPECT_EQ(o.kinds[1].section, 2);
    EXPECT_FLOAT_EQ(o.kinds[1].startPos.x, 5.0f);
    EXPECT_FLOAT_EQ(o.kinds[1].startPos.y, 6.0f);
    EXPECT_FLOAT_EQ(o.kinds[1].mass, 1.0f);
}

TEST(BallsLevelTest, ANonFiniteEngineKeyRefusesTheOptionsAndKeepsTheEngineDefaults)
{
    CPoisonedOptions room("Options", "WorldFriction");
    Load(room, "[Options]\nWorldFriction=0.5\nMaxSpeed=7\n");
    const ST_BALLS_OPTIONS o = ReadBallsOptions(room);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(std::string(o.error.GetText()).find("WorldFriction"), std::string::npos);
    EXPECT_FLOAT_EQ(o.worldFriction, 1.0f);
    EXPECT_FLOAT_EQ(o.maxSpeed, 99999.0f);
}

TEST(BallsLevelTest, BallsTakeTheirKindsValuesAndMovableOnesComeFirstInFileOrder)
{
    CxOptions level;
    Load(level, "[General]\nNumBalls=5\nGravity=2.5\n"
                "[Ball00]\nBallType=1\nStartPos=10, 20\nStartDir=3, 4, 0\n"
                "[Ball01]\nBallType=0\nStartPos=30, 40\nStartDir=1, 2, 0\nRadius=8\n"
                "[Ball02]\nBallType=7\n"
                "[Ball03]\nBallType=1\nMovable=1\nStartPos=50, 60\n"
                "[Ball04]\nBallType=-1\n");
    const ST_BALLS_LEVEL l = ReadBallsLevel(level, TwoKinds());
    ASSERT_TRUE(l.ok);
    EXPECT_FLOAT_EQ(l.gravity, 2.5f);
    EXPECT_EQ(l.skippedBalls, 2);
    ASSERT_EQ(l.balls.size(), 3u);
    // Ball01 and Ball03 move, Ball00 (a rock) does not.
    EXPECT_EQ(l.balls[0].section, 1);
    EXPECT_EQ(l.balls[1].section, 3);
    EXPECT_EQ(l.balls[2].section, 0);
    EXPECT_FLOAT_EQ(l.balls[0].radius, 8.0f);
    EXPECT_FLOAT_EQ(l.balls[0].velocity.x, 1.0f);
    EXPECT_FLOAT_EQ(l.balls[0].velocity.y, 2.0f);
    EXPECT_FLOAT_EQ(l.balls[1].radius, 30.0f);
    EXPECT_EQ(l.balls[1].breakable, 2);
    // An immovable ball never starts moving.
    EXPECT_FALSE(l.balls[2].movable);
    EXPECT_FLOAT_EQ(l.balls[2].velocity.x, 0.0f);
    EXPECT_FLOAT_EQ(l.balls[2].velocity.y, 0.0f);
    EXPECT_FLOAT_EQ(l.balls[2].position.x, 10.0f);
    EXPECT_EQ(l.balls[2].kind, 1);
}

TEST(BallsLevelTest, LinesAndAttractorsReadTheirWindowsFrictionAndRange)
{
    CxOptions level;
    Load(level, "[General]\nNumLines=3\nNumGravityPoints=2\n"
                "[Line00]\nLocation=1, 2, 300, 4\nColor=5\nPassThruAngle=90, 270, 0\nBounceFriction=0.25\n"
                "[Line01]\nPassThruAngle=0, 90, 0\nBounceFriction=-3\n"
                "[Line02]\nLocation=-999999, 0, 999999, 0\n"
                "[Gravity00]\nPosition=100, 200\nGravity=-4\nLength=50\nColor=1\n"
                "[Gravity01]\nPosition=1, 1\n");
    const ST_BALLS_LEVEL l = ReadBallsLevel(level, TwoKinds());
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.lines.size(), 3u);
    EXPECT_EQ(l.lines[0].p1, CxPoint(1, 2));
    EXPECT_EQ(l.lines[0].p2, CxPoint(300, 4));
    EXPECT_EQ(l.lines[0].color, 5);
    EXPECT_NEAR(l.lines[0].passLo, 1.5707963f, 1e-6f);
    EXPECT_NEAR(l.lines[0].passHi, 4.712389f, 1e-6f);
    EXPECT_FLOAT_EQ(l.lines[0].bounceFriction, 0.25f);
    // A window with a zero end is an ordinary wall; a negative friction
    // keeps the wall's own.
    EXPECT_EQ(l.lines[1].passLo, 0.0f);
    EXPECT_EQ(l.lines[1].passHi, 0.0f);
    EXPECT_FLOAT_EQ(l.lines[1].bounceFriction, 0.8f);
    EXPECT_EQ(l.lines[1].p1, CxPoint(0, 0));
    EXPECT_EQ(l.lines[1].p2, CxPoint(-1, -1));
    EXPECT_EQ(l.lines[2].p1.x, -BALLS_COORDINATE_LIMIT);
    EXPECT_EQ(l.lines[2].p2.x, BALLS_COORDINATE_LIMIT);

    ASSERT_EQ(l.attractors.size(), 2u);
    EXPECT_EQ(l.attractors[0].position, CxPoint(100, 200));
    EXPECT_FLOAT_EQ(l.attractors[0].strength, -4.0f);
    EXPECT_FLOAT_EQ(l.attractors[0].range, 50.0f);
    EXPECT_FLOAT_EQ(l.attractors[1].strength, 10.0f);
    EXPECT_FLOAT_EQ(l.attractors[1].range, 0.0f);
    EXPECT_EQ(l.attractors[1].color, -1);
}

TEST(BallsLevelTest, HostileNumbersRefuseTheLevelNamingSectionAndKey)
{
    CPoisonedOptions level("Ball03", "Radius");
    Load(level, "[General]\nNumBalls=4\n[Ball00]\nBallType=0\n[Ball03]\nBallType=0\nRadius=5\n");
    ST_BALLS_LEVEL l = ReadBallsLevel(level, TwoKinds());
    EXPECT_FALSE(l.ok);
    EXPECT_STREQ(l.error.GetText(), "Ball03: Radius is not a finite number");
    EXPECT_TRUE(l.balls.empty());

    CPoisonedOptions line("Line00", "PassThruAngle");
    Load(line, "[General]\nNumLines=1\n");
    l = ReadBallsLevel(line, TwoKinds());
    EXPECT_FALSE(l.ok);
    EXPECT_STREQ(l.error.GetText(), "Line00: PassThruAngle is not a finite number");
    EXPECT_TRUE(l.lines.empty());

    CxOptions negative;
    Load(negative, "[General]\nNumBalls=1\n[Ball00]\nBallType=0\nMass=-1\n");
    l = ReadBallsLevel(negative, TwoKinds());
    EXPECT_FALSE(l.ok);
    EXPECT_STREQ(l.error.GetText(), "Ball00: Mass is negative");

    // Finite but huge: squares of it would overflow inside the engine.
    CxOptions huge;
    Load(huge, "[General]\nNumBalls=1\n[Ball00]\nBallType=0\nStartDir=0, -3e7, 0\n");
    l = ReadBallsLevel(huge, TwoKinds());
    EXPECT_FALSE(l.ok);
    EXPECT_STREQ(l.error.GetText(), "Ball00: StartDir is beyond 1e+06");
}

TEST(BallsLevelTest, CountsAreCappedAndNegativeCountsAreNone)
{
    CxOptions level;
    Load(level, "[General]\nNumBalls=-5\nNumLines=1000000\nNumGravityPoints=-1\n");
    const ST_BALLS_LEVEL l = ReadBallsLevel(level, TwoKinds());
    EXPECT_TRUE(l.capped);
    EXPECT_TRUE(l.balls.empty());
    EXPECT_EQ(l.lines.size(), static_cast<size_t>(BALLS_MAX_LINES));
    EXPECT_TRUE(l.attractors.empty());
}

TEST(BallsLevelTest, WrittenLevelsReadBackTheSameBallsAndLines)
{
    std::vector<ST_BALLS_BALL> balls(2);
    balls[0].position = {100, 200, 0};
    balls[0].radius = 20.0f;
    balls[0].mass = 1.0f / 30.0f;
    balls[1].position = {-40, 7, 0};
    balls[1].radius = 33.5f;
    balls[1].mass = 4.0f;
    balls[1].movable = false;
    std::vector<ST_BALLS_LINE> lines(2);
    lines[0].p1 = {0, 0};
    lines[0].p2 = {800, 0};
    lines[0].color = 3;
    lines[0].passLo = 1.0f;
    lines[0].passHi = 2.0f;
    lines[0].bounceFriction = 0.5f;
    lines[1].p1 = {10, 600};
    lines[1].p2 = {10, -5};

    CxOptions out;
    // A stale ball beyond the new count must not survive.
    Load(out, "[General]\nNumBalls=9\n[Ball08]\nBallType=0\n");
    WriteBallsLevel(out, balls, lines);
    EXPECT_EQ(out.FindSection("Ball08"), nullptr);

    const ST_BALLS_LEVEL l = ReadBallsLevel(out, TwoKinds());
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.balls.size(), 2u);
    for (size_t i = 0; i < balls.size(); ++i) {
        EXPECT_EQ(l.balls[i].kind, 0);
        EXPECT_FLOAT_EQ(l.balls[i].position.x, balls[i].position.x);
        EXPECT_FLOAT_EQ(l.balls[i].position.y, balls[i].position.y);
        EXPECT_FLOAT_EQ(l.balls[i].radius, balls[i].radius);
        EXPECT_FLOAT_EQ(l.balls[i].mass, balls[i].mass);
        EXPECT_EQ(l.balls[i].movable, balls[i].movable);
        EXPECT_FLOAT_EQ(l.balls[i].velocity.x, 0.0f);
    }
    ASSERT_EQ(l.lines.size(), 2u);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(l.lines[i].p1, lines[i].p1);
        EXPECT_EQ(l.lines[i].p2, lines[i].p2);
        EXPECT_EQ(l.lines[i].color, lines[i].color);
        EXPECT_NEAR(l.lines[i].passLo, lines[i].passLo, 1e-6f);
        EXPECT_NEAR(l.lines[i].passHi, lines[i].passHi, 1e-6f);
        EXPECT_FLOAT_EQ(l.lines[i].bounceFriction, lines[i].bounceFriction);
    }
}

TEST(BallsLevelTest, TicksKeepTheirPaceWhateverTheFrameRate)
{
    // 16 ms frames: a tick on frames 4, 7, 10, ... as the debt builds up.
    std::vector<int> ticked;
    uint32_t last = 0;
    for (int frame = 1; frame <= 26; ++frame) {
        if (BallsTickDue(static_cast<uint32_t>(frame * 16), last, 50)) {
            last += 50;
            ticked.push_back(frame);
        }
    }
    EXPECT_EQ(ticked, (std::vector<int>{4, 7, 10, 13, 16, 19, 22, 26}));

    // Slower frames than the tick: exactly one tick each, never more.
    last = 0;
    for (int frame = 1; frame <= 20; ++frame) {
        EXPECT_TRUE(BallsTickDue(static_cast<uint32_t>(frame * 60), last, 50)) << frame;
        last += 50;
    }
    EXPECT_FALSE(BallsTickDue(50, 0, 50));
    EXPECT_FALSE(BallsTickDue(10, 100, 50));
}

TEST(BallsLevelTest, ARollingBallTurnsAFrameEveryTenPixels)
{
    EXPECT_EQ(BallsRollFrame(25, 0, 8) - BallsRollFrame(0, 0, 8), 2);
    EXPECT_EQ(BallsRollFrame(70, 10, 8), 0);
    EXPECT_EQ(BallsRollFrame(5, 5, 0), 0);
    for (int x = -100; x <= 100; x += 7) {
        const int frame = BallsRollFrame(x, -55, 6);
        EXPECT_GE(frame, 0);
        EXPECT_LT(frame, 6);
    }
    EXPECT_STREQ(BallsLevelFileName(12).GetText(), "level12.ini");
}

} // namespace
