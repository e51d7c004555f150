// The fairground's rules without its room: the cannon game's shots, turns
// and shaking aim, the spinner's stops and its judgement when the stopping
// animation ends, the views' wrapping and movies, the cursor choice and the
// high-score rule.
#include "game/common/CFairCannonGame.h"
#include "game/common/CFairSpinnerGame.h"
#include "game/common/FairgroundRules.h"

#include "PIM/core/CxRandom.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The demo's layout: the area around the four targets, a 30 x 30 hit box
// 10 pixels into each target.
CFairCannonGame MakeCannon()
{
    CFairCannonGame game;
    game.Setup(CxRect(250, 150, 450, 380), CxRect(10, 10, 39, 39),
               {CxPoint(299, 200), CxPoint(349, 200), CxPoint(299, 275), CxPoint(349, 275)});
    return game;
}

CxPoint Centre(int target)
{
    static const CxPoint kAt[] = {{299, 200}, {349, 200}, {299, 275}, {349, 275}};
    return CxPoint(kAt[target].x + 25, kAt[target].y + 25);
}

} // namespace

TEST(FairCannonGame, FourHitsWinATurnAndTheShakeSpeedsUp)
{
    CFairCannonGame game = MakeCannon();
    EXPECT_EQ(game.Click(Centre(0), 0, 0), EFairCannonShot::Ignored); // not started
    game.Start(1000);
    EXPECT_FALSE(game.Step(1399));
    EXPECT_TRUE(game.Step(1400));
    EXPECT_FALSE(game.Step(1401));

    EXPECT_EQ(game.Click(Centre(0), 0, 1500), EFairCannonShot::Hit);
    EXPECT_EQ(game.GetPeriod(), FAIR_CANNON_HIT_PERIOD);
    EXPECT_TRUE(game.Step(1700));
    // A target already down is no target; a click in the area on nothing is ignored.
    EXPECT_EQ(game.Click(Centre(0), 0, 1710), EFairCannonShot::Ignored);
    EXPECT_EQ(game.Click(CxPoint(260, 160), -1, 1720), EFairCannonShot::Ignored);
    EXPECT_EQ(game.GetState(), EFairCannonState::Running);

    EXPECT_EQ(game.Click(Centre(1), 1, 1800), EFairCannonShot::Hit);
    EXPECT_EQ(game.Click(Centre(2), 2, 1900), EFairCannonShot::Hit);
    EXPECT_EQ(game.Click(Centre(3), 3, 2000), EFairCannonShot::TurnWon);
    EXPECT_EQ(game.GetState(), EFairCannonState::Ending);
    EXPECT_FALSE(game.Step(5000)); // no shaking between turns

    // The point waits for the last target's animation.
    EXPECT_FALSE(game.FinishTurn(false, 2100));
    EXPECT_EQ(game.GetScore(), 0);
    EXPECT_FALSE(game.FinishTurn(true, 2200));
    EXPECT_EQ(game.GetScore(), 1);
    EXPECT_EQ(game.GetState(), EFairCannonState::Running);
    EXPECT_EQ(game.GetHits(), 0);
    EXPECT_FALSE(game.IsTargetHit(3));
    EXPECT_EQ(game.GetPeriod(), FAIR_CANNON_FIRST_PERIOD);
}

TEST(FairCannonGame, AShotBesideTheHitBoxOrAClickOutsideEndsTheGame)
{
    CFairCannonGame beside = MakeCannon();
    beside.Start(0);
    EXPECT_EQ(beside.Click(Centre(0), 0, 10), EFairCannonShot::Hit);
    // On target 1's sprite but at its corner, outside the hit box.
    EXPECT_EQ(beside.Click(CxPoint(351, 202), 1, 20), EFairCannonShot::Missed);
    EXPECT_EQ(beside.GetState(), EFairCannonState::Ending);
    EXPECT_TRUE(beside.FinishTurn(false, 30)); // lost, whatever the animation
    EXPECT_EQ(beside.GetState(), EFairCannonState::Idle);
    EXPECT_EQ(beside.Click(Centre(1), 1, 40), EFairCannonShot::Ignored);

    CFairCannonGame outside = MakeCannon();
    outside.Start(0);
    EXPECT_EQ(outside.Click(CxPoint(600, 200), -1, 10), EFairCannonShot::Missed);
    EXPECT_TRUE(outside.FinishTurn(true, 20));
    // A target index out of range is no target.
    CFairCannonGame odd = MakeCannon();
    odd.Start(0);
    EXPECT_EQ(odd.Click(Centre(0), 7, 10), EFairCannonShot::Ignored);
    EXPECT_FALSE(odd.IsTargetHit(-1));
}

TEST(FairCannonGame, TheAimShakesByNonZeroStepsThatGrowWithTheHits)
{
    for (int hits = 0; hits <= 3; ++hits) {
        std::set<int> xs;
        std::set<int> ys;
        for (int draw = 0; draw < 12; ++draw) {
            const int values[] = {draw, draw * 7 + 3};
            ScriptRandomDraws(values, 2);
            const CxPoint step = CFairCannonGame::ShakeOffset(hits);
            EXPECT_NE(step.x, 0);
            EXPECT_NE(step.y, 0);
            EXPECT_GE(step.x, hits - 1);
            EXPECT_LE(step.x, hits + 1);
            EXPECT_GE(step.y, hits - 2);
            EXPECT_LE(step.y, hits + 2);
            xs.insert(step.x);
            ys.insert(step.y);
        }
        // Every non-zero value of the range is reachable.
        EXPECT_EQ(xs.size(), hits >= 2 ? 3u : 2u) << hits;
        EXPECT_EQ(ys.size(), hits >= 3 ? 5u : 4u) << hits;
    }
    ClearRandomScript();
}

TEST(FairSpinnerGame, WhereItStopsDecidesTheAnimation)
{
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(4), FAIR_SPINNER_PERFECT);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(3), 5);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(5), 5);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(2), 4);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(6), 4);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(1), 3);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(7), 3);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(0), 2);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(8), 2);
    EXPECT_EQ(CFairSpinnerGame::StopStateForFrame(-1), 2);
}

TEST(FairSpinnerGame, APerfectStopScoresWhenItsAnimationEndsWithoutAnotherClick)
{
    CFairSpinnerGame game;
    EXPECT_EQ(game.Click(true, 4), -1); // not started
    game.Start();
    EXPECT_EQ(game.GetSpriteState(), FAIR_SPINNER_SPINNING);
    // The spinning loop's own ends judge nothing.
    game.OnAnimationEnd();
    EXPECT_EQ(game.Update(), EFairSpinnerResult::None);

    EXPECT_EQ(game.Click(true, 4), FAIR_SPINNER_PERFECT);
    EXPECT_TRUE(game.PlaysPerfectCue());
    EXPECT_EQ(game.Click(true, 2), -1); // stopped already
    EXPECT_EQ(game.Update(), EFairSpinnerResult::None);
    game.OnAnimationEnd();
    EXPECT_EQ(game.Update(), EFairSpinnerResult::Scored);
    EXPECT_EQ(game.GetScore(), 1);
    EXPECT_EQ(game.GetSpriteState(), FAIR_SPINNER_SPINNING);
    EXPECT_EQ(game.GetState(), EFairSpinnerState::Running);

    // A poor stop loses the same way: judged at its animation's end.
    EXPECT_EQ(game.Click(true, 6), 4);
    game.OnAnimationEnd();
    EXPECT_EQ(game.Update(), EFairSpinnerResult::Lost);
    EXPECT_EQ(game.GetScore(), 1); // kept for the high-score rule
    EXPECT_EQ(game.GetSpriteState(), 0);
    EXPECT_EQ(game.GetState(), EFairSpinnerState::Idle);
}

TEST(FairSpinnerGame, AClickOutsideTheAreaJudgesAtOnce)
{
    CFairSpinnerGame spinning;
    spinning.Start();
    EXPECT_EQ(spinning.Click(false, 4), -1);
    EXPECT_EQ(spinning.Update(), EFairSpinnerResult::Lost);

    CFairSpinnerGame stopped;
    stopped.Start();
    stopped.Click(true, 4);
    stopped.Click(false, 0); // before the animation ends: still a perfect stop
    EXPECT_EQ(stopped.Update(), EFairSpinnerResult::Scored);
}

TEST(FairgroundRules, ViewsWrapEachWayWithTheirOwnMovie)
{
    EXPECT_EQ(FairNextView(0, 1), 1);
    EXPECT_EQ(FairNextView(1, 1), 0);
    EXPECT_EQ(FairNextView(0, -1), 1);
    EXPECT_EQ(FairNextView(1, -1), 0);
    EXPECT_EQ(FairNextView(5, 1), 0); // any other view reads as 1
    EXPECT_STREQ(FairScrollMovie(0, 1).GetText(), "S04_BG1_L.bik");
    EXPECT_STREQ(FairScrollMovie(0, -1).GetText(), "S04_BG1_R.bik");
    EXPECT_STREQ(FairScrollMovie(1, 1).GetText(), "S04_BG2_L.bik");
    EXPECT_STREQ(FairScrollMovie(1, -1).GetText(), "S04_BG2_R.bik");
}

TEST(FairgroundRules, TheCursorFollowsStateViewAndPlace)
{
    ST_FAIR_POINTER p;
    p.x = 750;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_RIGHT);
    p.x = 50;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_LEFT);
    p.pigHovered = true; // the pig wins over the edge
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_ARROW);
    p = ST_FAIR_POINTER{};
    p.x = 750;
    p.buttonHovered = true;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_ARROW);
    p.state = EFairState::Scrolling;
    p.buttonHovered = false;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_ARROW);

    p = ST_FAIR_POINTER{};
    p.x = 400;
    p.inGame1Area = true;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_POINT);
    p.state = EFairState::Game1Running;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_AIM);
    p.view = 1; // the first game's area means nothing in the other view
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_ARROW);
    p.inGame2Area = true;
    p.state = EFairState::Game2Running;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_AIM);
    p.state = EFairState::Leaving;
    EXPECT_EQ(FairChooseCursor(p), FAIR_CURSOR_ARROW);
}

TEST(FairgroundRules, OnlyAGreaterScoreIsANewHighScore)
{
    EXPECT_FALSE(FairBeatsHighScore(3, 3));
    EXPECT_TRUE(FairBeatsHighScore(4, 3));
    EXPECT_FALSE(FairBeatsHighScore(0, 0)); // a first game without a point
    EXPECT_TRUE(FairBeatsHighScore(1, 0));
}
