// The game's application over the demo data: the players' folder on a
// clean machine, the language and its texts, a folder name too long to
// keep, printer errors, the volumes kept across runs, and the credits.
#include "PIM/backends/headless/CxHeadlessWindow.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/display/PimCursors.h"
#include "PIM/os/PimShellFolders.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/sound/PimSound.h"
#include "PIM/text/CxFont.h"
#include "tests/game/GameTestApp.h"
#include "tests/support/Recorders.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <lua.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string LuaGlobal(CMarrowdaleApp& app, const char* name)
{
    lua_State* L = app.GetLuaEngine()->GetState();
    lua_getglobal(L, name);
    std::string text = lua_tostring(L, -1) ? lua_tostring(L, -1) : "";
    lua_pop(L, 1);
    return text;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Activate(CMarrowdaleApp& app, bool active)
{
    ST_MESSAGE m;
    m.type = EMessage::ActivateApp;
    m.active = active;
    HeadlessWindowOf(app)->Post(m);
}

// Counts the questions asked instead of asking them.
struct CountingQuestions : CGameServices
{
    int ShowYesNo(const char* dialogFile) override
    {
        ++asked;
        lastFile = dialogFile ? dialogFile : "";
        return 0;
    }
    int asked = 0;
    std::string lastFile;
};

} // namespace

TEST(MarrowdaleApp, ACleanMachineGetsThePlayersFolderAndTheStoreAtTheFirstWrite)
{
    TempFolder home;
    ST_GAME_TEST_SETUP setup;
    setup.dataHome = home / "share";
    GameTestApp game(setup);
    CMarrowdaleApp& app = game.App();
    const std::string folder = home / "share/Orbana/Marrowdale";
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::string(app.GetDataFolder()), "<DEFAULT>" + folder);
    EXPECT_FALSE(std::filesystem::exists(folder + "/users.ini"));

    CxString value;
    EXPECT_FALSE(app.ReadPlayerValue("NewUser", value)); // nobody signed in
    app.GetPlayers().SetCurrentPlayer("Tessa");
    EXPECT_EQ(app.ReadPlayerInt("NewUser", 5), 5);
    ASSERT_EQ(app.GetLuaEngine()->DoString("WritePlayerInt('NewUser', 1.7)"), PIM_OK);
    EXPECT_NE(ReadFile(folder + "/users.ini").find("[Tessa]\r\nNewUser=1"), std::string::npos);
    ASSERT_TRUE(app.ReadPlayerValue("NewUser", value));
    EXPECT_STREQ(value.GetText(), "1");

    // What the start-up set up beside the store.
    EXPECT_EQ(LuaGlobal(app, "gLanguage"), "English");
    EXPECT_STREQ(app.GetLocalizedString("Round").GetText(), "Round %d");
    EXPECT_STREQ(app.GetLocalizedString("NoSuchText").GetText(), "No string defined");
    app.GetLanguageTable().SetString("English", "Extra", "Hello");
    EXPECT_STREQ(app.GetLocalizedString("Extra").GetText(), "Hello");
    EXPECT_NE(app.GetGameFont(), PIM_DEFAULT_FONT);
    for (int id : {GAME_CURSOR_CLEAR, GAME_CURSOR_DARK, GAME_CURSOR_HAND})
        EXPECT_NE(FindCursor(id), nullptr) << id;
    EXPECT_EQ(GetCursor(), GAME_CURSOR_CLEAR);
    EXPECT_EQ(&GameServices(), &app);
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST(MarrowdaleApp, ALanguageWithoutASectionReadsNoStringDefinedButIsStillTheLanguage)
{
    TempFolder config;
    std::string text = ReadFile(std::string(PIM_DEMO_DATA_DIR) + "/Marrowdale.ini");
    const size_t at = text.find("Language=English");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 16, "Language=Klingon");
    ST_GAME_TEST_SETUP setup;
    setup.configFile = config.Write("Marrowdale.ini", text);
    GameTestApp game(setup);
    EXPECT_EQ(LuaGlobal(game.App(), "gLanguage"), "Klingon");
    EXPECT_STREQ(game.App().GetLanguage(), "Klingon");
    for (const char* id : {"Round", "PuzzleWon", "StickerWon", "Code"})
        EXPECT_STREQ(game.App().GetLocalizedString(id).GetText(), "No string defined") << id;
    EXPECT_EQ(GetErrorCount(), 0);
}

TEST(MarrowdaleApp, ADataFolderTooLongToKeepIsReportedAndTheGameGoesOnWithoutSaving)
{
    TempFolder home;
    const std::string tooLong = home / std::string(240, 'd');
    ASSERT_TRUE(SetShellFolderOverride("AppData", tooLong.c_str()));
    {
        GameTestApp game;
        EXPECT_EQ(GetLastReportedError(), PIM_ERR_PATH);
        EXPECT_STREQ(game.App().GetDataFolder(), "");
        EXPECT_FALSE(std::filesystem::exists(tooLong)); // never made under a cut name either
        game.App().GetPlayers().SetCurrentPlayer("Tessa");
        game.App().WritePlayerInt("Level", 2);
        EXPECT_EQ(game.App().ReadPlayerInt("Level", 0), 2); // kept in memory
        EXPECT_TRUE(game.Enter("FarmyardMenu"));
    }
    ClearShellFolderOverrides();
    EXPECT_TRUE(std::filesystem::is_empty(home.Path()));
}

TEST(MarrowdaleApp, EachPrinterErrorAsksOnceAndComesOffTheCountAloneOthersGoOn)
{
    GameTestApp game;
    CountingQuestions questions;
    SetGameServices(&questions);
    ReportError(PIM_ERR_READ, "a picture would not load"); // a real one, before
    ASSERT_EQ(GetErrorCount(), 1);
    ReportError(PIM_ERR_PRINTER, "no printer");
    game.Run(100);
    ReportError(PIM_ERR_PRINTER, "the page would not start");
    EXPECT_EQ(questions.asked, 2);
    EXPECT_EQ(questions.lastFile, "COMMON/printer.ini");
    EXPECT_EQ(GetErrorCount(), 1); // the earlier one still counts
    ReportError(PIM_ERR_OPEN, "another");
    EXPECT_EQ(questions.asked, 2);
    EXPECT_EQ(GetErrorCount(), 2);
    SetGameServices(&game.App());
}

TEST(MarrowdaleApp, TheVolumesComeBackNextRunEvenAfterAQuitWhileInTheBackground)
{
    TempFolder home;
    ST_GAME_TEST_SETUP setup;
    setup.dataHome = home.Path();
    {
        GameTestApp game(setup);
        EXPECT_EQ(game.App().GetMusic().GetVolume(), GAME_DEFAULT_MUSIC_VOLUME);
        EXPECT_EQ(game.App().GetMasterVolume(), GAME_DEFAULT_MASTER_VOLUME);
        game.Run(50);
        ASSERT_EQ(game.App().GetLuaEngine()->DoString("SetMasterVolume(100) SetMusicVolume(55)"), PIM_OK);
        Activate(game.App(), false);
        game.Run(50);
        ASSERT_EQ(::GetMasterVolume(), 0); // silent in the background
    }
    const std::string store = ReadFile(home / "Orbana/Marrowdale/users.ini");
    EXPECT_NE(store.find("MasterVolume=100"), std::string::npos) << store;
    EXPECT_NE(store.find("MusicVolume=55"), std::string::npos) << store;

    GameTestApp again(setup);
    EXPECT_EQ(again.App().GetMasterVolume(), 100);
    EXPECT_EQ(again.App().GetMusic().GetVolume(), 55);
}

namespace {

// No intro to sit through; counts the credits rolls into `rolls`, which
// outlives the application.
class WatchedApp : public CMarrowdaleApp
{
public:
    WatchedApp(const ST_APP_INIT& init, int& rolls) : CMarrowdaleApp(init), m_rolls(rolls) {}
    void PlayIntroMovies() override {}
    void ShowCredits() override
    {
        ++m_rolls;
        CMarrowdaleApp::ShowCredits();
    }

private:
    int& m_rolls;
};

// Ends a roll that has begun with Space, as a player would.
struct EndTheRoll : CxMainLoopHook
{
    EndTheRoll(CMarrowdaleApp*& watched, const int& rolls) : app(watched), count(rolls) {}
    void OnMainLoop() override
    {
        if (app && count > 0 && app->GetModalDepth() > 0 && !pressed) {
            pressed = true;
            ST_MESSAGE space;
            space.type = EMessage::KeyDown;
            space.key = PIM_KEY_SPACE;
            HeadlessWindowOf(*app)->Post(space);
        }
    }
    CMarrowdaleApp*& app;
    const int& count;
    bool pressed = false;
};

// A watched run in which `during` happens; the rolls at its end.
template <class During>
int RollsAfter(During during)
{
    int rolls = 0;
    CMarrowdaleApp* app = nullptr;
    EndTheRoll ender(app, rolls);
    {
        ST_GAME_TEST_SETUP setup;
        setup.unattended = false;
        setup.make = [&rolls](const ST_APP_INIT& init) { return std::make_unique<WatchedApp>(init, rolls); };
        GameTestApp game(setup);
        app = &game.App();
        game.Run(100);
        during(game);
        game.Run(20);
    }
    return rolls;
}

} // namespace

TEST(MarrowdaleApp, TheCreditsRollAtExitOnlyAfterARunWithoutErrors)
{
    EXPECT_EQ(RollsAfter([](GameTestApp&) {}), 1);
    // A printer error was answered and is no error of the run.
    EXPECT_EQ(RollsAfter([](GameTestApp& game) {
                  CountingQuestions questions;
                  SetGameServices(&questions);
                  ReportError(PIM_ERR_PRINTER, "no printer");
                  SetGameServices(&game.App());
              }),
              1);
    // A missing picture (recorded: no box waits for a click).
    EXPECT_EQ(RollsAfter([](GameTestApp& game) {
                  ErrorRecorder recorder;
                  game.App().GetLuaEngine()->DoString("RoomLoadSurface('no-such-picture.tga')");
                  EXPECT_FALSE(recorder.errors.empty());
              }),
              0);
}
