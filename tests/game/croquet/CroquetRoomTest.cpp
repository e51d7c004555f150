// Croquet in the real game on the demo data, through the real level
// dialogs: level 0 laid out from its file, the aim following the pointer,
// shots aimed at each wicket and then at the hole until the level is won and
// the farm's progress is kept; a level lost for want of shots starting over;
// and a second visit leaving nothing behind.
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/Pimstr.h"
#include "game/common/CGameServices.h"
#include "game/common/CStartLevelDialog.h"
#include "game/common/CWinLevelDialog.h"
#include "game/croquet/CroquetRoom.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/RoomVisits.h"
#include "tests/game/ModalDriver.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

class CroquetRoomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SeedRandom(26);
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
        Players().WriteInt("PigPenGoal", -1);
        Players().WriteInt("CroquetUnLocked", 1);
        game.App().SetUnattended(false);
    }
    void TearDown() override { game.App().SetUnattended(true); }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    ModalDriver::Step Player()
    {
        return [this](CxDisplayObject& dialog, int pass) {
            const bool start = dynamic_cast<CStartLevelDialog*>(&dialog) != nullptr;
            if (pass != 4 || (!start && !dynamic_cast<CWinLevelDialog*>(&dialog)))
                return;
            EXPECT_TRUE(ClickDialogButton(game.App(), dialog, start ? "Play" : "OK"));
            answered.push_back(start ? "start" : "win");
        };
    }
    CCroquet* Enter()
    {
        if (!game.Enter("Croquet"))
            return nullptr;
        game.Run(200);
        return dynamic_cast<CCroquet*>(game.App().GetCurrentRoom());
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    static CxPoint BallAt(const CCroquet& room)
    {
        const CBallsBall* ball = room.GetPlayerBall();
        return ball ? CxPoint{static_cast<int32_t>(ball->m_position.x), static_cast<int32_t>(ball->m_position.y)}
                    : CxPoint{0, 0};
    }
    // Where the next shot goes: the middle of the next wicket, else the
    // hole's mouth.
    static CxPoint NextGoal(CCroquet& room)
    {
        const int next = room.GetModel().GetNextWicket();
        const CxRect box = static_cast<size_t>(next) < room.GetWickets().size()
                               ? room.GetWickets()[static_cast<size_t>(next)].sprite->GetRect()
                               : CxRect(room.GetHole().GetPosition().x + 20, room.GetHole().GetPosition().y + 30,
                                        room.GetHole().GetPosition().x + room.GetHole().GetWidth() - 10,
                                        room.GetHole().GetPosition().y + room.GetHole().GetHeight());
        return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    }
    // A shot that rolls a little past `goal`: a ball rolls about 40 times its
    // speed, and the speed is a tenth of the pointer's distance.
    static CxPoint AimPast(CxPoint from, CxPoint goal, float extra = 80.0f)
    {
        const float dx = static_cast<float>(goal.x - from.x), dy = static_cast<float>(goal.y - from.y);
        const float distance = std::max(1.0f, std::sqrt(dx * dx + dy * dy));
        const float pull = std::max(30.0f, (distance + extra) / 4.0f);
        return {from.x + static_cast<int32_t>(dx / distance * pull), from.y + static_cast<int32_t>(dy / distance * pull)};
    }
    // One shot: the pointer moved to `at`, a click, then frames until the
    // room waits for an aim again (or the level is over).
    void Shoot(CCroquet& room, CxPoint at)
    {
        room.OnMouseMove(0, at);
        room.OnLButtonDown(1, at);
        for (int t = 0; t < 20000; t += 10) {
            game.Run(10);
            const ECroquetState state = room.GetGameState();
            if (state == ECroquetState::Aiming || state >= ECroquetState::Won)
                return;
        }
    }

    GameTestApp game;
    TempFolder shots;
    std::vector<std::string> answered;
};

TEST_F(CroquetRoomTest, LevelZeroIsLaidOutFromItsFileAndTheAimFollowsThePointer)
{
    ModalDriver driver(Player());
    CCroquet* room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(answered, std::vector<std::string>{"start"});
    ASSERT_TRUE(room->IsLevelPlayable()) << GetLastErrorMessage();
    EXPECT_EQ(room->GetLevel(), 0);
    EXPECT_EQ(room->GetGameState(), ECroquetState::Aiming);
    const CGolfer* golfer = room->GetGolfer();
    ASSERT_NE(golfer, nullptr);
    // The ball lies at the character's feet, centred on the ball offset.
    const CxPoint ball = BallAt(*room);
    EXPECT_EQ(ball.x, golfer->GetPosition().x + golfer->m_ballOffset.x);
    EXPECT_EQ(ball.y, golfer->GetPosition().y + golfer->m_ballOffset.y);
    EXPECT_FALSE(room->GetWickets().empty());
    const int shotsAllowed = room->GetModel().GetShotsAllowed();
    for (size_t i = 0; i < room->GetShotMarkerCount(); ++i)
        EXPECT_EQ(room->IsShotMarkerShown(i), static_cast<int>(i) < shotsAllowed) << i;

    // Too short an aim hides the aimer; a longer one shows dots toward the
    // pointer and the cone on it.
    room->OnMouseMove(0, {ball.x + 10, ball.y});
    EXPECT_FALSE(room->GetAimer().Cone().IsShown());
    const CxPoint goal = NextGoal(*room);
    const CxPoint aim = AimPast(ball, goal);
    room->OnMouseMove(0, aim);
    game.Run(50);
    EXPECT_TRUE(room->GetAimer().Cone().IsShown());
    EXPECT_EQ(room->GetAimer().Cone().GetFrame(), CroquetConeFrame(ball, aim));
    Screenshot("croquet-aiming.png");

    // The click: the swing, then the ball rolls and a shot marker goes.
    room->OnLButtonDown(1, aim);
    EXPECT_EQ(room->GetGameState(), ECroquetState::Kicking);
    EXPECT_FALSE(room->GetAimer().Cone().IsShown());
    for (int t = 0; t < 3000 && room->GetGameState() == ECroquetState::Kicking; t += 10)
        game.Run(10);
    EXPECT_EQ(room->GetGameState(), ECroquetState::Rolling);
    EXPECT_EQ(room->GetModel().GetShotsLeft(), shotsAllowed - 1);
    EXPECT_FALSE(room->IsShotMarkerShown(static_cast<size_t>(shotsAllowed - 1)));
    game.Run(300);
    Screenshot("croquet-rolling.png");
    EXPECT_GT(room->GetTickCount(), 0);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(CroquetRoomTest, ShotsThroughEveryWicketAndIntoTheHoleWinLevelZero)
{
    ModalDriver driver(Player());
    CCroquet* room = Enter();
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(room->IsLevelPlayable()) << GetLastErrorMessage();
    std::vector<CxPoint> clicks;
    for (int shot = 0; shot < 10 && room->GetGameState() == ECroquetState::Aiming; ++shot) {
        const CxPoint aim = AimPast(BallAt(*room), NextGoal(*room));
        clicks.push_back(aim);
        Shoot(*room, aim);
    }
    std::string route;
    for (const CxPoint& click : clicks)
        route += " (" + std::to_string(click.x) + "," + std::to_string(click.y) + ")";
    SCOPED_TRACE("clicks:" + route);
    EXPECT_EQ(room->GetModel().GetNextWicket(), static_cast<int>(room->GetWickets().size()));
    for (int t = 0; t < 600 && room->GetGameState() == ECroquetState::Won; t += 10)
        game.Run(10);
    Screenshot("croquet-won.png");
    for (int t = 0; t < 5000 && Players().ReadInt("CroquetLevel", 0) == 0; t += 10)
        game.Run(10);
    EXPECT_EQ(Players().ReadInt("CroquetLevel", 0), 1);
    EXPECT_GE(room->GetScoreValue(), 100 * static_cast<int>(room->GetWickets().size()) + 250);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(CroquetRoomTest, LevelsTwoAndThreeAreWonWithinTheirShotsByAimingAtEachGoal)
{
    ModalDriver driver(Player());
    for (int level = 1; level <= 2; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        Players().WriteInt("CroquetLevel", level);
        CCroquet* room = Enter();
        ASSERT_NE(room, nullptr);
        ASSERT_EQ(room->GetLevel(), level);
        ASSERT_TRUE(room->IsLevelPlayable()) << GetLastErrorMessage();
        Screenshot(("croquet-level" + std::to_string(level) + ".png").c_str());
        const int allowed = room->GetModel().GetShotsAllowed();
        for (int shot = 0; shot < allowed && room->GetGameState() == ECroquetState::Aiming; ++shot)
            Shoot(*room, AimPast(BallAt(*room), NextGoal(*room)));
        EXPECT_TRUE(room->GetGameState() == ECroquetState::Won || room->GetGameState() == ECroquetState::Finished)
            << static_cast<int>(room->GetGameState()) << ", shots left " << room->GetModel().GetShotsLeft();
        for (int t = 0; t < 5000 && Players().ReadInt("CroquetLevel", 0) == level; t += 10)
            game.Run(10);
        EXPECT_EQ(Players().ReadInt("CroquetLevel", 0), level + 1);
        ASSERT_TRUE(game.Enter("Title"));
    }
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(CroquetRoomTest, RunningOutOfShotsLosesAndTheLevelStartsAgain)
{
    ModalDriver driver(Player());
    CCroquet* room = Enter();
    ASSERT_NE(room, nullptr);
    ASSERT_TRUE(room->IsLevelPlayable()) << GetLastErrorMessage();
    const int shotsAllowed = room->GetModel().GetShotsAllowed();
    // Gentle taps straight up, far from every wicket and the hole.
    for (int shot = 0; shot < shotsAllowed; ++shot) {
        const CxPoint ball = BallAt(*room);
        Shoot(*room, {ball.x, ball.y - 27});
    }
    EXPECT_TRUE(room->GetGameState() == ECroquetState::Lost || room->GetGameState() == ECroquetState::LostWait)
        << static_cast<int>(room->GetGameState());
    for (int t = 0; t < 8000 && room->GetGameState() != ECroquetState::Aiming; t += 10)
        game.Run(10);
    EXPECT_EQ(room->GetGameState(), ECroquetState::Aiming);
    EXPECT_EQ(room->GetModel().GetShotsLeft(), shotsAllowed);
    EXPECT_EQ(Players().ReadInt("CroquetLevel", 0), 0);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(CroquetRoomTest, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    ModalDriver driver(Player());
    ASSERT_TRUE(VisitTwiceAndSettle(game, [this] { return Enter() != nullptr; }));
    const ST_ROOM_LIVE before = RoomLive(game);
    CCroquet* room = Enter();
    ASSERT_NE(room, nullptr);
    const size_t objects = room->CountLiveObjects();
    const CxPoint ball = BallAt(*room);
    room->OnMouseMove(0, {ball.x + 100, ball.y});
    room->OnLButtonDown(1, {ball.x + 100, ball.y});
    game.Run(400); // leaving mid-roll
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(3000);
    EXPECT_EQ(RoomLive(game), before);
    room = Enter();
    ASSERT_NE(room, nullptr);
    EXPECT_EQ(room->CountLiveObjects(), objects);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
