// The level flow of every game room, over fakes of the player's keys, the
// room stack, the dialogs, the random pick and the goals.
#include "PIM/core/Pimstr.h"
#include "game/common/CLevelFlow.h"
#include "tests/game/FakeLevelPorts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FakeGame : public FakeLevelStore,
                 public FakeLevelNavigator,
                 public CLevelDialogs,
                 public CLevelRandom,
                 public CLevelGoals
{
public:
    int ShowStartLevelDialog() override { return startAnswer; }
    void ShowRewardDialog(int kind) override { rewards.push_back(kind); }
    int ShowYesNo(const char* file) override
    {
        asked.push_back(file);
        return answerYes ? 1 : 0;
    }
    int Range(int low, int high) override { return pick >= low && pick <= high ? pick : low; }

    int AdvanceGoalProgress(bool fair) override
    {
        advancedFair = fair;
        ++advanced;
        return goalReached;
    }
    void CompleteCurrentGoal() override
    {
        ++completed;
        if (!goalRoom.empty())
            GotoRoom(goalRoom.c_str());
    }
    bool IsClosingComplete() override { return closingComplete; }
    void FinishClosingGoal() override
    {
        ++finished;
        if (!goalRoom.empty())
            GotoRoom(goalRoom.c_str());
    }

    int startAnswer = 0;
    std::vector<int> rewards;
    bool answerYes = true;
    std::vector<std::string> asked;
    int pick = 1;
    int goalReached = 0;
    bool advancedFair = true;
    int advanced = 0;
    int completed = 0;
    std::string goalRoom;
    bool closingComplete = true;
    int finished = 0;
};

class LevelFlow : public ::testing::Test
{
protected:
    // Wins the level the flow says is next, as a room does; the level played.
    int WinNext(int numLevels)
    {
        const int level = flow.NextLevelToPlay(numLevels);
        last = flow.LevelWon(level, numLevels);
        return level;
    }

    FakeGame game;
    CLevelFlow flow{game, game, game, game, game};
    ST_LEVEL_WON last;
};

} // namespace

TEST_F(LevelFlow, FiveLevelsArePlayedInOrderThenTheRoomIsWonAndTheLevelsCycle)
{
    std::vector<int> played;
    for (int i = 0; i < 5; ++i) {
        played.push_back(WinNext(5));
        EXPECT_EQ(game.keys.count("BaleOutHasWon") ? game.keys["BaleOutHasWon"] : 0, i == 4 ? 1 : 0) << i;
        EXPECT_TRUE(last.playOn);
    }
    EXPECT_EQ(played, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(last.nextLevel, 0);
    EXPECT_EQ(game.keys["BaleOutLevel"], 5);
    EXPECT_EQ(game.keys["LevelsWon"], 5);
    EXPECT_EQ(game.keys["Unlocked"], 5);
    // From then on the levels cycle; level 0 now lies below the saved 5, so
    // it counts as a replay, and moves the saved level to 1.
    EXPECT_EQ(WinNext(5), 0);
    EXPECT_FALSE(last.counted);
    EXPECT_EQ(game.keys["BaleOutLevel"], 1);
    EXPECT_EQ(WinNext(5), 1);
    EXPECT_TRUE(last.counted);
    EXPECT_EQ(last.nextLevel, 2);
}

TEST_F(LevelFlow, AReplayOfALowerLevelEarnsNothingButMovesTheSavedLevel)
{
    game.keys["BaleOutLevel"] = 4;
    game.keys["Unlocked"] = 2;
    game.keys["LevelsWon"] = 7;
    game.globals["g_NumPuzzleItems"] = 5;
    last = flow.LevelWon(1, 10);
    EXPECT_FALSE(last.counted);
    EXPECT_EQ(game.keys["Unlocked"], 2);
    EXPECT_EQ(game.keys["LevelsWon"], 7);
    EXPECT_TRUE(game.rewards.empty());
    EXPECT_EQ(game.advanced, 0);
    EXPECT_EQ(game.keys["BaleOutLevel"], 2);
    EXPECT_EQ(last.nextLevel, 2);
}

TEST_F(LevelFlow, UnlockedCountsOnFromTheScriptsDefault)
{
    game.globals["g_DefaultUnlocked"] = 3;
    WinNext(5);
    EXPECT_EQ(game.keys["Unlocked"], 4);
    EXPECT_FALSE(game.advancedFair); // a game room's wins never count for the fair
}

TEST_F(LevelFlow, TheRewardIsWhatIsLeftToWinAndNoneOnceTheActivityCentreIsOpen)
{
    struct Case
    {
        int puzzles, stickers, pick;
        int expected;
    };
    // P = K = 3 held against p, k.
    for (const Case c : {Case{0, 0, 2, 2}, Case{0, 0, 1, 1}, Case{3, 0, 1, 2}, Case{0, 3, 2, 1}, Case{3, 3, 1, 0}}) {
        FakeGame fresh;
        fresh.globals = {{"g_NumPuzzleItems", 3}, {"g_NumStickerItems", 3}};
        fresh.keys = {{"PuzzlesWon", c.puzzles}, {"StickersWon", c.stickers}};
        fresh.pick = c.pick;
        CLevelFlow each(fresh, fresh, fresh, fresh, fresh);
        const ST_LEVEL_WON won = each.LevelWon(0, 5);
        EXPECT_EQ(won.reward, c.expected) << c.puzzles << " " << c.stickers;
        EXPECT_EQ(fresh.rewards, c.expected ? std::vector<int>{c.expected} : std::vector<int>{});
        // The counters are the reward rooms' to change.
        EXPECT_EQ(fresh.keys["PuzzlesWon"], c.puzzles);
    }
    game.globals = {{"g_NumPuzzleItems", 3}};
    game.keys["ActivityCenterUnlocked"] = 1;
    WinNext(5);
    EXPECT_EQ(last.reward, 1);
    EXPECT_FALSE(last.rewardShown);
    EXPECT_TRUE(game.rewards.empty());
}

TEST_F(LevelFlow, AReachedGoalLeavesTheRoomOrPlaysOnWhenItSentThePlayerNowhere)
{
    game.goalReached = 1;
    game.goalRoom = "FarmyardMenu";
    WinNext(5);
    EXPECT_EQ(game.completed, 1);
    EXPECT_FALSE(last.playOn);
    EXPECT_EQ(game.keys["BaleOutLevel"], 1); // saved before the goal moves on

    FakeGame nowhere;
    nowhere.goalReached = 1;
    CLevelFlow stays(nowhere, nowhere, nowhere, nowhere, nowhere);
    const ST_LEVEL_WON won = stays.LevelWon(0, 5);
    EXPECT_EQ(nowhere.completed, 1);
    EXPECT_TRUE(won.playOn);
    EXPECT_EQ(won.nextLevel, 1);
}

TEST_F(LevelFlow, ARoomWithoutNumLevelsIsWonAtItsFirstWinAndFollowsTheSavedLevel)
{
    EXPECT_EQ(WinNext(0), 0);
    EXPECT_EQ(game.keys["BaleOutHasWon"], 1);
    EXPECT_EQ(last.nextLevel, 1);
    EXPECT_EQ(WinNext(0), 1);
    EXPECT_EQ(last.nextLevel, 2);
    game.room.clear();
    EXPECT_EQ(flow.NextLevelToPlay(5), 0);
}

TEST_F(LevelFlow, ASavedLevelPastTheLastMarksTheRoomWonAndStartsAgain)
{
    game.keys["BaleOutLevel"] = 7;
    EXPECT_EQ(flow.NextLevelToPlay(5), 0);
    EXPECT_EQ(game.keys["BaleOutHasWon"], 1);
    EXPECT_EQ(flow.NextLevelToPlay(5), 2);
    game.keys["BaleOutLevel"] = -3; // a hand-edited file
    EXPECT_EQ(flow.NextLevelToPlay(5), 2);
}

TEST_F(LevelFlow, TheStartLevelAnswersPlayOrLeaveForTheirRooms)
{
    EXPECT_TRUE(flow.StartLevel());
    EXPECT_TRUE(game.went.empty());
    const char* rooms[] = {"FarmyardMenu", "FairgroundMenu", "PigPen", "ActivityCenter"};
    for (int answer = 1; answer <= 4; ++answer) {
        game.went.clear();
        game.startAnswer = answer;
        EXPECT_FALSE(flow.StartLevel());
        EXPECT_EQ(game.went, std::vector<std::string>{rooms[answer - 1]});
    }
}

TEST_F(LevelFlow, BackLeavesAGameForTheLastHubOrTheLoginAndAHubForTheTitle)
{
    // The options room goes without asking.
    game.room = "OptionsMenu";
    game.lastHub = "FarmyardMenu";
    flow.OnBack();
    EXPECT_TRUE(game.asked.empty());
    EXPECT_EQ(game.went, std::vector<std::string>{"Title"});
    EXPECT_EQ(game.lastHub, "");

    // "No" keeps playing.
    game.went.clear();
    game.room = "BaleOut";
    game.lastHub = "FairgroundMenu";
    game.answerYes = false;
    flow.OnBack();
    EXPECT_EQ(game.asked, std::vector<std::string>{"COMMON/quit_yesno.ini"});
    EXPECT_TRUE(game.went.empty());

    game.answerYes = true;
    flow.OnBack();
    EXPECT_EQ(game.went, std::vector<std::string>{"FairgroundMenu"});
    game.went.clear();
    game.lastHub.clear();
    flow.OnBack();
    EXPECT_EQ(game.went, std::vector<std::string>{"Login"});

    game.went.clear();
    game.room = "farmyardmenu";
    game.lastHub = "FarmyardMenu";
    flow.OnBack();
    EXPECT_EQ(game.went, std::vector<std::string>{"Title"});
    EXPECT_EQ(game.lastHub, "");
}

TEST_F(LevelFlow, LeavingTheSpiderEggsFinishesTheClosingGoalAndStillLeavesWhenThatWentNowhere)
{
    game.room = "SpiderEgg";
    game.closingComplete = false;
    game.lastHub = "FairgroundMenu";
    game.goalRoom = "ActivityCenter";
    flow.OnBack();
    EXPECT_EQ(game.finished, 1);
    EXPECT_EQ(game.went, std::vector<std::string>{"ActivityCenter"});

    game.went.clear();
    game.goalRoom.clear();
    flow.OnBack();
    EXPECT_EQ(game.finished, 2);
    EXPECT_EQ(game.went, std::vector<std::string>{"FairgroundMenu"});
}
