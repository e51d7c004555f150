// The activity centre in the real game on the demo data: the first visit's
// welcome once, the keys it opens, the codes dialog's text, the quiz only in
// English, and that entering, leaving and entering again leaves the same
// live objects.
#include "DAX/buttons/CDaxButton.h"
#include "DAX/dialogs/CDaxDialog.h"
#include "PIM/core/CxError.h"
#include "game/common/CActivityCenter.h"
#include "game/common/CCodeDialog.h"
#include "game/common/CGameServices.h"
#include "game/common/CYesNoDialog.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/ModalDriver.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ActivityCenterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GameServices().GetPlayers().SetCurrentPlayer("Tessa");
        game.App().SetUnattended(false);
    }
    void TearDown() override { game.App().SetUnattended(true); }
    CPlayerStore& Players() { return GameServices().GetPlayers(); }
    CActivityCenter* Enter()
    {
        if (!game.Enter("ActivityCenter"))
            return nullptr;
        return dynamic_cast<CActivityCenter*>(game.App().GetCurrentRoom());
    }
    // Answers every dialog with its first button that is there, and notes its name.
    ModalDriver::Step Answer()
    {
        return [this](CxDisplayObject& dialog, int pass) {
            if (pass != 3 || !dynamic_cast<CDaxDialog*>(&dialog))
                return;
            opened.push_back(dialog.GetName());
            if (auto* code = dynamic_cast<CCodeDialog*>(&dialog)) {
                codeText = code->GetText();
                ClickDialogButton(game.App(), dialog, "OK");
            } else {
                ClickDialogButton(game.App(), dialog, "Yes");
            }
        };
    }

    GameTestApp game;
    TempFolder shots;
    std::vector<std::string> opened;
    std::string codeText;
};

TEST_F(ActivityCenterTest, TheFirstVisitWelcomesOnceAndOpensTheCentre)
{
    ModalDriver driver(Answer());
    CActivityCenter* centre = Enter();
    ASSERT_NE(centre, nullptr);
    game.Run(200);
    EXPECT_EQ(opened, std::vector<std::string>{"LotsToDo"});
    EXPECT_EQ(Players().ReadInt("ActivityCenterUnlocked", 0), 1);
    EXPECT_EQ(Players().ReadInt("HasSeenFinalMovie", 0), 1);
    ASSERT_NE(centre->GetSpider(), nullptr);
    EXPECT_TRUE(centre->GetSpider()->IsVisible());
    for (const char* button : {"Puzzle", "Quiz", "PaintRoom", "Codes"}) {
        ASSERT_NE(centre->FindButton(button), nullptr) << button;
        EXPECT_TRUE(centre->FindButton(button)->IsEnabled()) << button;
    }
    SaveGameShot(game, shots.Path(), "activity-centre.png");

    // The codes: the "Code" text of the language table, in the codes dialog.
    centre->ShowCodes();
    EXPECT_EQ(opened.back(), "CodesDialog");
    EXPECT_EQ(codeText, GameServices().GetLocalizedString("Code").GetText());
    EXPECT_NE(codeText, GAME_NO_STRING);
    EXPECT_EQ(centre->GetPauseCount(), 0);

    // The welcome is for the first visit only.
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    opened.clear();
    ASSERT_EQ(Enter(), centre);
    game.Run(200);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(ActivityCenterTest, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    // Counted inside the centre, each time after the same time away in the
    // title, so what the title shows at that moment is the same too.
    ModalDriver driver(Answer());
    std::vector<ST_LIVE> visits;
    for (int visit = 0; visit < 3; ++visit) {
        ASSERT_NE(Enter(), nullptr);
        game.Run(500);
        visits.push_back(Live());
        ASSERT_TRUE(game.Enter("Title"));
        game.Run(3000);
    }
    EXPECT_EQ(visits[2], visits[1]);
    EXPECT_EQ(GetErrorCount(), 0);
}

} // namespace
