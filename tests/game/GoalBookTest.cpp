// The story's goal chapters over an in-memory player store and a recording
// room stack, with the demo's goal globals.
#include "game/common/CGoalBook.h"
#include "game/common/CGoalMarker.h"
#include "tests/game/FakeLevelPorts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The demo's goal globals: three farm goals, two fair goals, one closing goal.
class FakeStory : public FakeLevelStore, public FakeLevelNavigator
{
public:
    FakeStory()
    {
        globals = {{"g_NumFarmGoals", 3}, {"g_FarmGoal0", 1}, {"g_FarmGoal1", 4}, {"g_FarmGoal2", 1},
                   {"g_NumFairGoals", 2}, {"g_FairGoal0", 3}, {"g_FairGoal1", 1},
                   {"g_NumClosingGoals", 1}, {"g_ClosingGoal0", 1}};
    }
};

class GoalBookTest : public ::testing::Test
{
protected:
    // Wins one level in `room` the way the level flow does.
    int Win(const char* room, bool fair = false)
    {
        story.room = room;
        const int reached = book.AdvanceGoalProgress(fair);
        if (reached)
            book.CompleteCurrentGoal();
        return reached;
    }
    void FinishFarm()
    {
        story.keys["FarmYardComplete"] = 1;
        story.keys["CurrentFarmGoal"] = 3;
    }

    FakeStory story;
    CGoalBook book{story, story};
};

TEST_F(GoalBookTest, FarmChapterRunsThroughItsGoalsAndRoutes)
{
    EXPECT_EQ(Win("BaleOut"), 1);
    EXPECT_EQ(story.Key("CurrentFarmGoal"), 1);
    EXPECT_EQ(story.Key("NewFarmGoal"), 1);
    EXPECT_EQ(story.went, std::vector<std::string>{"FarmyardMenu"});

    story.went.clear();
    EXPECT_EQ(Win("Croquet"), 0);
    EXPECT_EQ(Win("PIGSOUT"), 0); // names compare without regard to case
    EXPECT_EQ(Win("WordWeb"), 0);
    EXPECT_EQ(Win("PopCorn"), 0); // a fair game counts nothing in the farm chapter
    EXPECT_EQ(story.Key("FarmGoal01"), 3);
    EXPECT_EQ(Win("NumberWeb"), 1);
    EXPECT_EQ(story.Key("NewFarmGoal"), 2);

    // During goal 2 only the swinging game counts.
    story.went.clear();
    EXPECT_EQ(Win("BaleOut"), 0);
    EXPECT_EQ(story.Key("FarmGoal02"), 0);
    EXPECT_EQ(Win("SwinginAranelle"), 1);
    EXPECT_EQ(story.Key("FarmYardComplete"), 1);
    EXPECT_EQ(story.Key("FairgroundUnlocked"), 1);
    EXPECT_EQ(story.Key("PigPenGoal"), 1);
    // Goal index 3 goes to the pig pen without a farmyard announcement.
    EXPECT_EQ(story.went, std::vector<std::string>{"PigPen"});
    EXPECT_EQ(story.Key("NewFarmGoal"), 2);
}

TEST_F(GoalBookTest, FairChapterCountsFairGamesAndTheFairFlag)
{
    FinishFarm();
    EXPECT_EQ(Win("BaleOut"), 0);
    EXPECT_EQ(Win("FairgroundMenu", true), 0); // a high score in the fairground's small game
    EXPECT_EQ(Win("PopTrail"), 0);
    EXPECT_EQ(Win("BumperCar"), 1);
    EXPECT_EQ(story.Key("CurrentFairGoal"), 1);
    EXPECT_EQ(story.Key("NewFairGoal"), 1);
    EXPECT_EQ(story.went, std::vector<std::string>{"FairgroundMenu"});

    EXPECT_EQ(Win("PopCorn"), 1);
    EXPECT_EQ(story.Key("FairComplete"), 1);
    EXPECT_EQ(story.Key("PigPenGoal"), 2);
    EXPECT_EQ(story.went.back(), "PigPen");
}

TEST_F(GoalBookTest, FairGoalReachedInTheFairgroundStaysThere)
{
    FinishFarm();
    story.keys["FairGoal00"] = 2;
    EXPECT_EQ(Win("FairgroundMenu", true), 1);
    EXPECT_EQ(story.Key("NewFairGoal"), 1);
    EXPECT_TRUE(story.went.empty());
}

TEST_F(GoalBookTest, ClosingChapterOpensTheActivityCentre)
{
    FinishFarm();
    story.keys["FairComplete"] = 1;
    EXPECT_EQ(Win("PopCorn"), 0);
    EXPECT_EQ(Win("SpiderEgg"), 1);
    EXPECT_EQ(story.Key("ClosingComplete"), 1);
    EXPECT_EQ(story.Key("NewClosingGoal"), 1);
    EXPECT_EQ(story.Key("ActivityCenterUnlocked"), 1);
    EXPECT_EQ(story.went, std::vector<std::string>{"ActivityCenter"});
    EXPECT_EQ(Win("SpiderEgg"), 0);
}

TEST_F(GoalBookTest, SpiderEggRuleAppliesOncePerVisit)
{
    FinishFarm();
    story.keys["FairComplete"] = 1;
    story.globals["g_NumClosingGoals"] = 3;
    story.room = "SpiderEgg";
    book.BeginVisit();
    book.FinishClosingGoal(); // the back question
    book.FinishClosingGoal(); // the room stopping
    EXPECT_EQ(story.Key("CurrentClosingGoal"), 1);
    EXPECT_EQ(story.Key("ClosingGoal00"), 2);
    book.BeginVisit();
    book.FinishClosingGoal();
    EXPECT_EQ(story.Key("CurrentClosingGoal"), 2);

    // Before the fair is done, leaving the spider eggs moves no goal.
    FakeStory early;
    CGoalBook earlyBook(early, early);
    earlyBook.FinishClosingGoal();
    EXPECT_TRUE(early.keys.empty());
}

TEST_F(GoalBookTest, MissingGlobalsReachEachGoalAtTheFirstWin)
{
    story.globals.clear();
    EXPECT_EQ(Win("Croquet"), 1);
    // No farm goals at all: the chapter completes on the first completion.
    EXPECT_EQ(story.Key("FarmYardComplete"), 1);
}

TEST_F(GoalBookTest, KeySettersTakeTheCurrentGoalAndOneMore)
{
    story.keys["CurrentFairGoal"] = 1;
    story.keys["FairGoal01"] = 4;
    book.SetGoalCount(EGoalChapter::Fair, -1, -1);
    EXPECT_EQ(story.Key("FairGoal01"), 5);
    book.SetGoalCount(EGoalChapter::Fair, 0, 7);
    EXPECT_EQ(book.GetGoalCount(EGoalChapter::Fair, 0), 7);
    EXPECT_EQ(book.GetGoalCount(EGoalChapter::Fair), 5);
    EXPECT_EQ(book.GetNewGoal(EGoalChapter::Farm), 0); // a new player's goal 0 is still to be announced

    EXPECT_FALSE(book.IsRoomUnlocked("Croquet"));
    book.SetRoomUnlocked("Croquet");
    EXPECT_TRUE(book.IsRoomUnlocked("Croquet"));
    EXPECT_EQ(story.Key("CroquetUnLocked"), 1);
    EXPECT_FALSE(book.IsRoomUnlocked(""));
}

TEST(GoalMarkerFrames, FramesFromTheFileStaySane)
{
    EXPECT_EQ(CGoalMarker::SaneFrames(0), 1);
    EXPECT_EQ(CGoalMarker::SaneFrames(-5), 1);
    EXPECT_EQ(CGoalMarker::FrameOf(3, 0), 0);
    EXPECT_EQ(CGoalMarker::FrameOf(3, 2), 1);
    EXPECT_EQ(CGoalMarker::FrameOf(-2, 5), 0);
    EXPECT_EQ(CGoalMarker::FrameOf(2, 5), 2);
}

} // namespace
