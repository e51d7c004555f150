// The fairground hub in the real game on the demo data: the first visit,
// the two views and the scrolls between them, both small games played to a
// high score that counts toward the fair's goal, the way out through the pig,
// and that a second visit leaves nothing behind.
#include "DAX/buttons/CDaxButton.h"
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/display/PimCursors.h"
#include "game/common/CFairgroundMenu.h"
#include "game/common/CGameServices.h"
#include "tests/game/GameShots.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/GameTestApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

constexpr CxPoint kTargets[FAIR_CANNON_TARGETS] = {{299, 200}, {349, 200}, {299, 275}, {349, 275}};

class FairgroundTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CFairgroundMenu::SetView(0);
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
        // The farm chapter is behind this player: the fair is open.
        Players().WriteInt("FarmYardComplete", 1);
        Players().WriteInt("FairgroundUnlocked", 1);
        Players().WriteInt("PigPenGoal", -1);
    }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    CFairgroundMenu* Enter()
    {
        if (!game.Enter("FairgroundMenu"))
            return nullptr;
        return dynamic_cast<CFairgroundMenu*>(game.App().GetCurrentRoom());
    }
    void RunQuiet(CFairgroundMenu& fair)
    {
        for (int i = 0; i < 200 && fair.IsSequencePlaying(); ++i)
            game.Run(100);
    }
    static CxPoint Bullseye(int target) { return CxPoint(kTargets[target].x + 20, kTargets[target].y + 20); }
    static CxPoint Centre(const CxDisplayObject& object)
    {
        const CxRect r = object.GetRect();
        return CxPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Knocks all four targets down and waits for the last one to fall.
    void WinCannonTurn(CFairgroundMenu& fair)
    {
        for (int t = 0; t < FAIR_CANNON_TARGETS; ++t)
            fair.OnLButtonDown(1, Bullseye(t));
        for (int i = 0; i < 100 && fair.GetState() != EFairState::Game1Running; ++i)
            game.Run(10);
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    size_t RoomSprites() { return LiveRoomSprites(game.App().GetConsole()); }

    GameTestApp game;
    TempFolder shots;
};

TEST_F(FairgroundTest, AFirstVisitOpensItsGamesAnnouncesGoalZeroOnceAndShowsTheNearView)
{
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    EXPECT_EQ(Players().ReadInt("HasSeenCutSceneMovie", 0), 1);
    EXPECT_EQ(Players().ReadInt("BumperCarUnLocked", 0), 1);
    EXPECT_EQ(Players().ReadInt("PopTrailUnLocked", 0), 1);
    EXPECT_EQ(Players().ReadInt("PopCornUnLocked", 0), 0);
    EXPECT_EQ(Players().ReadInt("NewFairGoal", 0), -1);
    EXPECT_TRUE(fair->IsSequencePlaying());
    EXPECT_FALSE(fair->FindButton("ActivityCenter")->IsEnabled());
    EXPECT_TRUE(fair->GetMarker().IsShown());
    EXPECT_EQ(fair->GetMarker().GetFrame(), 0);

    EXPECT_TRUE(fair->GetBackground(0).IsShown());
    EXPECT_FALSE(fair->GetBackground(1).IsShown());
    EXPECT_TRUE(fair->GetPig().IsShown());
    EXPECT_FALSE(fair->GetSpinner().IsShown());
    for (int t = 0; t < FAIR_CANNON_TARGETS; ++t)
        EXPECT_TRUE(fair->GetTarget(t).IsShown());
    EXPECT_TRUE(fair->GetButton(1).IsShown());  // the duck trail
    EXPECT_FALSE(fair->GetButton(0).IsShown()); // the bumper cars are over there
    game.Run(400);
    Screenshot("fairground-view0.png");

    // The next visit only reminds.
    RunQuiet(*fair);
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    ASSERT_EQ(Enter(), fair);
    EXPECT_EQ(Players().ReadInt("NewFairGoal", 0), -1);
    EXPECT_TRUE(fair->IsSequencePlaying());
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FairgroundTest, TheEdgesScrollBothWaysAndTheCursorSaysWhere)
{
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    RunQuiet(*fair);
    EXPECT_EQ(fair->ChooseCursor(CxPoint(750, 300)), FAIR_CURSOR_RIGHT);
    EXPECT_EQ(fair->ChooseCursor(CxPoint(40, 300)), FAIR_CURSOR_LEFT);
    EXPECT_EQ(fair->ChooseCursor(CxPoint(320, 300)), FAIR_CURSOR_POINT); // the cannon game's board
    EXPECT_EQ(fair->ChooseCursor(CxPoint(560, 560)), FAIR_CURSOR_ARROW);

    fair->OnLButtonDown(1, CxPoint(750, 300)); // right: to the right-hand view
    EXPECT_EQ(CFairgroundMenu::GetView(), 1);
    EXPECT_EQ(fair->GetState(), EFairState::Idle);
    EXPECT_TRUE(fair->GetBackground(1).IsShown());
    EXPECT_FALSE(fair->GetBackground(0).IsShown());
    EXPECT_TRUE(fair->GetSpinner().IsShown());
    EXPECT_FALSE(fair->GetPig().IsShown());
    EXPECT_FALSE(fair->GetTarget(0).IsShown());
    EXPECT_TRUE(fair->GetButton(0).IsShown());
    EXPECT_TRUE(fair->GetButton(2).IsShown());
    EXPECT_FALSE(fair->GetButton(1).IsShown());
    EXPECT_EQ(fair->ChooseCursor(CxPoint(420, 260)), FAIR_CURSOR_POINT); // the spinner
    // The pig of the other view stays away however long this one is looked at.
    game.Run(2000);
    EXPECT_FALSE(fair->GetPig().IsShown());
    EXPECT_FALSE(fair->GetTarget(3).IsShown());
    Screenshot("fairground-view1.png");

    // On past the edge wraps round to the first view; left comes back too.
    fair->OnLButtonDown(1, CxPoint(750, 300));
    EXPECT_EQ(CFairgroundMenu::GetView(), 0);
    fair->OnLButtonDown(1, CxPoint(40, 300));
    EXPECT_EQ(CFairgroundMenu::GetView(), 1);
    fair->OnLButtonDown(1, CxPoint(40, 300));
    EXPECT_EQ(CFairgroundMenu::GetView(), 0);

    // The view is kept for the next visit.
    fair->OnLButtonDown(1, CxPoint(40, 300));
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    ASSERT_EQ(Enter(), fair);
    EXPECT_TRUE(fair->GetSpinner().IsShown());
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FairgroundTest, TheCannonGameScoresTurnsAndItsFirstHighScoreCountsTowardTheGoal)
{
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    RunQuiet(*fair);
    fair->OnLButtonDown(1, CxPoint(420, 340)); // on the board: the game starts
    ASSERT_EQ(fair->GetState(), EFairState::Game1Running);
    EXPECT_EQ(GetCursor(), FAIR_CURSOR_AIM);
    EXPECT_STREQ(fair->GetScoreText().GetText(), "0");
    EXPECT_STREQ(fair->GetHighScoreText().GetText(), "0");

    // A click on the board beside every target is nobody's business.
    fair->OnLButtonDown(1, CxPoint(440, 340));
    EXPECT_EQ(fair->GetState(), EFairState::Game1Running);
    fair->OnLButtonDown(1, Bullseye(0));
    EXPECT_EQ(fair->GetCannonGame().GetHits(), 1);
    EXPECT_TRUE(fair->GetTarget(0).IsPlaying());
    fair->OnLButtonDown(1, Bullseye(0)); // a target that is down already
    EXPECT_EQ(fair->GetCannonGame().GetHits(), 1);

    WinCannonTurn(*fair);
    ASSERT_EQ(fair->GetState(), EFairState::Game1Running);
    EXPECT_EQ(fair->GetCannonGame().GetScore(), 1);
    EXPECT_STREQ(fair->GetScoreText().GetText(), "1");
    EXPECT_EQ(fair->GetCannonGame().GetHits(), 0);
    game.Run(200);
    Screenshot("fairground-cannon.png");

    // Off the board: over. One point is a new best, and a win for fair goal 0.
    fair->OnLButtonDown(1, CxPoint(600, 500));
    game.Run(20);
    EXPECT_EQ(fair->GetState(), EFairState::Idle);
    EXPECT_EQ(Players().ReadInt("HighScore1", 0), 1);
    EXPECT_EQ(Players().ReadInt("FairGoal00", 0), 1);
    EXPECT_EQ(fair->GetMarker().GetFrame(), 1);

    // The same score again is no new best and counts nothing.
    RunQuiet(*fair);
    fair->OnLButtonDown(1, CxPoint(420, 340));
    WinCannonTurn(*fair);
    fair->OnLButtonDown(1, CxPoint(kTargets[0].x + 42, kTargets[0].y + 60)); // on a target, off its bullseye
    game.Run(20);
    EXPECT_EQ(fair->GetState(), EFairState::Idle);
    EXPECT_EQ(Players().ReadInt("HighScore1", 0), 1);
    EXPECT_EQ(Players().ReadInt("FairGoal00", 0), 1);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FairgroundTest, APerfectSpinnerStopScoresWhenItsAnimationEndsWithoutAnotherClick)
{
    CFairgroundMenu::SetView(1);
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    RunQuiet(*fair);
    const CxPoint dial(420, 260);
    fair->OnLButtonDown(1, dial);
    ASSERT_EQ(fair->GetState(), EFairState::Game2Running);
    EXPECT_EQ(fair->GetSpinner().GetState(), FAIR_SPINNER_SPINNING);

    fair->GetSpinner().SetFrame(4); // straight up, on the green
    fair->OnLButtonDown(1, dial);
    EXPECT_EQ(fair->GetSpinner().GetState(), FAIR_SPINNER_PERFECT);
    for (int i = 0; i < 300 && fair->GetSpinnerGame().GetScore() == 0; ++i)
        game.Run(10);
    EXPECT_EQ(fair->GetSpinnerGame().GetScore(), 1);
    EXPECT_EQ(fair->GetState(), EFairState::Game2Running);
    EXPECT_EQ(fair->GetSpinner().GetState(), FAIR_SPINNER_SPINNING);
    EXPECT_STREQ(fair->GetScoreText().GetText(), "1");

    // A stop far off loses once its animation has run: the best is kept.
    fair->GetSpinner().SetFrame(0);
    fair->OnLButtonDown(1, dial);
    EXPECT_EQ(fair->GetSpinner().GetState(), 2);
    for (int i = 0; i < 300 && fair->GetState() != EFairState::Idle; ++i)
        game.Run(10);
    EXPECT_EQ(fair->GetState(), EFairState::Idle);
    EXPECT_EQ(fair->GetSpinner().GetState(), 0);
    EXPECT_EQ(Players().ReadInt("HighScore2", 0), 1);
    EXPECT_EQ(Players().ReadInt("FairGoal00", 0), 1);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FairgroundTest, ReachingGoalZeroHereAnnouncesTheNextGoalFromTheFarViewWithoutLeaving)
{
    Players().WriteInt("NewFairGoal", -1);
    Players().WriteInt("FairGoal00", 2); // the duck trail and the bumper cars are won
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    EXPECT_EQ(fair->GetMarker().GetFrame(), 2);
    RunQuiet(*fair);
    fair->OnLButtonDown(1, CxPoint(420, 340));
    WinCannonTurn(*fair);
    fair->OnLButtonDown(1, CxPoint(600, 500));
    game.Run(20);
    EXPECT_EQ(Players().ReadInt("CurrentFairGoal", 0), 1);
    EXPECT_EQ(Players().ReadInt("NewFairGoal", 0), -1);
    EXPECT_EQ(Players().ReadInt("PopCornUnLocked", 0), 1);
    EXPECT_EQ(CFairgroundMenu::GetView(), 1); // over to the popcorn
    EXPECT_TRUE(fair->IsSequencePlaying());
    EXPECT_FALSE(game.App().HasPendingRoom());
    EXPECT_STREQ(game.App().GetCurRoomName(), "FairgroundMenu");
    EXPECT_EQ(fair->GetMarker().GetFrame(), 0); // goal 1's marker, empty
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FairgroundTest, ThePigLeadsToThePigPenAndBadgesOfGamesNotBuiltLeaveTheFairGoingOn)
{
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    RunQuiet(*fair);
    CSpecialButton& duck = fair->GetButton(1);
    fair->OnMouseMove(0, Centre(duck));
    EXPECT_EQ(duck.GetState(), GAME_BUTTON_HIGHLIGHTED);
    fair->OnLButtonDown(1, Centre(duck));
    game.Run(50);
    EXPECT_EQ(fair->GetState(), EFairState::Idle);
    EXPECT_STREQ(game.App().GetCurRoomName(), "FairgroundMenu");

    // The popcorn is shut until fair goal 0: it says so.
    fair->OnLButtonDown(1, CxPoint(40, 300));
    RunQuiet(*fair);
    CSpecialButton& popcorn = fair->GetButton(2);
    fair->OnMouseMove(0, Centre(popcorn));
    EXPECT_EQ(popcorn.GetState(), GAME_BUTTON_LOCKED);
    fair->OnLButtonDown(1, Centre(popcorn));
    EXPECT_TRUE(fair->IsSequencePlaying());

    // Back in the near view, the pig takes the player home to his pen.
    RunQuiet(*fair);
    fair->OnLButtonDown(1, CxPoint(40, 300));
    fair->OnMouseMove(0, Centre(fair->GetPig()));
    EXPECT_EQ(fair->ChooseCursor(Centre(fair->GetPig())), FAIR_CURSOR_ARROW);
    fair->OnLButtonDown(1, Centre(fair->GetPig()));
    EXPECT_EQ(fair->GetState(), EFairState::Leaving);
    EXPECT_TRUE(game.Enter("PigPen"));
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FairgroundTest, EnteringLeavingAndEnteringAgainLeavesTheSameSprites)
{
    CFairgroundMenu* fair = Enter();
    ASSERT_NE(fair, nullptr);
    game.Run(16000);
    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_TRUE(game.Enter("FarmyardMenu"));
        game.Run(16000);
        ASSERT_EQ(Enter(), fair);
        game.Run(16000);
    }
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    game.Run(16000);
    const size_t sprites = RoomSprites();
    const int cursors = CountCursors();
    ASSERT_EQ(Enter(), fair);
    EXPECT_EQ(CountCursors(), cursors + 3);
    game.Run(16000);
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    game.Run(16000);
    EXPECT_EQ(RoomSprites(), sprites);
    EXPECT_EQ(CountCursors(), cursors);
    EXPECT_EQ(GetErrorCount(), 0);
}

} // namespace
