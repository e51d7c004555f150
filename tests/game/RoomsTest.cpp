// The game's rooms over the demo data: the title's cast and scene, the
// farmyard's score and prompts, the way between them, the focus, and that
// entering, leaving and entering again leaves the same live objects.
#include "DAX/buttons/CDaxButton.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/display/PimSpriteHandles.h"
#include "PIM/files/CxFileSystem.h"
#include "PIM/sound/PimSound.h"
#include "game/common/CFarmyardMenu.h"
#include "game/common/CTitleScreen.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"

#include <gtest/gtest.h>

namespace {

void Activate(CMarrowdaleApp& app, bool active)
{
    ST_MESSAGE m;
    m.type = EMessage::ActivateApp;
    m.active = active;
    HeadlessWindowOf(app)->Post(m);
}

} // namespace

TEST(Rooms, TheTitleShowsItsDataAndItsCastAndHobGreetsThenPrompts)
{
    GameTestApp game;
    ASSERT_TRUE(game.Enter("Title"));
    auto* title = dynamic_cast<CTitleScreen*>(game.App().GetCurrentRoom());
    ASSERT_NE(title, nullptr);
    // From title/Title.ini: three buttons of its own (Play, Sun, Options),
    // the global Credits button, the windmill, the score.
    EXPECT_EQ(title->GetButtons().GetCount(), 3u);
    EXPECT_NE(title->FindButton("Credits"), nullptr);
    EXPECT_EQ(title->FindButton("Home"), nullptr);
    EXPECT_EQ(title->GetMovieCount(), 1u);
    CDaxCharacter& farmer = title->GetFarmer();
    EXPECT_EQ(farmer.GetParent(), title);
    EXPECT_EQ(title->GetBird().GetStateCount(), 3);
    // The greeting is under way; no prompt while it lasts.
    game.Run(500);
    ASSERT_NE(farmer.GetLips(0), nullptr);
    EXPECT_TRUE(farmer.GetLips(0)->IsSpeaking());
    EXPECT_EQ(title->GetIdle().GetCount(), 0);
    // The scene ends by starting the idle wait: 6 s later the first prompt.
    game.Run(14000);
    EXPECT_EQ(farmer.GetState(), 1);
    game.Run(7000);
    EXPECT_EQ(title->GetIdle().GetCount(), 1);
    // The sun scores ten a click; the third click reaches 30, a milestone.
    for (int i = 0; i < 3; ++i)
        game.App().RunScript("DoEvent('Room.AddScore(10)')");
    game.Run(50);
    EXPECT_EQ(title->GetScoreValue(), 30);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST(Rooms, TheFarmyardIsDataAloneWithTheGlobalButtonsAndItsMusic)
{
    GameTestApp game;
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    auto* farm = dynamic_cast<CFarmyardMenu*>(game.App().GetCurrentRoom());
    ASSERT_NE(farm, nullptr);
    EXPECT_NE(farm->FindButton("Hen"), nullptr);
    EXPECT_NE(farm->FindButton("Home"), nullptr);
    EXPECT_NE(farm->FindButton("Credits"), nullptr);
    EXPECT_EQ(farm->GetBorrowedButtonCount(), 2u);
    // Five eggs: the first milestone's sequence runs on the room's channel.
    for (int i = 0; i < 5; ++i)
        game.App().RunScript("DoEvent('Room.AddScore(1)')");
    game.Run(50);
    EXPECT_EQ(farm->GetScoreValue(), 5);
    EXPECT_FALSE(IsChannelEmpty(farm->GetChannel()));
    // Home goes back to the title.
    game.App().RunScript("GotoRoom('Title')");
    game.Run(2000);
    EXPECT_STREQ(game.App().GetCurRoomName(), "Title");
    // The farmyard gave its global buttons back.
    EXPECT_EQ(farm->GetBorrowedButtonCount(), 0u);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST(Rooms, LosingTheFocusSilencesTheGameAndGivesTheVolumeBackAcrossARoomChange)
{
    GameTestApp game;
    ASSERT_TRUE(game.Enter("Title"));
    SetMasterVolume(90);
    CxGameWindow* title = game.App().GetCurrentRoom();
    Activate(game.App(), false);
    game.Run(50);
    EXPECT_EQ(GetMasterVolume(), 0);
    EXPECT_EQ(title->GetPauseCount(), 1);
    // A script goes on to another room while the window is away.
    game.App().RunScript("GotoRoom('FarmyardMenu')");
    game.Run(2000);
    Activate(game.App(), true);
    game.Run(50);
    EXPECT_EQ(GetMasterVolume(), 90);
    // The pause went back to the room that took it.
    EXPECT_EQ(title->GetPauseCount(), 0);
    EXPECT_EQ(game.App().GetCurrentRoom()->GetPauseCount(), 0);
}

TEST(Rooms, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    // Counted once the title's opening scene is over: a subtitle the scene
    // started runs to its own end, whatever room is on screen by then.
    GameTestApp game;
    for (const char* room : {"Title", "FarmyardMenu"}) {
        ASSERT_TRUE(game.Enter(room)) << room;
        game.Run(16000);
        const ST_LIVE first = Live();
        ASSERT_TRUE(game.Enter(PimStrEqual(room, "Title") ? "FarmyardMenu" : "Title"));
        game.Run(16000);
        ASSERT_TRUE(game.Enter(room));
        game.Run(16000);
        EXPECT_EQ(Live(), first) << room;
    }
    EXPECT_EQ(GetErrorCount(), 0);
}
