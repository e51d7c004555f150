// The title room over the demo data: what it shows, and that entering,
// leaving and entering again leaves the same live objects.
#include "PIM/app/CxEventListener.h"
#include "PIM/app/CxGameConsole.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/display/PimSpriteHandles.h"
#include "game/shell/CTitleScene.h"
#include "tests/game/GameTestApp.h"

#include <gtest/gtest.h>

namespace {

// What lives: the room's display objects and the root's (the console's
// output grows with what the scenes print, so it does not count), channels,
// listeners, main-loop hooks.
struct ST_LIVE
{
    int displayObjects;
    size_t channels;
    size_t listeners;
    size_t hooks;
    bool operator==(const ST_LIVE&) const = default;
};

ST_LIVE Live()
{
    const CxDisplayObject* root = GetRootObject();
    int objects = 0;
    for (auto* node = root ? root->GetChildren().GetFirst() : nullptr; node; node = node->GetNext()) {
        const CxDisplayObject* child = node->GetElement();
        objects += dynamic_cast<const CxGameConsole*>(child) ? 1 : 1 + child->CountChildren(PIM_COUNT_RECURSIVE);
    }
    return {objects, GetChannelCount(),
            CxEventListener::GetListenerCount(), CxMainLoopHook::GetHookCount()};
}

} // namespace

TEST(TitleScene, ShowsTheFarmerTheBirdAndTheButtonsAndTheFarmerSpeaks)
{
    GameTestApp game;
    ASSERT_TRUE(game.Enter("Title"));
    auto* title = static_cast<CTitleScene*>(game.App().GetCurrentRoom());
    CDaxCharacter& farmer = title->GetFarmer();
    EXPECT_EQ(farmer.GetParent(), title);
    EXPECT_EQ(farmer.GetStateCount(), 2);
    EXPECT_EQ(title->GetBird().GetStateCount(), 3);
    for (int i = 0; i < CTitleScene::kButtons; ++i)
        EXPECT_EQ(title->GetButton(i).GetParent(), title) << i;
    // The greeting is under way: state 0's mouth speaks.
    game.Run(500);
    ASSERT_NE(farmer.GetLips(0), nullptr);
    EXPECT_TRUE(farmer.GetLips(0)->IsSpeaking());
    // After his three lines he stands (state 1), silent.
    game.Run(12000);
    EXPECT_EQ(farmer.GetState(), 1);
    EXPECT_FALSE(farmer.GetLips(0)->IsSpeaking());
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST(TitleScene, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    // Counted once the opening scene is over: a subtitle the scene started
    // runs to its own end, whatever room is on screen by then.
    GameTestApp game;
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(13000);
    const ST_LIVE first = Live();
    const size_t handles = GetSpriteHandleCount();
    ASSERT_TRUE(game.Enter("Login"));
    ASSERT_TRUE(game.Enter("Title"));
    game.Run(13000);
    EXPECT_EQ(Live(), first);
    EXPECT_EQ(GetSpriteHandleCount(), handles);
    EXPECT_EQ(GetErrorCount(), 0);
}
