// Croquet on levels a data author got wrong or stretched: the demo data seen
// through links, with a level 0 of the test's own. Hostile numbers refuse
// the level with a report and the room goes on; a level without a ball for
// the player is refused too; odd but valid data plays as it says.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/files/CxOptions.h"
#include "game/common/CGameServices.h"
#include "game/croquet/CroquetRoom.h"
#include "tests/game/GameTestApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The demo data, with "Croquet/level0.ini" replaced by `level`.
class CroquetWithLevel
{
public:
    explicit CroquetWithLevel(const std::string& level)
    {
        const fs::path demo = PIM_DEMO_DATA_DIR;
        const fs::path root = folder.Path();
        for (const fs::directory_entry& entry : fs::directory_iterator(demo))
            if (entry.path().filename() != "Croquet")
                fs::create_symlink(entry.path(), root / entry.path().filename());
        fs::create_directory(root / "Croquet");
        for (const fs::directory_entry& entry : fs::directory_iterator(demo / "Croquet"))
            if (entry.path().filename() != "level0.ini")
                fs::create_symlink(entry.path(), root / "Croquet" / entry.path().filename());
        std::ofstream(root / "Croquet" / "level0.ini") << level;
    }
    std::string Path() const { return folder.Path(); }

private:
    TempFolder folder;
};

// Enters croquet on `level` (the start-level dialog is answered for us).
CCroquet* EnterOn(GameTestApp& game)
{
    SeedRandom(26);
    GameServices().GetPlayers().SetCurrentPlayer("Tessa");
    GameServices().GetPlayers().WriteInt("PigPenGoal", -1);
    if (!game.Enter("Croquet"))
        return nullptr;
    game.Run(200);
    return dynamic_cast<CCroquet*>(game.App().GetCurrentRoom());
}

constexpr const char* kPlayer = "[Golfer]\nLocation=105, 185\nBallOffset=95, 95\n"
                                "[Ball00]\nBallType=0\nStartPos=200, 280\n";

TEST(CroquetOddLevels, StretchedButValidDataPlaysAsItSays)
{
    CroquetWithLevel data(std::string("[General]\nNumShots=10\nNumBalls=3\nNumLines=2\nNumGravityPoints=2\n"
                                      "NumWaters=2\nNumWickets=1\n") +
                          kPlayer +
                          // A kind the room does not have: skipped.
                          "[Ball01]\nBallType=7\nStartPos=400, 400\n"
                          "[Ball02]\nBallType=1\nStartPos=560, 170\n"
                          // A fence far longer than the screen, drawn only where it shows.
                          "[Line00]\nLocation=-100000, 450, 100000, 450\nColor=16711680\n"
                          // Both window headings must be non-zero: this one is a plain wall.
                          "[Line01]\nLocation=150, 100, 150, 400\nPassThruAngle=0, 90, 0\n"
                          "[Gravity00]\nPosition=600, 400\nGravity=5\nColor=255\n"
                          "[Gravity01]\nPosition=650, 100\nGravity=-5\nLength=60\nColor=255\n"
                          // Two currents: every water pushes the way of the one read last.
                          "[Water00]\nPos=300, 350\nWaterType=3\n"
                          "[Water01]\nPos=450, 350\nWaterType=2\n"
                          "[Wicket00]\nPos=305, 236\nWicketType=40\n"
                          "[Hole]\nLocation=620, 235\n");
    ST_GAME_TEST_SETUP setup;
    setup.dataFolder = data.Path();
    GameTestApp game(setup);
    CCroquet* room = EnterOn(game);
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(room->IsLevelPlayable()) << GetLastErrorMessage();
    EXPECT_EQ(room->GetModel().GetShotsAllowed(), 7); // the room's MaxNumShots
    EXPECT_EQ(room->GetBalls().size(), 2u);
    ASSERT_EQ(room->GetLines().size(), 2u);
    CxSprite& fence = room->GetLines()[0]->Sprite();
    EXPECT_TRUE(fence.IsShown());
    EXPECT_LE(fence.GetWidth(), 800);
    EXPECT_EQ(fence.GetPosition().x, 0);
    EXPECT_FALSE(room->GetLines()[1]->HasPassWindow());
    ASSERT_EQ(room->GetAttractors().size(), 2u);
    EXPECT_TRUE(room->GetAttractors()[0]->Sprite().IsShown());
    // Without a Length the attractor pulls nowhere.
    EXPECT_FALSE(room->GetEngine()->AnyGravityAt({600, 390, 0}));
    EXPECT_TRUE(room->GetEngine()->AnyGravityAt({650, 120, 0}));
    EXPECT_EQ(room->GetWaters().size(), 2u);
    EXPECT_EQ(room->GetWaterDirection(), 2);
    ASSERT_EQ(room->GetWickets().size(), 1u);
    EXPECT_EQ(room->GetWickets()[0].type, 0); // no such template: the first

    // Saved as it stands, the level reads back with its balls and walls.
    TempFolder saved;
    ASSERT_EQ(room->SaveLevel(("<DEFAULT>" + saved / "level9.ini").c_str()), PIM_OK);
    CxOptions back;
    ASSERT_EQ(back.Load((saved / "level9.ini").c_str()), PIM_OK);
    std::vector<ST_BALL_KIND> kinds(2);
    const ST_BALLS_LEVEL reread = ReadBallsLevel(back, kinds);
    ASSERT_TRUE(reread.ok) << reread.error.GetText();
    ASSERT_EQ(reread.balls.size(), 2u);
    EXPECT_FLOAT_EQ(reread.balls[0].position.x, 200.0f);
    EXPECT_FALSE(reread.balls[1].movable);
    ASSERT_EQ(reread.lines.size(), 2u);
    EXPECT_EQ(reread.lines[0].color, 16711680);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST(CroquetOddLevels, ABallWithNoWallToStopItStopsAtTheEdgeAndPlayGoesOn)
{
    CroquetWithLevel data(std::string("[General]\nNumShots=3\nNumBalls=1\n") + kPlayer + "[Hole]\nLocation=620, 235\n");
    ST_GAME_TEST_SETUP setup;
    setup.dataFolder = data.Path();
    GameTestApp game(setup);
    CCroquet* room = EnterOn(game);
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(room->IsLevelPlayable()) << GetLastErrorMessage();
    // As hard as the pointer can go, straight left off the lawn.
    room->OnMouseMove(0, {0, 280});
    room->OnLButtonDown(1, {0, 280});
    for (int t = 0; t < 20000 && room->GetGameState() != ECroquetState::Aiming; t += 10)
        game.Run(10);
    EXPECT_EQ(room->GetGameState(), ECroquetState::Aiming);
    const CBallsBall* ball = room->GetPlayerBall();
    ASSERT_NE(ball, nullptr);
    EXPECT_GE(ball->m_position.x, 0.0f);
    EXPECT_NEAR(ball->m_position.y, 280.0f, 1.0f);
    EXPECT_EQ(room->GetModel().GetShotsLeft(), 2);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST(CroquetOddLevels, HostileNumbersOrNoPlayerBallRefuseTheLevelAndTheRoomGoesOn)
{
    const std::string levels[] = {
        std::string("[General]\nNumBalls=1\n[Golfer]\nLocation=105, 185\n[Ball00]\nBallType=0\nRadius=-5\n"),
        std::string("[General]\nNumBalls=1\n[Ball00]\nBallType=1\nStartPos=300, 300\n"),
    };
    for (const std::string& level : levels) {
        SCOPED_TRACE(level);
        CroquetWithLevel data(level);
        ST_GAME_TEST_SETUP setup;
        setup.dataFolder = data.Path();
        GameTestApp game(setup);
        ResetErrorState();
        CCroquet* room = EnterOn(game);
        ASSERT_NE(room, nullptr);
        EXPECT_FALSE(room->IsLevelPlayable());
        EXPECT_GT(GetErrorCount(), 0);
        EXPECT_EQ(GetLastReportedError(), PIM_ERR_FILE_TYPE);
        // Clicks and frames on the empty level change nothing.
        room->OnMouseMove(0, {400, 300});
        room->OnLButtonDown(1, {400, 300});
        game.Run(500);
        EXPECT_NE(room->GetGameState(), ECroquetState::Rolling);
        ResetErrorState();
    }
}

} // namespace
