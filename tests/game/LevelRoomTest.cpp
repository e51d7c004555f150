// A small room with levels, registered only in this program, played in the
// real game headless through the real level dialogs: the start-level
// dialog's Play, the reward's OK, the player's keys on disk, the game clock
// and that entering, leaving and entering again leaves the same objects.
#include "PIM/app/CxGameRoomRegistrar.h"
#include "PIM/core/PimClock.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxOptions.h"
#include "game/common/CGameRoom.h"
#include "game/common/CStartLevelDialog.h"
#include "game/common/CWinLevelDialog.h"
#include "game/common/CYesNoDialog.h"
#include "tests/game/GameShots.h"
#include "tests/game/GameTestApp.h"
#include "tests/game/LiveObjects.h"
#include "tests/game/ModalDriver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Plays nothing itself: a level "runs" from StartLevel until the test
// reports it won, as a mini-game would.
class CLevelTestRoom : public CGameRoom
{
public:
    explicit CLevelTestRoom(CxGameApp* app) : CGameRoom(app) {}

    int Start() override
    {
        const int code = CGameRoom::Start();
        SetLevel(NextLevelToPlay());
        StartLevel();
        return code;
    }
    void StartLevel() override
    {
        CGameRoom::StartLevel();
        ++starts;
    }
    int starts = 0;
};

const CxGameRoomRegistrar kLevelRoom{"LevelRoom", &MakeRoom<CLevelTestRoom>};

// The folder of this file's test data (the compiler may name this file
// relative to the build folder, which lies two above the demo data).
std::string TestDataFolder()
{
    std::filesystem::path source(__FILE__);
    if (source.is_relative())
        source = std::filesystem::path(PIM_DEMO_DATA_DIR) / ".." / ".." / source;
    return (source.parent_path() / "levelroom").lexically_normal().string();
}

class LevelRoom : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Unattended, the game answers every modal loop at once; here a player does.
        game.App().SetUnattended(false);
        ASSERT_EQ(game.App().NewFileSystem("<LevelRoomTest>", TestDataFolder().c_str()), PIM_OK);
        ASSERT_EQ(game.App().NewFileSystem("<LevelIcons>", (std::string(PIM_DEMO_DATA_DIR) + "/common/levelicons").c_str()),
                  PIM_OK);
        room = dynamic_cast<CLevelTestRoom*>(game.App().FindRoom("LevelRoom"));
        ASSERT_NE(room, nullptr);
        // The room read its file when it was made, before the data was there.
        ASSERT_EQ(room->LoadOptions(), PIM_OK);
        // The game's own services: its store in the test's data folder, its
        // language table and its font; the level texts are the test room's.
        game.App().GetPlayers().SetCurrentPlayer("Tessa");
        const char* texts[][2] = {{"Round", "Round %d"},
                                  {"LevelRoomLevel00", "Pop every red balloon before the bell!"},
                                  {"LevelRoomLevel01", "Now the blue ones!"},
                                  {"PuzzleWon", "You won a piece of the puzzle!"},
                                  {"StickerWon", "You won a shiny sticker!"}};
        for (const auto& text : texts)
            game.App().GetLanguageTable().SetString(game.App().GetLanguage(), text[0], text[1]);
    }
    void TearDown() override
    {
        game.App().SetUnattended(true);
        game.App().RemoveFileSystem("<LevelIcons>");
        game.App().RemoveFileSystem("<LevelRoomTest>");
    }
    // Answers the start-level dialog with Play and the reward with OK.
    ModalDriver::Step Player()
    {
        return [this](CxDisplayObject& dialog, int pass) {
            const bool start = dynamic_cast<CStartLevelDialog*>(&dialog) != nullptr;
            if (pass != 4 || (!start && !dynamic_cast<CWinLevelDialog*>(&dialog)))
                return;
            EXPECT_TRUE(ClickDialogButton(game.App(), dialog, start ? "Play" : "OK"));
            answered.push_back(dialog.GetName());
        };
    }
    void Screenshot(const char* name) { SaveGameShot(game, shots.Path(), name); }
    static CxVirtualClock& Clock() { return *dynamic_cast<CxVirtualClock*>(PimGetClock()); }

    GameTestApp game;
    CLevelTestRoom* room = nullptr;
    std::vector<std::string> answered;
    TempFolder shots;
};

} // namespace

TEST_F(LevelRoom, TwoLevelsArePlayedThroughTheRealDialogsAndTheProgressIsOnDisk)
{
    game.App().RunScript("g_NumPuzzleItems = 2 g_NumStickerItems = 2 g_NumUnlockItems = 4");
    bool shotStart = false;
    bool shotWin = false;
    const ModalDriver::Step play = Player();
    ModalDriver driver([&](CxDisplayObject& dialog, int pass) {
        if (pass == 3 && !shotStart && dynamic_cast<CStartLevelDialog*>(&dialog)) {
            auto& start = dynamic_cast<CStartLevelDialog&>(dialog);
            EXPECT_STREQ(start.GetTitle(), "Round 1");
            EXPECT_STREQ(start.GetText(), "Pop every red balloon before the bell!");
            EXPECT_TRUE(start.HasIcon());
            EXPECT_TRUE(start.HasPreview());
            EXPECT_TRUE(start.HasInstruction());
            Screenshot("startlevel.png");
            shotStart = true;
        }
        if (pass == 3 && !shotWin && dynamic_cast<CWinLevelDialog*>(&dialog)) {
            EXPECT_TRUE(dynamic_cast<CWinLevelDialog&>(dialog).HasIcon());
            Screenshot("winlevel.png");
            shotWin = true;
        }
        play(dialog, pass);
    });
    ASSERT_TRUE(game.Enter("LevelRoom"));
    game.Run(100);
    ASSERT_EQ(room->starts, 1);
    EXPECT_EQ(room->GetLevel(), 0);
    EXPECT_EQ(room->GetMaxLevel(), 49);

    room->LevelWon();
    EXPECT_TRUE(room->GetLastWin().rewardShown);
    EXPECT_EQ(room->GetLevel(), 1);
    game.Run(100);
    room->LevelWon();
    EXPECT_EQ(room->GetLevel(), 2);
    EXPECT_EQ(room->starts, 3);
    EXPECT_EQ(answered, (std::vector<std::string>{"StartLevelDialog", "WinLevelDialog", "StartLevelDialog",
                                                  "WinLevelDialog", "StartLevelDialog"}));
    EXPECT_TRUE(shotStart);
    EXPECT_TRUE(shotWin);
    EXPECT_STREQ(game.App().GetCurRoomName(), "LevelRoom");
    EXPECT_EQ(room->GetPauseCount(), 0);

    CxOptions onDisk;
    ASSERT_EQ(onDisk.Load((std::string(game.App().GetDataFolder()) + "/users.ini").c_str()), PIM_OK);
    EXPECT_EQ(onDisk.GetInt("Tessa", "LevelRoomLevel", -1), 2);
    EXPECT_EQ(onDisk.GetInt("Tessa", "LevelsWon", -1), 2);
    EXPECT_EQ(onDisk.GetInt("Tessa", "Unlocked", -1), 2);
    EXPECT_EQ(onDisk.GetInt("Tessa", "LevelRoomHasWon", 0), 0);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST_F(LevelRoom, TheGameClockStopsUnderADialogClampsAStallAndRestartsWithTheLevel)
{
    ModalDriver driver(Player());
    ASSERT_TRUE(game.Enter("LevelRoom"));
    // The start-level dialog's time was not the level's.
    game.Run(500);
    const uint32_t played = room->GetGameTime();
    EXPECT_GE(played, 480u);
    EXPECT_LE(played, 510u);

    // A question the player takes two seconds over.
    ModalDriver slow([&](CxDisplayObject& dialog, int pass) {
        if (pass == 200)
            ClickDialogButton(game.App(), dialog, "No");
    });
    EXPECT_EQ(room->ShowYesNo(GAME_QUIT_DIALOG), 0);
    game.Run(10);
    EXPECT_LE(room->GetGameTime(), played + 20);

    // The window away: nothing moves.
    ST_MESSAGE away;
    away.type = EMessage::ActivateApp;
    HeadlessWindowOf(game.App())->Post(away);
    game.Run(1000);
    const uint32_t before = room->GetGameTime();
    EXPECT_LE(before, played + 40);
    away.active = true;
    HeadlessWindowOf(game.App())->Post(away);
    game.Run(20);

    // A stall of five seconds is one step of 100 ms.
    const uint32_t stalled = room->GetGameTime();
    Clock().Advance(5000);
    game.Run(10);
    EXPECT_EQ(room->GetFrameStep(), GAME_CLOCK_MAX_STEP);
    EXPECT_EQ(room->GetGameTime(), stalled + GAME_CLOCK_MAX_STEP);

    // Building the level again starts the clock again.
    room->RestartLevel();
    game.Run(10);
    EXPECT_LE(room->GetGameTime(), 20u);
}

TEST_F(LevelRoom, EscapeAsksAndLeavesForTheLoginWithoutAHub)
{
    ModalDriver driver([&](CxDisplayObject& dialog, int pass) {
        if (pass != 4)
            return;
        if (dynamic_cast<CYesNoDialog*>(&dialog))
            ClickDialogButton(game.App(), dialog, "Yes");
        else
            ClickDialogButton(game.App(), dialog, "Play");
    });
    CBaseRoom::SetLastHubName("");
    ASSERT_TRUE(game.Enter("LevelRoom"));
    game.Run(50);
    PostKey(game.App(), PIM_KEY_ESC);
    game.Run(2000);
    EXPECT_STREQ(game.App().GetCurRoomName(), "Login");
    EXPECT_STREQ(CBaseRoom::GetLastRoomName(), "LevelRoom");
    EXPECT_FALSE(room->HasActivityCDRoot());
}

TEST_F(LevelRoom, EnteringLeavingAndEnteringAgainLeavesTheSameLiveObjects)
{
    ModalDriver driver(Player());
    ASSERT_TRUE(game.Enter("LevelRoom"));
    game.Run(3000);
    const ST_LIVE first = Live();
    ASSERT_TRUE(game.Enter("FarmyardMenu"));
    game.Run(3000);
    ASSERT_TRUE(game.Enter("LevelRoom"));
    game.Run(3000);
    EXPECT_EQ(Live(), first);
    EXPECT_EQ(room->starts, 2);
    EXPECT_EQ(GetErrorCount(), 0);
}
