// The pig run's rules on fake sprite facts: presses and what follows each
// state, obstacles by state, specials, food and lives, motion, steering, the
// meter, the level's end and the loss's pause, the farmer's bounds.
#include "game/pigsout/PigsOutModel.h"
#include "tests/game/pigsout/PigOutFakeFacts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class PigsOutModelTest : public ::testing::Test
{
protected:
    PigsOutModelTest()
    {
        options.leftEdge = 0;
        options.rightEdge = 700;
        options.pigPos = {100, 300};
        options.farmerPos = {300, 450};
    }
    void Build(const ST_PIGS_LEVEL& level, int pass = 0)
    {
        model.Build(options, level, pass, 0, 0);
        model.ClearCues();
    }
    bool Has(EPigCue kind, int a = -1) const
    {
        return std::any_of(model.Cues().begin(), model.Cues().end(),
                           [&](const ST_PIG_CUE& c) { return c.kind == kind && (a < 0 || c.a == a); });
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            model.Tick();
    }
    // One object of `type` met at the pig's depth frame with the pig in `state`.
    void Meet(int type, int state)
    {
        Build(PigOutTable({{300, 0, type}}), 0);
        model.SetPigState(state);
        facts.hitAll = true;
        model.Tick(); // spawned
        model.ClearCues();
        for (int i = 0; i < 80 && model.GetLiveCount() > 0 && model.GetObject(0).frame != model.GetDepthFrame(); ++i) {
            model.ClearCues();
            model.Tick();
        }
    }

    PigOutFakeFacts facts;
    ST_PIGS_OPTIONS options;
    CPigOutModel model{facts};
};

TEST(PigsOutFamiliesTest, GroupsFamiliesAndDepthFrames)
{
    EXPECT_EQ(PigFamily(7), EPigFamily::Trip);
    EXPECT_EQ(PigGroup(7), 1);
    EXPECT_EQ(PigFamily(21), EPigFamily::ThirdHighJump);
    EXPECT_EQ(PigGroup(26), 2);
    EXPECT_EQ(PigStateOf(EPigFamily::SecondJump, 2), 17);
    for (int s : {0, 4, 8, 12, 14, 16, 18, 20, 22})
        EXPECT_TRUE(PigIsRunning(s)) << s;
    for (int s : {1, 2, 3, 13, 19, 24})
        EXPECT_FALSE(PigIsRunning(s)) << s;
}

TEST_F(PigsOutModelTest, PressesJumpAndJumpHighAndEachStateIsFollowedWhenItEnds)
{
    Build(PigOutTable({{300, 5000, 0}}));
    model.Press();
    EXPECT_EQ(model.GetPigState(), 1);
    EXPECT_EQ(model.GetPig().y, 300);
    model.Press();
    EXPECT_EQ(model.GetPigState(), 2);
    EXPECT_EQ(model.GetPig().y, 150);
    model.Press();
    EXPECT_EQ(model.GetPigState(), 2);
    model.SetPigState(18);
    model.Press();
    EXPECT_EQ(model.GetPigState(), 19);
    EXPECT_EQ(model.GetPig().y, 150);
    model.SetPigState(13);
    model.Press();
    EXPECT_EQ(model.GetPigState(), 13);

    // state ended -> state followed, lives lost, y change
    const struct { int from, to, livesLost, down; } follows[] = {
        {3, 4, 1, 0}, {7, 4, 1, 0}, {11, 0, 1, 0}, {24, 0, 0, 0}, {25, 4, 0, 0}, {26, 8, 0, 0},
        {2, 0, 0, 150}, {19, 18, 0, 150}, {23, 22, 0, 150}, {13, 12, 0, 0}, {17, 16, 0, 0}, {9, 8, 0, 0}};
    facts.pigStopped = true;
    for (const auto& f : follows) {
        SCOPED_TRACE(f.from);
        Build(PigOutTable({{300, 5000, 0}}));
        model.SetPigState(f.from);
        const int y = model.GetPig().y;
        model.Tick();
        EXPECT_EQ(model.GetPigState(), f.to);
        EXPECT_EQ(model.GetLives(), PIGS_START_LIVES - f.livesLost);
        EXPECT_EQ(model.GetPig().y, y + f.down);
        EXPECT_TRUE(Has(EPigCue::PigRate, 24));
    }
}

TEST_F(PigsOutModelTest, ObstaclesTripByTheirHeightAndThePigsState)
{
    // type, state, outcome: 0 cleared, 1 trip (sound), 2 quiet trip
    const struct { int type, state, outcome; } cases[] = {
        {4, 0, 1}, {4, 1, 0}, {7, 1, 1}, {7, 2, 0}, {10, 2, 1}, {4, 19, 0}, {7, 19, 2}, {4, 12, 2},
        {10, 13, 2}, {4, 3, 0}, {7, 7, 0}, {10, 11, 0}, {10, 24, 0}, {10, 25, 0}, {12, 26, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type << " state " << c.state);
        Meet(c.type, c.state);
        const int trip = PigStateOf(EPigFamily::Trip, PigGroup(c.state));
        if (c.outcome == 0) {
            EXPECT_EQ(model.GetPigState(), c.state);
        } else {
            EXPECT_EQ(model.GetPigState(), trip);
            EXPECT_EQ(Has(EPigCue::HitSequence), c.outcome == 1);
            EXPECT_EQ(Has(EPigCue::Sound, static_cast<int>(EPigSound::Trip)), c.outcome == 1);
        }
        // A trip from a raised jump puts the pig back on the road.
        EXPECT_EQ(model.GetPig().y, options.pigPos.y - (c.outcome == 0 && (c.state == 2 || c.state == 19) ? 150 : 0));
    }
}

TEST_F(PigsOutModelTest, SpecialsCountOnlyFromTheFirstRunAndTheDepthFrameFollowsTheRun)
{
    Meet(13, 4);
    EXPECT_EQ(model.GetPigState(), 24);
    EXPECT_EQ(model.GetLives(), 4);
    EXPECT_EQ(model.GetSpeed(), PIGS_SPEED_FAST);
    EXPECT_EQ(model.GetDepthFrame(), 5); // kept through the bonus
    Meet(13, 8);
    EXPECT_EQ(model.GetPigState(), 26);
    EXPECT_EQ(model.GetLives(), 3);
    Meet(14, 0);
    EXPECT_EQ(model.GetPigState(), 14);
    EXPECT_TRUE(Has(EPigCue::Sound, static_cast<int>(EPigSound::SecondRunVoice)));
    Meet(15, 8);
    EXPECT_EQ(model.GetPigState(), 18);
    Meet(14, 12); // not from a second run
    EXPECT_EQ(model.GetPigState(), 12);
    EXPECT_EQ(model.GetLiveCount(), 1);

    Build(PigOutTable({{300, 5000, 0}}));
    model.SetPigState(4);
    EXPECT_EQ(model.GetDepthFrame(), 5);
    model.Press();
    EXPECT_EQ(model.GetDepthFrame(), 5); // jumping from 4
    model.SetPigState(8);
    EXPECT_EQ(model.GetDepthFrame(), 2);
}

TEST_F(PigsOutModelTest, FoodGivesALifeEachThreeAbovePassScore)
{
    for (int doubled = 0; doubled < 2; ++doubled) {
        ST_PIGS_LEVEL level;
        for (int i = 0; i < 16; ++i)
            level.records.push_back({300, i * 10, 0});
        level.records.push_back({});
        Build(level, 10);
        facts.hitAll = true;
        if (doubled)
            model.SetPigState(12);
        std::vector<int> lifeAt;
        int lives = model.GetLives(), food = 0;
        for (int t = 0; t < 400 && food < (doubled ? 9 : 16); ++t) {
            const int before = model.GetCollected();
            model.Tick();
            if (model.GetCollected() != before)
                ++food;
            if (model.GetLives() > lives)
                lifeAt.push_back(food);
            lives = model.GetLives();
        }
        EXPECT_EQ(lifeAt, doubled ? std::vector<int>({7, 8}) : std::vector<int>({13, 16}));
    }
}

TEST_F(PigsOutModelTest, ObjectsMoveUpTheRoadFrameByFrameAndGoAtTheirLast)
{
    facts.size = {60, 60};
    Build(PigOutTable({{100, 0, 0}}));
    model.Tick(); // spawned on tick 0
    std::vector<int> frames(1, -1);
    for (int step = 1; model.GetLiveCount() > 0 && step < 200; ++step) {
        model.ClearCues();
        model.Tick();
        frames.push_back(model.GetObject(0).frame);
        if (step == 72) {
            EXPECT_TRUE(Has(EPigCue::ObjectFrame, 0));
            const auto cue = std::find_if(model.Cues().begin(), model.Cues().end(),
                                          [](const ST_PIG_CUE& c) { return c.kind == EPigCue::ObjectFrame; });
            EXPECT_EQ(cue->c, 285);
            EXPECT_EQ(cue->d, 238);
            EXPECT_TRUE(Has(EPigCue::ObjectRemove, 0));
        }
    }
    ASSERT_EQ(frames.size(), 73u);
    for (int s = 14; s <= 19; ++s)
        EXPECT_EQ(frames[static_cast<size_t>(s)], 2) << s;
    EXPECT_EQ(frames[13], 1);
    EXPECT_EQ(frames[20], 3);
    EXPECT_EQ(frames[26], 3);
    EXPECT_EQ(frames[33], 5);
    EXPECT_EQ(frames[39], 5);
    EXPECT_EQ(frames[72], 11);

    EXPECT_EQ(PigObjectFrame(160, 0.02f * 78), 158);
    EXPECT_EQ(PigObjectFrame(160, 0.02f * 79), 159);
    EXPECT_EQ(PigObjectLife(160), 79);
    EXPECT_EQ(PigObjectLife(1), 1);
    EXPECT_EQ(PigObjectLife(0), 1);
    facts.frames.fill(0);
    Build(PigOutTable({{100, 0, 0}}));
    Ticks(2);
    EXPECT_EQ(model.GetLiveCount(), 0);
}

TEST_F(PigsOutModelTest, ThePigSteersTowardThePointerWithinTheEdgesNeverPast)
{
    Build(PigOutTable({{300, 5000, 0}}));
    model.SetPointer(500);
    std::vector<int> xs;
    for (int t = 0; t < 90; ++t) {
        model.Tick();
        xs.push_back(model.GetPig().x);
    }
    EXPECT_EQ(xs[0], 124);
    EXPECT_EQ(xs[1], 146);
    EXPECT_EQ(xs[2], 166);
    EXPECT_EQ(xs[68], 460);
    EXPECT_LT(xs[67], 460);
    EXPECT_EQ(*std::max_element(xs.begin(), xs.end()), 460);
    model.SetPointer(5000);
    Ticks(300);
    EXPECT_EQ(model.GetPig().x, 700);
}

TEST_F(PigsOutModelTest, TheMeterMarkerMovesInWholeStepsToTheBottom)
{
    EXPECT_EQ(PigMarkerY(3, 7), 212);
    EXPECT_EQ(PigMarkerY(7, 7), 390);
    EXPECT_EQ(PigMarkerY(0, 500), 80);
    EXPECT_EQ(PigMarkerY(2, 500), 81);
    EXPECT_EQ(PigMarkerY(500, 500), 390);
    EXPECT_EQ(PigMarkerY(0, 0), 80);
    ST_PIGS_LEVEL level;
    for (int i = 0; i < 7; ++i)
        level.records.push_back({300, i, 5});
    level.records.push_back({});
    Build(level);
    Ticks(3);
    EXPECT_EQ(model.GetMarkerY(), 212);
    Ticks(4);
    EXPECT_EQ(model.GetMarkerY(), 390);
}

TEST_F(PigsOutModelTest, ALevelEndsAfterItsLastObjectAndIsWonOrLostByItsFoodAndLives)
{
    Build(PigOutTable({{300, 10, 0}}));
    int overAt = -1;
    for (int t = 0; t < 200 && overAt < 0; ++t) {
        model.Tick();
        if (model.GetState() == PIGS_OVER)
            overAt = model.GetTick() - 1;
    }
    EXPECT_EQ(overAt, 82);
    model.ClearCues();
    model.Tick();
    EXPECT_EQ(model.GetState(), PIGS_WON);
    model.Tick();
    EXPECT_TRUE(Has(EPigCue::Won));
    EXPECT_TRUE(model.IsIdle());
    // Idle: LevelWon is called once, whatever it did.
    model.ClearCues();
    Ticks(5);
    EXPECT_FALSE(Has(EPigCue::Won));

    // Out of order ticks both come out at the later one; the end's tick is never used.
    Build(PigOutTable({{300, 50, 0}, {300, 40, 1}}));
    Ticks(50);
    EXPECT_EQ(model.GetLiveCount(), 0);
    model.Tick();
    EXPECT_EQ(model.GetLiveCount(), 2);

    // A table of only its end runs on.
    Build(PigOutTable({}));
    Ticks(1000);
    EXPECT_EQ(model.GetState(), PIGS_PLAYING);
}

TEST_F(PigsOutModelTest, ALossRestartsThreeSecondsAfterTheLastTripEnds)
{
    Build(PigOutTable({{300, 5000, 0}}));
    model.SetClock(0);
    facts.pigStopped = true;
    uint32_t now = 0;
    uint32_t lastTripEnd = 0;
    for (; now < 20000 && !Has(EPigCue::Restart); now += 1) {
        model.ClearCues();
        if (PigIsRunning(model.GetPigState()) && model.GetLives() > 0 && model.GetState() == PIGS_PLAYING)
            model.SetPigState(3);
        const int lives = model.GetLives();
        model.Advance(now);
        if (model.GetLives() < lives)
            lastTripEnd = now;
    }
    EXPECT_EQ(model.GetLives(), 0);
    EXPECT_EQ(now - 1 - lastTripEnd, 3010u);
}

TEST_F(PigsOutModelTest, TheFarmerChasesWithinHisBoundsAndCatchesOnceANear)
{
    Build(PigOutTable({{300, 5000, 0}}));
    model.SetPigState(4);
    model.SetPointer(340);
    for (int t = 0; t < 400; ++t) {
        model.Tick();
        EXPECT_LE(std::abs(model.GetFarmer().x - options.farmerPos.x), 100);
        EXPECT_GE(model.GetFarmer().y, options.farmerPos.y);
        EXPECT_LE(model.GetFarmer().y, options.farmerPos.y + 100);
    }
    EXPECT_EQ(model.GetFarmerState(), 2);
    // The catch is started once, not every tick.
    model.ClearCues();
    model.Tick();
    EXPECT_FALSE(Has(EPigCue::FarmerPlay, 2));
    EXPECT_FALSE(Has(EPigCue::Sound, static_cast<int>(EPigSound::Caught)));
    // Tripping pigs draw the farmer up, never above his start.
    model.SetPigState(3);
    Ticks(200);
    EXPECT_EQ(model.GetFarmerUp(), 0);
    EXPECT_EQ(model.GetFarmer().y, options.farmerPos.y);
}

} // namespace
