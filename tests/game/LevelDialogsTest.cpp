// The game's level dialogs on the demo data, opened in the real game
// headless and answered through the window as a player would.
#include "DAX/buttons/CDaxButton.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"
#include "game/common/CStartLevelDialog.h"
#include "game/common/CWinLevelDialog.h"
#include "game/common/CYesNoDialog.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/ModalDriver.h"
#include "tests/game/TestGameServices.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class LevelDialogs : public ::testing::Test
{
protected:
    // The game runs unattended from start-up on (no intro waits); these
    // dialogs have a player.
    void SetUp() override { game.App().SetUnattended(false); }
    // Nobody answers an error box on the way out.
    void TearDown() override { game.App().SetUnattended(true); }
    // Opens `dialog`; `step` answers it. The passes it was open.
    int Open(CDaxDialog& dialog, ModalDriver::Step step)
    {
        int passes = 0;
        ModalDriver driver([&](CxDisplayObject& open, int pass) {
            passes = pass;
            if (pass > 300)
                dialog.EndModal(); // an unanswered dialog fails the test, not the run
            else
                step(open, pass);
        });
        EXPECT_EQ(dialog.DoModal(), PIM_OK);
        return passes;
    }
    // A yes/no question answered by one key press.
    int AnswerByKey(CYesNoDialog& dialog, uint32_t key)
    {
        Open(dialog, [&](CxDisplayObject&, int pass) {
            if (pass == 2)
                PostKey(game.App(), key);
        });
        return dialog.GetResult();
    }

    GameTestApp game;
    TestGameServices services;
};

} // namespace

TEST_F(LevelDialogs, NineteenCodePointsAreOneCentredLineAndTwentyAreWrapped)
{
    CYesNoDialog dialog;
    ASSERT_EQ(dialog.LoadDialog("COMMON/quit_yesno.ini"), PIM_OK);
    // The file's own text, in the player's language.
    EXPECT_STREQ(dialog.GetText(), "Do you want to stop playing?");
    EXPECT_TRUE(dialog.IsWrapped());
    // 19 code points in 20 bytes (the è is two): still one line.
    dialog.SetText("Très bien, les amis");
    EXPECT_FALSE(dialog.IsWrapped());
    EXPECT_EQ(dialog.GetTextObject().GetTextFlags() & (PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE),
              uint32_t{PIM_TEXT_CENTRE | PIM_TEXT_VCENTRE});
    dialog.SetText("Très bien, les amis!");
    EXPECT_TRUE(dialog.IsWrapped());
    // The text sits in the file's area, in its colour and size.
    EXPECT_EQ(dialog.GetTextObject().GetRect(), CxRect(110, 30, 420, 180));
    EXPECT_EQ(dialog.GetTextColour(), 0x0014326Eu);
    EXPECT_EQ(dialog.GetTextSize(), 30);
    // A long text is kept to its bound.
    dialog.SetText(std::string(5000, 'a').c_str());
    EXPECT_EQ(std::string(dialog.GetText()).size(), size_t(GAME_DIALOG_TEXT_MAX));
}

TEST_F(LevelDialogs, ATextColourScanStopsAtItsFirstBadPartAndKeepsNumbersInRange)
{
    EXPECT_EQ(CLocalizedDialog::ScanColour("300, x, 12", 0x00F8E8C8), 0x00FFE8C8u);
    EXPECT_EQ(CLocalizedDialog::ScanColour("-5,10 , 20", 0x00F8E8C8), 0x00000A14u);
    EXPECT_EQ(CLocalizedDialog::ScanColour("", 0x00F8E8C8), 0x00F8E8C8u);
    EXPECT_EQ(CLocalizedDialog::ScanColour("99999999999999999999, 1; 2", 0), 0x00FF0100u);
}

TEST_F(LevelDialogs, TheYesAndNoKeysAnswerAndTheListsCanChange)
{
    CYesNoDialog dialog;
    dialog.LoadDialog("COMMON/quit_yesno.ini");
    EXPECT_EQ(AnswerByKey(dialog, 'y'), 1);
    EXPECT_EQ(AnswerByKey(dialog, 'N'), 0);
    EXPECT_EQ(AnswerByKey(dialog, 'Y'), 1);
    EXPECT_EQ(AnswerByKey(dialog, PIM_KEY_ESC), 0);
    EXPECT_EQ(AnswerByKey(dialog, 'Y'), 1);
    // The file sets EndOnEnterKey: Enter is a no.
    EXPECT_EQ(AnswerByKey(dialog, PIM_KEY_ENTER), 0);

    dialog.ClearYesKeys();
    dialog.AddYesKey(PIM_KEY_SPACE);
    dialog.ClearNoKeys();
    EXPECT_EQ(AnswerByKey(dialog, PIM_KEY_SPACE), 1);
    // 'y' and Escape mean nothing now; the tick still answers.
    Open(dialog, [&](CxDisplayObject& open, int pass) {
        if (pass == 2) {
            PostKey(game.App(), 'y');
            PostKey(game.App(), PIM_KEY_ESC);
        }
        if (pass == 6) {
            EXPECT_TRUE(dialog.IsRunningModal());
            ClickDialogButton(game.App(), open, "No");
        }
    });
    EXPECT_EQ(dialog.GetResult(), 0);
}

TEST_F(LevelDialogs, TheFairStaysLockedThroughTheOpeningUntilThePlayerHasItsKey)
{
    CStartLevelDialog dialog;
    ASSERT_EQ(dialog.LoadDialog(GAME_START_LEVEL_DIALOG), PIM_OK);
    ASSERT_NE(dialog.FindButton("Fair"), nullptr);
    EXPECT_FALSE(dialog.FindButton("Fair")->IsEnabled());
    EXPECT_FALSE(dialog.FindButton("ActivityMenu")->IsEnabled());
    EXPECT_TRUE(dialog.FindButton("PigPen")->IsEnabled());
    // A click on the locked fair does nothing; the pig pen answers 3.
    Open(dialog, [&](CxDisplayObject& open, int pass) {
        EXPECT_FALSE(dialog.FindButton("Fair")->IsEnabled()) << pass;
        if (pass == 2)
            ClickDialogButton(game.App(), open, "Fair");
        if (pass == 8)
            ClickDialogButton(game.App(), open, "PigPen");
    });
    EXPECT_EQ(dialog.GetExitCode(), 3);
    EXPECT_FALSE(dialog.FindButton("Fair")->IsEnabled());

    services.GetPlayers().WriteInt("FairgroundUnlocked", 1);
    CStartLevelDialog open;
    open.LoadDialog(GAME_START_LEVEL_DIALOG);
    EXPECT_TRUE(open.FindButton("Fair")->IsEnabled());
    Open(open, [&](CxDisplayObject& shown, int pass) {
        if (pass == 2)
            ClickDialogButton(game.App(), shown, "Fair");
    });
    EXPECT_EQ(open.GetExitCode(), 2);
    // Enter plays (the file sets EndOnEnterKey).
    Open(open, [&](CxDisplayObject&, int pass) {
        if (pass == 2)
            PostKey(game.App(), PIM_KEY_ENTER);
    });
    EXPECT_EQ(open.GetExitCode(), 0);
}

TEST_F(LevelDialogs, TheRewardDialogTakesItsIconPositionAndClosesWithOK)
{
    CWinLevelDialog dialog;
    ASSERT_EQ(dialog.LoadDialog(GAME_WIN_LEVEL_DIALOG), PIM_OK);
    EXPECT_EQ(dialog.GetIconPos(), CxPoint(46, 76));
    EXPECT_TRUE(dialog.SetIcon("COMMON/stickericon.tga"));
    EXPECT_FALSE(dialog.SetIcon("COMMON/no_such_icon.tga"));
    EXPECT_FALSE(dialog.HasIcon());
    const int passes = Open(dialog, [&](CxDisplayObject& open, int pass) {
        if (pass == 2)
            ClickDialogButton(game.App(), open, "OK");
    });
    EXPECT_LT(passes, 10);
    EXPECT_EQ(GetErrorCount(), 0);
}
