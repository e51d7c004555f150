#pragma once
// The game's application object: the game layer's application with what is
// this game's own, and the game's services (game/common/CGameServices.h)
// for the rooms a floor below.
//
// What it adds to the game layer:
//   - the language: "Options"/"Language" of Marrowdale.ini (at most 15
//     characters, default "English"), handed to Lua as the global gLanguage
//     before any script runs, and the language table "language.ini" (one
//     section per language, a key per text id);
//   - the roots "<LocalizedAssets>" (<InstallPath>LocalizedAssets/<language>)
//     and "<LocalizedAssetsCD>" (the same below <CDPath>);
//   - the players' folder: the user's data folder + "/Orbana/Marrowdale",
//     made parent first and mounted as "<AppData>", with the player store
//     "<AppData>users.ini" in it. A folder whose name would not fit its
//     256-byte buffer is reported and the game goes on without saving
//     players (a cut name would be some other folder);
//   - the game font "COMMON/pakenham.ttf";
//   - the volumes of "_GLOBAL_" (MusicVolume 20, MasterVolume 80) set at
//     start and saved at exit; the master volume saved is the player's, the
//     one from before the window went to the background;
//   - the cursors 10 (clear arrow), 11 (dark arrow) and 12 (hand); 10 is
//     the one shown;
//   - the player functions for scripts (GameScriptPlayer.h);
//   - printer errors (code 19) answered with the "COMMON/printer.ini"
//     question and taken back off the error count, so the player sees one
//     notice each and the game goes on; every other error goes on to the
//     handler that was there before.
//
// Exit: the volumes are saved with the store, the font and the cursors go,
// then the game layer's part (which rolls the credits after a run without
// errors, the game's own).

#include "DAX/app/CDaxApp.h"
#include "PIM/core/CxError.h"
#include "PIM/files/CxOptions.h"
#include "game/common/CGameServices.h"
#include "game/common/GameCursors.h"

#include <cstdint>
#include <memory>

class CxFileSystem;

constexpr const char* GAME_LANGUAGE_FILE = "language.ini";
constexpr const char* GAME_FONT_FILE = "COMMON/pakenham.ttf";
constexpr const char* GAME_PRINTER_DIALOG = "COMMON/printer.ini";
// A language name is kept to 15 characters (a 16-byte buffer).
constexpr size_t GAME_LANGUAGE_MAX = 15;
// The players' folder, root tag included, fits 255 characters.
constexpr size_t GAME_DATA_FOLDER_SIZE = 256;
constexpr int GAME_DEFAULT_MUSIC_VOLUME = 20;
constexpr int GAME_DEFAULT_MASTER_VOLUME = 80;

class CMarrowdaleApp : public CDaxApp, public CGameServices
{
public:
    explicit CMarrowdaleApp(const ST_APP_INIT& init);
    ~CMarrowdaleApp() override;

    // The game's initialisation record, with `configFile` and `build` filled in.
    static ST_APP_INIT MakeInit(const char* configFile, const char* build);

    // --- the life cycle ----------------------------------------------------------------------
    // Reads the language first.
    int InitInstance() override;
    int InitApplication() override;
    int ExitApplication() override;
    // The game's own roll (game/common/GameCredits.h), unless the game is on
    // its way out (the roll at exit sets the quit aside while it runs).
    void ShowCredits() override;

    // --- the game's services -------------------------------------------------------------------
    CxString GetLocalizedString(const char* id) const override;
    const char* GetLanguage() const override { return m_language.GetText(); }
    intptr_t GetGameFont() const override;

    // The signed-in player's store, and its four operations.
    int ReadPlayerInt(const char* key, int defaultValue) { return GetPlayers().ReadInt(key, defaultValue); }
    CxString ReadPlayerString(const char* key, const char* defaultValue)
    {
        return GetPlayers().ReadString(key, defaultValue);
    }
    int WritePlayerInt(const char* key, int value) { return GetPlayers().WriteInt(key, value); }
    int WritePlayerString(const char* key, const char* value) { return GetPlayers().WriteString(key, value); }
    // What replays check: the signed-in player's value of `key` as stored
    // ("" when it never was); false when nobody is signed in.
    bool ReadPlayerValue(const char* key, CxString& value) const override;

    // --- for tests ---------------------------------------------------------------------------------
    // The table the texts come from (tests add texts to it).
    CxOptions& GetLanguageTable() { return m_languageTable; }
    // "<DEFAULT>" + the players' folder; "" when there is none.
    const char* GetDataFolder() const { return m_dataFolder; }
    // Rolls of the credits this run.
    int GetCreditsShown() const { return m_creditsShown; }

private:
    void ReadLanguage();
    void SetLanguageGlobal();
    void MountLocalizedAssets();
    // The players' folder made and mounted; false (reported) when it cannot be.
    bool OpenDataFolder();
    void LoadVolumes();
    void SaveVolumes();
    void LoadGameCursors();
    void InstallErrorHook();
    void RemoveErrorHook();
    static void OnGameError(void* context, int code, const char* message);

    // Read, never written back: tests add texts to it at run time.
    class CLanguageTable : public CxOptions
    {
    public:
        ~CLanguageTable() override { Flush(); }
        int Save() override { return PIM_OK; }
    };

    CxString m_language;
    mutable CLanguageTable m_languageTable;
    char m_dataFolder[GAME_DATA_FOLDER_SIZE] = {};
    std::unique_ptr<CxFileSystem> m_localizedAssets;
    std::unique_ptr<CxFileSystem> m_localizedAssetsCd;
    std::unique_ptr<CxFileSystem> m_appData;
    intptr_t m_font = 0;
    ST_ERROR_HANDLER m_previousError;
    bool m_hookInstalled = false;
    bool m_exiting = false;
    int m_creditsShown = 0;
};

// Makes sure the game's room registrars are part of the program.
void RegisterMarrowdaleRooms();
