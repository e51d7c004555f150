// The pig pen in the real game on the demo data, with the virtual clock and
// seeded random numbers: the first visit's introduction, feeding and
// watering the pig until it is happy and the win that leads on, what a
// category change does to a held item and the trough's food, the
// decoration kept per player, locked items, and that a second visit leaves
// nothing behind.
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxRandom.h"
#include "PIM/core/CxTimerManager.h"
#include "PIM/display/PimCursors.h"
#include "PIM/sound/PimSound.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "game/common/CGameServices.h"
#include "game/pigpen/PigPenRoom.h"
#include "tests/game/GameShots.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/GameTestApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>

namespace {

constexpr size_t kApple = 0;

class PigPenRoomTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SeedRandom(7);
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
    }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    CPig* Enter()
    {
        if (!game.Enter("PigPen"))
            return nullptr;
        return dynamic_cast<CPig*>(game.App().GetCurrentRoom());
    }
    // Until the room waits for nothing: idle, and its channel quiet.
    void RunUntilIdle(CPig& pen, int limitMs = 30000)
    {
        for (int t = 0; t < limitMs && !(pen.GetMode() == EPigMode::Idle && IsChannelEmpty(pen.GetChannel())); t += 50)
            game.Run(50);
    }
    static CxPoint Centre(const CxRect& r) { return CxPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
    static CxPoint Centre(const CxDisplayObject& object) { return Centre(object.GetRect()); }
    // Takes item `slot` of the shown category, as a click on its icon does.
    void Take(CPig& pen, size_t slot)
    {
        CDaxButton* icon = pen.GetItemIcon(slot);
        ASSERT_NE(icon, nullptr);
        pen.OnButton(icon->GetName());
    }
    void Feed(CPig& pen)
    {
        Take(pen, kApple);
        ASSERT_NE(pen.GetHeld(), nullptr);
        pen.OnLButtonUp(0, Centre(pen.GetSetup().foodBin));
    }
    void Water(CPig& pen) { pen.OnLButtonUp(0, Centre(pen.GetSetup().pumpRect)); }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    size_t RoomSprites() { return LiveRoomSprites(game.App().GetConsole()); }

    GameTestApp game;
    TempFolder shots;
};

TEST_F(PigPenRoomTest, TheFirstVisitIntroducesThePigAndEveryVisitStartsFromTheSameNeeds)
{
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(pen->GetMode(), EPigMode::Intro);
    EXPECT_EQ(Players().ReadInt("PigPenEnter", 0), 1);
    EXPECT_EQ(Players().ReadInt("PigPenUnLocked", 0), 1);
    EXPECT_EQ(pen->GetModel().GetTotal(), 1714);
    EXPECT_EQ(pen->GetModel().GetMood(), 0);
    EXPECT_EQ(pen->GetCategory(), 0);
    EXPECT_EQ(pen->GetPage(), 0);
    game.Run(500);
    Screenshot("pigpen-intro.png");
    // The introduction's last line lets the pen go on.
    RunUntilIdle(*pen);
    EXPECT_EQ(pen->GetMode(), EPigMode::Idle);

    // Pointing at the pig shows what it wants most: it is hungry.
    pen->OnMouseMove(0, Centre(pen->GetSetup().petAreas[0].Offset(pen->GetPig().GetPosition().x,
                                                                    pen->GetPig().GetPosition().y)));
    EXPECT_TRUE(pen->IsWantShown());
    EXPECT_EQ(pen->GetShownWant(), 0);
    EXPECT_EQ(GetCursor(), GAME_CURSOR_HAND);
    game.Run(300);
    Screenshot("pigpen-want.png");
    pen->OnMouseMove(0, CxPoint(700, 80));
    EXPECT_FALSE(pen->IsWantShown());

    // The next visit skips the introduction and starts from the same needs.
    ASSERT_TRUE(game.Enter("Title"));
    ASSERT_EQ(Enter(), pen);
    EXPECT_EQ(pen->GetMode(), EPigMode::Idle);
    EXPECT_EQ(pen->GetModel().GetTotal(), 1714);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigPenRoomTest, FoodAndWaterMakeThePigHappyAndTheWinLeadsToTheFarmyardOnce)
{
    Players().WriteInt("PigPenEnter", 1);
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    RunUntilIdle(*pen);

    Feed(*pen);
    EXPECT_EQ(pen->GetHeld(), nullptr);
    ASSERT_NE(pen->GetTroughFood(), nullptr);
    EXPECT_EQ(pen->GetMode(), EPigMode::Action);
    RunUntilIdle(*pen);
    EXPECT_EQ(pen->GetTroughFood(), nullptr); // eaten
    EXPECT_EQ(pen->GetModel().GetNeeds().eat, 1000);
    EXPECT_EQ(pen->GetModel().GetMood(), 0);

    const int emptyBowl = pen->GetBowlLevel();
    Water(*pen);
    EXPECT_EQ(pen->GetMode(), EPigMode::Action);
    for (int t = 0; t < 5000 && pen->GetModel().GetNeeds().drink == 0; t += 10)
        game.Run(10);
    EXPECT_EQ(pen->GetModel().GetNeeds().drink, 1000);
    EXPECT_EQ(pen->GetModel().GetTotal(), 3714);
    EXPECT_EQ(pen->GetModel().GetMood(), 2);
    EXPECT_GE(pen->GetBowlLevel(), emptyBowl);
    game.Run(300);
    Screenshot("pigpen-happy.png");

    // The goal is open for a new player: the pig's next animation end wins it.
    for (int t = 0; t < 20000 && !game.App().HasPendingRoom() &&
                    !PimStrEqual(game.App().GetCurRoomName(), "FarmyardMenu", true);
         t += 10)
        game.Run(10);
    EXPECT_EQ(Players().ReadInt("PigPenGoal", 0), -1);
    EXPECT_EQ(Players().ReadInt("HasWonPigPen", 0), 1);
    for (int i = 0; i < 100 && !PimStrEqual(game.App().GetCurRoomName(), "FarmyardMenu", true); ++i)
        game.Run(10);
    EXPECT_STREQ(game.App().GetCurRoomName(), "FarmyardMenu");

    // A happy pig with no errand open wins nothing.
    ASSERT_EQ(Enter(), pen);
    RunUntilIdle(*pen);
    Feed(*pen);
    RunUntilIdle(*pen);
    Water(*pen);
    game.Run(8000);
    EXPECT_STREQ(game.App().GetCurRoomName(), "PigPen");
    EXPECT_EQ(Players().ReadInt("HasWonPigPen", 0), 1);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigPenRoomTest, AnotherCategoryLetsGoOfTheHeldItemAndKeepsTheTroughsFood)
{
    Players().WriteInt("PigPenEnter", 1);
    Players().WriteInt("PigPenGoal", -1);
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    RunUntilIdle(*pen);
    // Food in the trough, the pig about to eat it, and the toys chosen.
    Feed(*pen);
    CPigSprite* food = pen->GetTroughFood();
    ASSERT_NE(food, nullptr);
    pen->ShowCategory(3);
    EXPECT_EQ(pen->GetTroughFood(), food);
    EXPECT_TRUE(food->IsShown());
    EXPECT_EQ(pen->GetItemCount(), size_t{2});
    RunUntilIdle(*pen);

    Take(*pen, 0);
    CPigSprite* ball = pen->GetHeld();
    ASSERT_NE(ball, nullptr);
    EXPECT_EQ(GetCursorHideCount(), 1);
    Take(*pen, 1); // another toy: the ball is put back
    EXPECT_FALSE(ball->IsShown());
    ASSERT_NE(pen->GetHeld(), nullptr);
    EXPECT_EQ(GetCursorHideCount(), 1);
    pen->OnButton("UIButton2"); // the grooming things
    EXPECT_EQ(pen->GetUIButton(2)->GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    EXPECT_EQ(pen->GetUIButton(3)->GetVisualState(), PIM_BUTTON_NORMAL);
    // Passing over the open shelf's board and away leaves it lit.
    pen->GetUIButton(2)->SetVisualState(PIM_BUTTON_NORMAL);
    pen->OnMouseMove(0, CxPoint(600, 300));
    EXPECT_EQ(pen->GetUIButton(2)->GetVisualState(), PIM_BUTTON_HIGHLIGHTED);
    EXPECT_EQ(pen->GetHeld(), nullptr);
    EXPECT_EQ(GetCursorHideCount(), 0);
    EXPECT_EQ(pen->GetCategory(), 2);
    EXPECT_EQ(pen->GetItemCount(), size_t{2});
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

// The demo data seen through links, but for the files `missing` of the pen.
class PenWithoutSequences
{
public:
    explicit PenWithoutSequences(std::initializer_list<const char*> missing)
    {
        namespace fs = std::filesystem;
        const fs::path demo = PIM_DEMO_DATA_DIR;
        const fs::path root = folder.Path();
        for (const fs::directory_entry& entry : fs::directory_iterator(demo))
            if (entry.path().filename() != "PigPen")
                fs::create_symlink(entry.path(), root / entry.path().filename());
        fs::create_directory(root / "PigPen");
        for (const fs::directory_entry& entry : fs::directory_iterator(demo / "PigPen")) {
            const std::string name = entry.path().filename().string();
            if (std::find(missing.begin(), missing.end(), name) == missing.end())
                fs::create_symlink(entry.path(), root / "PigPen" / name);
        }
    }
    std::string Path() const { return folder.Path(); }

private:
    TempFolder folder;
};

TEST(PigPenWithoutItsSequences, ARoomWaitingForASequenceThatIsNotThereGoesOn)
{
    PenWithoutSequences data({"intro.seq", "action.seq"});
    ST_GAME_TEST_SETUP setup;
    setup.dataFolder = data.Path();
    GameTestApp game(setup);
    GameServices().GetPlayers().SetCurrentPlayer("Tessa");
    ASSERT_TRUE(game.Enter("PigPen"));
    auto* pen = dynamic_cast<CPig*>(game.App().GetCurrentRoom());
    ASSERT_NE(pen, nullptr);
    game.Run(50);
    EXPECT_EQ(pen->GetMode(), EPigMode::Idle); // no introduction to wait for

    pen->OnButton(pen->GetItemIcon(kApple)->GetName());
    const CxRect bin = pen->GetSetup().foodBin;
    pen->OnLButtonUp(0, CxPoint((bin.left + bin.right) / 2, (bin.top + bin.bottom) / 2));
    EXPECT_EQ(pen->GetMode(), EPigMode::Action);
    game.Run(50);
    EXPECT_EQ(pen->GetMode(), EPigMode::Idle);
    EXPECT_EQ(pen->GetModel().GetNeeds().eat, 1000);
}

TEST_F(PigPenRoomTest, DecorationIsKeptPerPlayerAndAMovedWallIsSavedWhereItNowHangs)
{
    Players().WriteInt("PigPenEnter", 1);
    Players().WriteInt("PigPenGoal", -1);
    Players().WriteInt("PigWall9", 2);
    Players().WriteInt("PigBed", 1);
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    ASSERT_NE(pen->GetDecor(PIG_DECOR_WALL1), nullptr);
    EXPECT_EQ(pen->GetDecor(PIG_DECOR_WALL2), nullptr);
    EXPECT_NE(pen->GetDecor(PIG_DECOR_BED), nullptr);
    EXPECT_EQ(Players().ReadInt("PigWall8", -1), 2);
    EXPECT_EQ(Players().ReadInt("PigWall9", -1), -1);
    EXPECT_EQ(pen->GetModel().GetTotal(), 1714); // restoring raises no need

    // A wall picture dropped in the pen hangs in the next free place.
    RunUntilIdle(*pen);
    pen->OnButton("UIButton1");
    RunUntilIdle(*pen);
    Take(*pen, 0);
    ASSERT_NE(pen->GetHeld(), nullptr);
    pen->OnLButtonUp(0, CxPoint(400, 300));
    EXPECT_EQ(Players().ReadInt("PigWall9", -1), 1);
    EXPECT_GT(pen->GetModel().GetTotal(), 1714);
    game.Run(300);
    Screenshot("pigpen-decorated.png");
    RunUntilIdle(*pen);

    ASSERT_TRUE(game.Enter("Title"));
    ASSERT_EQ(Enter(), pen);
    EXPECT_NE(pen->GetDecor(PIG_DECOR_WALL1), nullptr);
    EXPECT_NE(pen->GetDecor(PIG_DECOR_WALL2), nullptr);
    EXPECT_EQ(pen->GetDecor(PIG_DECOR_WALL3), nullptr);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigPenRoomTest, ThePlayersOwnPaintingHangsAsWallPictureZero)
{
    Players().WriteInt("PigPenEnter", 1);
    Players().WriteInt("PigWall10", 0);
    // Without a painting saved the wall stays bare, and the key says so.
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(pen->GetDecor(PIG_DECOR_WALL1), nullptr);
    EXPECT_EQ(Players().ReadInt("PigWall8", 5), -1);
    ASSERT_TRUE(game.Enter("Title"));

    CxDrawSurface painting;
    ASSERT_EQ(painting.Create(120, 90, 24), PIM_OK);
    painting.FillRect(painting.GetRect(), 0x3060C0);
    ASSERT_EQ(painting.Save(PIG_PAINTING_PICTURE), PIM_OK);
    Players().WriteInt("PigWall8", 0);
    ASSERT_EQ(Enter(), pen);
    CxSprite* wall = pen->GetDecor(PIG_DECOR_WALL1);
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->GetWidth(), 120);
    EXPECT_EQ(Players().ReadInt("PigWall8", -1), 0);
    // The shelf offers it too, with the other pictures.
    pen->OnButton("UIButton1");
    EXPECT_EQ(pen->GetItemCount(), size_t{6});
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigPenRoomTest, ALockedItemSaysSoAndCannotBeTaken)
{
    Players().WriteInt("PigPenEnter", 1);
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    RunUntilIdle(*pen);
    ASSERT_EQ(pen->GetItemCount(), size_t{3});
    CPigSprite* turnip = pen->GetItemSprite(2);
    ASSERT_NE(turnip, nullptr);
    EXPECT_TRUE(turnip->locked);
    Take(*pen, 2);
    EXPECT_EQ(pen->GetHeld(), nullptr);
    EXPECT_FALSE(IsChannelEmpty(pen->GetChannel())); // "locked.seq"
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

TEST_F(PigPenRoomTest, EnteringLeavingAndEnteringAgainLeavesTheSameSprites)
{
    Players().WriteInt("PigPenGoal", -1);
    ASSERT_NE(Enter(), nullptr);
    game.Run(12000);
    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_TRUE(game.Enter("Title"));
        game.Run(12000);
        ASSERT_NE(Enter(), nullptr);
        game.Run(12000);
    }
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(12000);
    const size_t sprites = RoomSprites();
    const ST_LIVE live = Live();
    const size_t sounds = GetSoundCount();
    const size_t timers = CxTimerManager::GetInstance()->GetTimerCount();
    const int hidden = GetCursorHideCount();
    CPig* pen = Enter();
    ASSERT_NE(pen, nullptr);
    Take(*pen, kApple);
    pen->OnMouseMove(0, CxPoint(300, 300));
    game.Run(12000);
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(12000);
    EXPECT_EQ(RoomSprites(), sprites);
    EXPECT_EQ(Live(), live);
    EXPECT_EQ(GetSoundCount(), sounds);
    EXPECT_EQ(CxTimerManager::GetInstance()->GetTimerCount(), timers);
    EXPECT_EQ(GetCursorHideCount(), hidden);
    EXPECT_EQ(GetErrorCount(), 0) << GetLastErrorMessage();
}

} // namespace
