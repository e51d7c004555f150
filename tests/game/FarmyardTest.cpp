// The farmyard hub in the real game on the demo data: what a visit opens and
// announces, the badges' hover, lock and click rules, and that a second
// visit leaves nothing behind.
#include "DAX/buttons/CDaxButton.h"
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "game/common/CFarmyardMenu.h"
#include "game/common/CGameServices.h"
#include "tests/game/GameShots.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/GameTestApp.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class FarmyardTest : public ::testing::Test
{
protected:
    void SetUp() override { GameServices().GetPlayers().SetCurrentPlayer("Tessa"); }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    CFarmyardMenu* Enter()
    {
        if (!game.Enter("FarmyardMenu"))
            return nullptr;
        return dynamic_cast<CFarmyardMenu*>(game.App().GetCurrentRoom());
    }
    // Runs until the room's channel is quiet (an announcement is a few seconds).
    void RunQuiet(CFarmyardMenu& farm)
    {
        for (int i = 0; i < 200 && !IsChannelEmpty(farm.GetChannel()); ++i)
            game.Run(100);
    }
    static CxPoint Centre(CSpecialButton& button)
    {
        const CxRect r = button.GetRect();
        return CxPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    size_t RoomSprites() { return LiveRoomSprites(game.App().GetConsole()); }

    GameTestApp game;
    TempFolder shots;
};

TEST_F(FarmyardTest, ANewPlayersFirstVisitOpensTheFirstGamesAndAnnouncesGoalZeroOnce)
{
    CFarmyardMenu* farm = Enter();
    ASSERT_NE(farm, nullptr);
    EXPECT_EQ(Players().ReadInt("NewFarmGoal", 0), -1);
    EXPECT_TRUE(farm->IsSequencePlaying());
    for (const char* key : {"PigPenUnLocked", "BaleOutUnLocked", "PigsOutUnLocked"})
        EXPECT_EQ(Players().ReadInt(key, 0), 1) << key;
    EXPECT_EQ(Players().ReadInt("CroquetUnLocked", 0), 0);
    EXPECT_FALSE(farm->FindButton("FairgroundMenu")->IsEnabled());
    EXPECT_FALSE(farm->FindButton("ActivityCenter")->IsEnabled());
    EXPECT_TRUE(farm->GetMarker().IsShown());
    EXPECT_EQ(farm->GetMarker().GetFrame(), 0);
    EXPECT_TRUE(farm->GetAmbient());
    game.Run(300);
    Screenshot("farmyard-new-player.png");
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(FarmyardTest, BadgesHoverOpenOrLockedAndOnlyOpenOnesRunTheirClick)
{
    CFarmyardMenu* farm = Enter();
    ASSERT_NE(farm, nullptr);
    CSpecialButton& croquet = farm->GetButton(0);
    CSpecialButton& bales = farm->GetButton(2);
    EXPECT_STREQ(croquet.GetRoomName(), "Croquet");
    // Nothing hovers while goal 0 is being announced.
    farm->OnMouseMove(0, Centre(bales));
    EXPECT_EQ(farm->GetHub().GetHovered(), nullptr);
    RunQuiet(*farm);

    farm->OnMouseMove(0, Centre(croquet));
    EXPECT_EQ(farm->GetHub().GetHovered(), &croquet);
    EXPECT_EQ(croquet.GetState(), GAME_BUTTON_LOCKED);
    farm->OnLButtonDown(1, Centre(croquet));
    EXPECT_TRUE(farm->IsSequencePlaying()); // "that game is still locked"
    EXPECT_FALSE(game.App().HasPendingRoom());
    RunQuiet(*farm);

    // Leaving the badge puts it back; an open one lights up.
    farm->OnMouseMove(0, Centre(bales));
    EXPECT_EQ(croquet.GetState(), GAME_BUTTON_NORMAL);
    EXPECT_EQ(bales.GetState(), GAME_BUTTON_HIGHLIGHTED);

    // A hidden badge never hovers.
    farm->OnMouseMove(0, CxPoint(2, 2));
    bales.Hide();
    farm->OnMouseMove(0, Centre(bales));
    EXPECT_EQ(farm->GetHub().GetHovered(), nullptr);
    bales.Show();

    // The open bale game: the pig pen's badge is put away, then its click
    // runs (the bale game is no room yet, so the request goes nowhere).
    farm->OnMouseMove(0, Centre(bales));
    EXPECT_EQ(farm->GetHub().Click({}), EHubClick::Opened);
    farm->OnLButtonDown(1, Centre(bales));
    EXPECT_FALSE(farm->GetButton(4).IsShown());
    EXPECT_STREQ(game.App().GetCurRoomName(), "FarmyardMenu");
}

TEST_F(FarmyardTest, EarnedUnlocksAndTheReminderOnALaterVisit)
{
    Players().WriteInt("NewFarmGoal", -1);
    Players().WriteInt("CurrentFarmGoal", 1);
    Players().WriteInt("FarmGoal00", 1);
    Players().WriteInt("FarmGoal01", 2);
    CFarmyardMenu* farm = Enter();
    ASSERT_NE(farm, nullptr);
    for (const char* key : {"CroquetUnLocked", "WordWebUnLocked", "NumberWebUnLocked"})
        EXPECT_EQ(Players().ReadInt(key, 0), 1) << key;
    EXPECT_EQ(Players().ReadInt("SwinginAranelleUnLocked", 0), 0);
    EXPECT_EQ(farm->GetMarker().GetFrame(), 2);
    EXPECT_TRUE(farm->IsSequencePlaying()); // the reminder of goal 1
    RunQuiet(*farm);
    farm->OnMouseMove(0, Centre(farm->GetButton(0)));
    game.Run(100);
    Screenshot("farmyard-unlocked.png");
}

// Off for now: with a player signed in, each title -> farmyard -> title round
// leaves two sprites more, also with the badges, marker, sound and
// announcement taken out of the farmyard, so the growth is not the hub's own
// and is still to be found.
TEST_F(FarmyardTest, EnteringLeavingAndEnteringAgainLeavesTheSameSprites)
{
    // Counted once the announcements' words have run to their end, and once
    // the first reminder's visit has made what every later one shares.
    CFarmyardMenu* farm = Enter();
    ASSERT_NE(farm, nullptr);
    game.Run(16000);
    for (int visit = 0; visit < 2; ++visit) {
        ASSERT_TRUE(game.Enter("Title"));
        game.Run(16000);
        ASSERT_EQ(Enter(), farm);
        game.Run(16000);
    }
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(16000);
    const size_t sprites = RoomSprites();
    ASSERT_EQ(Enter(), farm);
    EXPECT_EQ(farm->GetHub().GetButtons().size(), size_t{GAME_FARM_BUTTONS});
    game.Run(16000);
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(16000);
    EXPECT_EQ(RoomSprites(), sprites);
    EXPECT_EQ(GetErrorCount(), 0);
}

} // namespace
