// The rooms around the game: where the title's "Play" leads, the sign-in
// room's list and its rules, the options room's knobs, and the game's own
// credits roll.
#include "DAX/buttons/CDaxButton.h"
#include "DAX/dialogs/CDaxCreditsDialog.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/display/PimDisplay.h"
#include "game/common/CLogin.h"
#include "game/common/COptionMenu.h"
#include "game/common/GameCredits.h"
#include "game/common/GameStory.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/TestGameServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A player store with no file: the keys go straight into its sections.
void Put(CPlayerStore& players, const char* player, const char* key, int value)
{
    players.GetOptions().SetInt(player, key, value);
}

// Services that answer every question with yes.
struct YesServices : TestGameServices
{
    YesServices() : TestGameServices("") {}
    int ShowYesNo(const char* dialogFile) override
    {
        asked.push_back(dialogFile ? dialogFile : "");
        return 1;
    }
    std::vector<std::string> asked;
};

// Enters `name` and runs until that room is the current one (past the fades).
template <typename TRoom>
TRoom* EnterRoom(GameTestApp& game, const char* name)
{
    if (!game.Enter(name)) {
        ADD_FAILURE() << "still in " << game.App().GetCurRoomName();
        return nullptr;
    }
    for (int i = 0; i < 300; ++i) {
        if (auto* room = dynamic_cast<TRoom*>(game.App().GetCurrentRoom()))
            return room;
        game.Run(10);
    }
    return nullptr;
}

bool CanType(CLogin& login)
{
    return (login.GetEdit().GetEditFlags() & PIM_EDIT_CARET) != 0;
}

} // namespace

TEST(GameStory, PlayLeadsWhereThePlayersStoryStands)
{
    CPlayerStore players;
    EXPECT_STREQ(GameStoryRoom(players), "Login"); // nobody signed in

    players.SetCurrentPlayer("Tessa");
    EXPECT_STREQ(GameStoryRoom(players), "PigPen"); // a new player
    Put(players, "Tessa", "PigPenGoal", 2);
    EXPECT_STREQ(GameStoryRoom(players), "PigPen"); // the pig pen not done yet
    Put(players, "Tessa", "PigPenGoal", -1);
    EXPECT_STREQ(GameStoryRoom(players), "FarmyardMenu");
    Put(players, "Tessa", "FarmYardComplete", 1);
    EXPECT_STREQ(GameStoryRoom(players), "FairgroundMenu");
    Put(players, "Tessa", "FairComplete", 1);
    EXPECT_STREQ(GameStoryRoom(players), "SpiderEgg");
    Put(players, "Tessa", "ClosingComplete", 1);
    EXPECT_STREQ(GameStoryRoom(players), "FarmyardMenu");

    // Another player's keys are that player's own.
    players.SetCurrentPlayer("tessa"); // sections match without regard to case
    EXPECT_STREQ(GameStoryRoom(players), "FarmyardMenu");
    players.SetCurrentPlayer("Ola");
    EXPECT_STREQ(GameStoryRoom(players), "PigPen");
}

TEST(GameStory, TheTitlesPlayGoesToTheLoginRoomWhileNobodyIsSignedIn)
{
    GameTestApp game;
    game.App().GetPlayers().SetCurrentPlayer(nullptr);
    ASSERT_TRUE(game.Enter("Title"));
    game.App().RunScript("GotoStoryRoom()");
    game.Run(3000);
    EXPECT_STREQ(game.App().GetCurRoomName(), "Login");
}

TEST(Login, TheListSkipsWhatTheFieldCouldNeverHaveMadeAndStopsAtSix)
{
    const std::vector<CxString> sections = {"_global_", "ann", "", "Bartholomews", "[Cy]", "Dee", "Eve",
                                            "Flo",      "Gus", "Hal"};
    const std::vector<std::string> listed = CLogin::ListedNames(sections);
    const std::vector<std::string> expected = {"ANN", "CY", "DEE", "EVE", "FLO", "GUS"};
    EXPECT_EQ(listed, expected);
    // Exactly ten letters is a name.
    EXPECT_EQ(CLogin::ListedNames({"Abcdefghij"}), std::vector<std::string>{"ABCDEFGHIJ"});
}

TEST(Login, FivePlayersLeaveNoRoomUntilOneIsErasedAndTypedNamesMatchWithoutCase)
{
    GameTestApp game;
    YesServices services;
    CPlayerStore& players = services.GetPlayers();
    for (const char* name : {"Eve", "bob", "Ann", "Dee", "Cy"})
        Put(players, name, "PigPenGoal", 1);
    Put(players, GAME_GLOBAL_SECTION, "MusicVolume", 20);
    auto* login = EnterRoom<CLogin>(game, "Login");
    ASSERT_NE(login, nullptr);

    // Five names, sorted and in capitals; no sixth can be typed; nothing chosen yet.
    CxTextListBox& list = login->GetList();
    ASSERT_EQ(list.GetItemCount(), 5);
    EXPECT_STREQ(list.GetString(0), "ANN");
    EXPECT_STREQ(list.GetString(4), "EVE");
    EXPECT_FALSE(CanType(*login));
    EXPECT_FALSE(login->FindButton("Play")->IsEnabled());
    EXPECT_FALSE(login->FindButton("Erase")->IsEnabled());

    // Enter with nothing typed and nothing chosen does nothing.
    login->OnKeyDown(PIM_KEY_ENTER, 0);
    EXPECT_FALSE(login->IsStarting());
    EXPECT_FALSE(players.HasPlayer());

    // Erasing "ANN" asks, removes the player and lets a name be typed again.
    list.SetSelection(0);
    login->Erase();
    ASSERT_EQ(services.asked.size(), 1u);
    EXPECT_EQ(services.asked[0], GAME_LOGIN_DELETE_DIALOG);
    EXPECT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.FindString("ANN", true), -1);
    EXPECT_TRUE(CanType(*login));
    for (const CxString& name : players.GetPlayerNames())
        EXPECT_STRNE(name.GetText(), "Ann");

    // "BOB" typed is the "bob" already there: not listed twice, the same player.
    login->GetEdit().SetText("BOB");
    login->OnKeyDown(PIM_KEY_ENTER, 0);
    EXPECT_TRUE(login->IsStarting());
    EXPECT_EQ(list.GetItemCount(), 4);
    players.SetCurrentPlayer("bob");
    EXPECT_EQ(players.ReadInt("NewUser", 0), 1);
    EXPECT_EQ(players.ReadInt("PigPenGoal", 0), 1);
}

TEST(Login, ANewNameIsListedAsTypedAndSignsThatPlayerIn)
{
    GameTestApp game;
    YesServices services;
    auto* login = EnterRoom<CLogin>(game, "Login");
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(CanType(*login));
    login->GetEdit().SetText("tessa");
    login->Play();
    EXPECT_TRUE(login->IsStarting());
    ASSERT_EQ(login->GetList().GetItemCount(), 1);
    EXPECT_STREQ(login->GetList().GetString(0), "tessa");
    EXPECT_STREQ(services.GetPlayers().GetCurrentPlayer(), "tessa");
    EXPECT_EQ(services.GetPlayers().ReadInt("NewUser", 0), 1);
    // Once starting, the room takes no more choices.
    login->GetEdit().SetText("other");
    login->Play();
    EXPECT_STREQ(services.GetPlayers().GetCurrentPlayer(), "tessa");
}

TEST(OptionMenu, TheTrackEndsGiveSilenceAndFullVolumeAndATrackWithoutLengthNeverDivides)
{
    const COptionMenu::ST_TRACK track{250, 650, 200};
    EXPECT_EQ(COptionMenu::VolumeAt(250, track), 0);
    EXPECT_EQ(COptionMenu::VolumeAt(650, track), 127);
    EXPECT_EQ(COptionMenu::VolumeAt(450, track), 64);
    EXPECT_EQ(COptionMenu::KnobX(0, track), 250);
    EXPECT_EQ(COptionMenu::KnobX(127, track), 650);
    EXPECT_EQ(COptionMenu::KnobX(20, track), 250 + 62); // 20 / 127 x 400 = 62.99, cut
    EXPECT_EQ(COptionMenu::KnobX(500, track), 650);     // volumes held to 0..127
    EXPECT_EQ(COptionMenu::KnobX(-5, track), 250);

    for (const COptionMenu::ST_TRACK flat : {COptionMenu::ST_TRACK{300, 300, 0}, COptionMenu::ST_TRACK{400, 100, 0}}) {
        EXPECT_FALSE(flat.CanDrag());
        EXPECT_EQ(COptionMenu::VolumeAt(300, flat), 0);
        EXPECT_EQ(COptionMenu::KnobX(100, flat), flat.left);
    }
}

TEST(OptionMenu, DraggingTheMusicKnobToEachEndStoresTheVolume)
{
    GameTestApp game;
    auto* options = EnterRoom<COptionMenu>(game, "OptionsMenu");
    ASSERT_NE(options, nullptr);
    using ESlider = COptionMenu::ESlider;
    CxSprite& knob = options->GetKnob(ESlider::Music);
    ASSERT_NE(knob.GetSurface(), nullptr);
    const COptionMenu::ST_TRACK& track = options->GetTrack(ESlider::Music);
    const CxRect rect = knob.GetRect();
    const CxPoint middle((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    EXPECT_NEAR(middle.y, track.y, 1); // centred on the track

    options->OnLButtonDown(1, middle);
    ASSERT_EQ(options->GetDragged(), ESlider::Music);
    options->OnMouseMove(1, CxPoint(track.right, track.y));
    EXPECT_EQ(game.App().GetPlayers().ReadGlobalInt("MusicVolume", -1), 127);
    EXPECT_EQ(game.App().GetMusic().GetVolume(), 127);
    options->OnMouseMove(1, CxPoint(track.right + 40, track.y)); // off the track: stays
    EXPECT_EQ(game.App().GetPlayers().ReadGlobalInt("MusicVolume", -1), 127);
    options->OnMouseMove(1, CxPoint(track.left, track.y));
    EXPECT_EQ(game.App().GetPlayers().ReadGlobalInt("MusicVolume", -1), 0);
    options->OnLButtonUp(1, CxPoint(track.left, track.y));
    EXPECT_EQ(options->GetDragged(), ESlider::None);
    options->OnMouseMove(1, CxPoint(track.right, track.y)); // no longer dragged
    EXPECT_EQ(game.App().GetPlayers().ReadGlobalInt("MusicVolume", -1), 0);
}

TEST(GameCredits, TabsLineEndsAndLongLinesAreCutSafely)
{
    CDaxCreditsRoll roll;
    const std::string text = "\tHob\r\nPip\t\tand Jo\r\n\r\n" + std::string(60, '\t') + "end\n";
    ASSERT_EQ(roll.SetText(text.data(), text.size(), GAME_CREDITS_MAX_LINE), PIM_OK);
    ASSERT_GE(roll.GetLineCount(), 4);
    EXPECT_STREQ(roll.GetLine(0), "    Hob");
    EXPECT_STREQ(roll.GetLine(1), "Pip        and Jo");
    EXPECT_STREQ(roll.GetLine(2), "");
    // Sixty tabs are 240 blanks: the line grows past no buffer.
    EXPECT_EQ(std::string(roll.GetLine(3)), std::string(240, ' ') + "end");
}

TEST(GameCredits, TheGamesRollHasItsOwnPicturesAndRowsAndAMissingTextLeavesOnlyTheBackground)
{
    GameTestApp game;
    CDaxCreditsDialog credits;
    ST_CREDITS_SETTINGS settings = GameCreditsSettings();
    EXPECT_EQ(credits.Build(settings), PIM_OK);
    EXPECT_EQ(credits.GetLayout().linePitch, 28);
    EXPECT_GT(credits.GetRoll().GetLineCount(), 10);
    EXPECT_NE(credits.GetFontHandle(), PIM_DEFAULT_FONT); // the pcx letters loaded
    EXPECT_NE(credits.GetSurface(), nullptr);
    EXPECT_LE(credits.GetLayout().width, DAX_CREDITS_MAX_WIDTH);

    CxQuietErrors quiet;
    settings.textFile = "CREDITS/none.txt";
    credits.Build(settings);
    EXPECT_EQ(credits.GetRoll().GetLineCount(), 0);
    EXPECT_NE(credits.GetSurface(), nullptr);
}
