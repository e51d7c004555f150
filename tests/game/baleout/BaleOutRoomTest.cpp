// The bale game in the real game on the demo data, through the real level
// dialogs: level 0 built from its file, a stuck push and an undo, the level
// solved with the arrow keys and the win's points, and the farm goal it
// completes; and that a second visit leaves nothing behind.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/display/PimCursors.h"
#include "game/baleout/BaleOutRoom.h"
#include "game/common/CGameServices.h"
#include "game/common/CStartLevelDialog.h"
#include "game/common/CWinLevelDialog.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/RoomVisits.h"
#include "tests/game/ModalDriver.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Level 0's solution, as written beside its map.
const std::vector<int> kLevel0 = {BALE_DOWN, BALE_RIGHT, BALE_RIGHT, BALE_RIGHT, BALE_DOWN, BALE_DOWN,
                                  BALE_LEFT, BALE_LEFT,  BALE_DOWN,  BALE_RIGHT, BALE_RIGHT};

class BaleOutRoomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SeedRandom(25);
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
        Players().WriteInt("PigPenGoal", -1);
        game.App().SetUnattended(false); // the level dialogs wait for an answer
    }
    void TearDown() override { game.App().SetUnattended(true); }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    // Plays every start-level dialog and closes every reward.
    ModalDriver::Step Player()
    {
        return [this](CxDisplayObject& dialog, int pass) {
            const bool start = dynamic_cast<CStartLevelDialog*>(&dialog) != nullptr;
            if (pass == 3 && !start && dynamic_cast<CWinLevelDialog*>(&dialog))
                Screenshot("baleout-win.png");
            if (pass != 4 || (!start && !dynamic_cast<CWinLevelDialog*>(&dialog)))
                return;
            EXPECT_TRUE(ClickDialogButton(game.App(), dialog, start ? "Play" : "OK"));
            answered.push_back(start ? "start" : "win");
        };
    }
    BaleOut* Enter()
    {
        if (!game.Enter("BaleOut"))
            return nullptr;
        game.Run(200);
        return dynamic_cast<BaleOut*>(game.App().GetCurrentRoom());
    }
    // Until the board is still again (a step is about 80 ms, a slide longer).
    void Settle(BaleOut& room)
    {
        for (int t = 0; t < 5000 && room.GetGameState() != EBaleState::Idle; t += 10)
            game.Run(10);
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }

    GameTestApp game;
    TempFolder shots;
    std::vector<std::string> answered;
};

TEST_F(BaleOutRoomTest, LevelZeroIsBuiltFromItsFileAndAStuckPushOrAnUndoChangesWhatItShould)
{
    ModalDriver driver(Player());
    BaleOut* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(answered, std::vector<std::string>{"start"});
    EXPECT_EQ(room->GetLevel(), 0);
    EXPECT_FALSE(room->IsLevelMissing());
    EXPECT_EQ(room->GetBoard().PigCell(), CxPoint(3, 3));
    EXPECT_EQ(room->GetBoard().BaleCount(), 2);
    EXPECT_EQ(room->GetBoard().Goals(), 2);
    EXPECT_STREQ(room->GetMoveText().GetText(), "Moves: 0 of 40");
    EXPECT_EQ(GetCursor(), BALE_CURSOR_NORMAL);
    Screenshot("baleout-level0.png");

    // Into the fence: nothing moves, nothing is counted or kept for undo.
    room->Step(BALE_LEFT);
    EXPECT_EQ(room->GetGameState(), EBaleState::Idle);
    EXPECT_EQ(room->GetBoard().Moves(), 0);
    EXPECT_EQ(room->GetBoard().UndoSteps(), 0);

    // The pointer next to the pig shows the way it can go.
    const CxPoint below = BaleCellOrigin(CxPoint(3, 4)) + CxPoint(24, 24);
    room->OnMouseMove(0, below);
    EXPECT_EQ(room->GetPendingDirection(), BALE_DOWN);
    EXPECT_EQ(GetCursor(), BALE_CURSOR_NORMAL + BALE_DOWN);
    room->OnLButtonDown(1, below);
    Settle(*room);
    EXPECT_EQ(room->GetBoard().PigCell(), CxPoint(3, 4));
    EXPECT_EQ(room->GetPig()->GetPosition(), BaleCellOrigin(CxPoint(3, 4)));
    EXPECT_STREQ(room->GetMoveText().GetText(), "Moves: 1 of 40");

    const int score = room->GetScoreValue();
    room->OnButton("Undo");
    EXPECT_EQ(room->GetBoard().PigCell(), CxPoint(3, 3));
    EXPECT_EQ(room->GetPig()->GetPosition(), BaleCellOrigin(CxPoint(3, 3)));
    EXPECT_EQ(room->GetBoard().Moves(), 0);
    EXPECT_EQ(room->GetScoreValue(), score - BALE_UNDO_COST);
    // Nothing left to take back: it costs nothing.
    room->OnButton("Undo");
    EXPECT_EQ(room->GetScoreValue(), score - BALE_UNDO_COST);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(BaleOutRoomTest, SolvingLevelZeroWithTheArrowKeysWinsItsPointsAndCompletesFarmGoalZero)
{
    ModalDriver driver(Player());
    BaleOut* room = Enter();
    ASSERT_NE(room, nullptr);
    for (int direction : kLevel0) {
        const uint32_t keys[] = {0, 272, 274, 273, 275};
        room->OnKeyDown(keys[direction], 0);
        Settle(*room);
    }
    EXPECT_EQ(room->GetBoard().EmptyGoals(), 0);
    EXPECT_EQ(room->GetBale(0)->GetFrame(), 1); // glowing on its goal
    Screenshot("baleout-solved.png");
    // The win's steps: the moves left (2 x 29), then the goals (100 each).
    for (int t = 0; t < 3000 && !game.App().HasPendingRoom() &&
                    PimStrEqual(game.App().GetCurRoomName(), "BaleOut", true);
         t += 10)
        game.Run(10);
    for (int i = 0; i < 200 && !PimStrEqual(game.App().GetCurRoomName(), "FarmyardMenu", true); ++i)
        game.Run(10);
    EXPECT_EQ(room->GetLevelScore(), 2 * 29 + 200);
    EXPECT_EQ(Players().ReadInt("BaleOutLevel", 0), 1);
    EXPECT_EQ(Players().ReadInt("FarmGoal00", 0), 1);
    EXPECT_EQ(Players().ReadInt("CurrentFarmGoal", 0), 1);
    EXPECT_EQ(Players().ReadInt("CroquetUnLocked", 0), 1);
    EXPECT_STREQ(game.App().GetCurRoomName(), "FarmyardMenu");
    EXPECT_EQ(answered, (std::vector<std::string>{"start", "win"}));
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(BaleOutRoomTest, TheIceBeltAndSwitchLevelsPlayThroughToTheirWin)
{
    constexpr int L = BALE_LEFT, U = BALE_UP, R = BALE_RIGHT, D = BALE_DOWN;
    const std::vector<std::vector<int>> solutions = {{U, R, L, D, D, D, R},
                                                     {D, L, L, R, R, R, R, R, L, L, L, D, D, D}};
    ModalDriver driver(Player());
    for (int level = 1; level <= 2; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        Players().WriteInt("BaleOutLevel", level);
        BaleOut* room = Enter();
        ASSERT_NE(room, nullptr);
        ASSERT_EQ(room->GetLevel(), level);
        EXPECT_GT(room->GetFloorPieceCount(), size_t{0});
        Screenshot(("baleout-level" + std::to_string(level) + ".png").c_str());
        const std::vector<int>& moves = solutions[static_cast<size_t>(level - 1)];
        for (size_t move = 0; move + 1 < moves.size(); ++move) {
            room->Step(moves[move]);
            Settle(*room);
        }
        // The last push, and a look before the win moves on to the next level.
        room->Step(moves.back());
        for (int t = 0; t < 2000 && room->GetBoard().EmptyGoals() > 0; t += 10)
            game.Run(10);
        EXPECT_EQ(room->GetBoard().EmptyGoals(), 0);
        Screenshot(("baleout-level" + std::to_string(level) + "-solved.png").c_str());
        for (int t = 0; t < 3000 && Players().ReadInt("BaleOutLevel", 0) == level; t += 10)
            game.Run(10);
        EXPECT_EQ(Players().ReadInt("BaleOutLevel", 0), level + 1);
        ASSERT_TRUE(game.Enter("Title"));
    }
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(BaleOutRoomTest, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    ModalDriver driver(Player());
    ASSERT_TRUE(VisitTwiceAndSettle(game, [this] { return Enter() != nullptr; }));
    const ST_ROOM_LIVE before = RoomLive(game);
    const int cursors = CountCursors();
    BaleOut* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(CountCursors(), cursors + 5);
    room->Step(BALE_DOWN);
    game.Run(30); // leaving mid-step
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    EXPECT_EQ(RoomLive(game), before);
    EXPECT_EQ(CountCursors(), cursors);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
