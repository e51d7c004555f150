#include "game/shell/CMarrowdaleApp.h"

#include "PIM/core/CxOptionVariable.h"
#include "PIM/core/PimTrace.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/files/CxDirectoryFileSystem.h"
#include "PIM/files/CxDynamicFileSystem.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/os/PimShellFolders.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/sound/CxSound.h"
#include "PIM/text/CxFont.h"
#include "DAX/dialogs/CDaxCreditsDialog.h"
#include "game/common/GameCredits.h"
#include "game/common/GameCursors.h"
#include "game/common/GameScriptPlayer.h"
#include "game/common/GameScriptStory.h"

#include <lua.hpp>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr const char* kOptionsSection = "Options";
constexpr const char* kFolderRoot = "/Orbana";
constexpr const char* kFolderGame = "/Marrowdale";
constexpr const char* kDefaultRoot = "<DEFAULT>";
// Longest text id or text of the language table, terminator included.
constexpr int kLocalizedSize = 2048;

const ST_GAME_CURSOR kCursors[] = {
    {GAME_CURSOR_CLEAR, "COMMON/CLEARCURSOR.TGA", 0, 36, 0, 0},
    {GAME_CURSOR_DARK, "COMMON/DARKCURSOR.TGA", 0, 36, 0, 0},
    {GAME_CURSOR_HAND, "COMMON/HandCurs.TGA", 0, 0, 1, 1},
};

// Every missing folder of `path` ("<DEFAULT>/a/b/c"), parent first. A
// failure is traced: the first save then fails, quietly, and says so.
void MakeFolders(const char* path)
{
    const std::string full = path;
    const size_t start = PimStrLen(kDefaultRoot) + 1;
    for (size_t slash = full.find('/', start);; slash = full.find('/', slash + 1)) {
        const std::string folder = full.substr(0, slash);
        if (!FsIsDirectory(folder.c_str())) {
            CxQuietErrors quiet;
            if (FsMakeDirectory(folder.c_str()) != PIM_OK)
                Trace("Players: could not make the folder %s\n", folder.c_str());
        }
        if (slash == std::string::npos)
            break;
    }
}

} // namespace

CMarrowdaleApp::CMarrowdaleApp(const ST_APP_INIT& init) : CDaxApp(init), m_language(GAME_DEFAULT_LANGUAGE) {}

CMarrowdaleApp::~CMarrowdaleApp()
{
    RemoveErrorHook();
    if (&GameServices() == this)
        SetGameServices(nullptr);
}

ST_APP_INIT CMarrowdaleApp::MakeInit(const char* configFile, const char* build)
{
    ST_APP_INIT init;
    init.name = "Marrowdale";
    init.configFile = configFile;
    init.build = build;
    init.major = MARROWDALE_VERSION_MAJOR;
    init.minor = MARROWDALE_VERSION_MINOR;
    init.left = 0;
    init.top = 0;
    init.width = 800;
    init.height = 600;
    init.depth = 16;
    init.windowFlags = PIM_WF_ACCELERATED | PIM_WF_CUSTOM_CURSOR;
    return init;
}

// --- start-up --------------------------------------------------------------------------------

int CMarrowdaleApp::InitInstance()
{
    ReadLanguage();
    return CDaxApp::InitInstance();
}

void CMarrowdaleApp::ReadLanguage()
{
    char language[CxString::kFormatBufferSize];
    GetString(kOptionsSection, "Language", language, GAME_DEFAULT_LANGUAGE, static_cast<int>(sizeof language));
    m_language = language;
    if (m_language.Length() > static_cast<int>(GAME_LANGUAGE_MAX)) {
        m_language = m_language.Left(static_cast<int>(GAME_LANGUAGE_MAX));
        Trace("Options: the language \"%s\" is longer than %d characters; it is read as \"%s\"\n", language,
              static_cast<int>(GAME_LANGUAGE_MAX), m_language.GetText());
    }
}

int CMarrowdaleApp::InitApplication()
{
    // The rooms the base part makes may already ask for the game's services.
    SetGameServices(this);
    m_exiting = false;
    m_creditsShown = 0;
    SetLanguageGlobal();

    // The table may sit in an archive or a localized root: the open finds it.
    m_languageTable.SetSkipExistenceCheck(true);
    m_languageTable.Load(GAME_LANGUAGE_FILE);
    MountLocalizedAssets();
    GetPlayers().SetCurrentPlayer(nullptr);
    if (OpenDataFolder()) {
        GetPlayers().Load(GAME_PLAYER_STORE_FILE);
        // A page no printer took is kept with the players' own files.
        SetPrintFolder("<AppData>");
    }

    const int code = CDaxApp::InitApplication();

    // The font loader for ".ttf" came with the base part.
    m_font = 0;
    if (LoadFont(GAME_FONT_FILE, &m_font) != PIM_OK)
        m_font = 0;
    LoadVolumes();
    LoadGameCursors();
    if (CxLuaEngine* lua = GetLuaEngine())
    {
        RegisterPlayerScriptFunctions(*lua, GetPlayers());
        RegisterStoryScriptFunctions(*lua, GetPlayers());
    }
    InstallErrorHook();
    return code;
}

void CMarrowdaleApp::SetLanguageGlobal()
{
    // A value, never pasted into a chunk: the name comes from a file.
    CxLuaEngine* lua = GetLuaEngine();
    lua_State* L = lua ? lua->GetState() : nullptr;
    if (!L)
        return;
    lua_pushstring(L, m_language.GetText());
    lua_setglobal(L, "gLanguage");
}

void CMarrowdaleApp::MountLocalizedAssets()
{
    // Searched after the game's own folders: a file missing from both must
    // not be looked for, or created, in a language's folder.
    const std::string language = m_language.GetText();
    m_localizedAssets = std::make_unique<CxDynamicFileSystem>(
        "<LocalizedAssets>", ("<InstallPath>LocalizedAssets/" + language).c_str(), 0);
    m_localizedAssetsCd = std::make_unique<CxDynamicFileSystem>(
        "<LocalizedAssetsCD>", ("<CDPath>LocalizedAssets/" + language).c_str(), 0);
}

bool CMarrowdaleApp::OpenDataFolder()
{
    m_dataFolder[0] = '\0';
    char shell[GAME_DATA_FOLDER_SIZE];
    const int length = GetShellFolder("AppData", false, shell, static_cast<int>(sizeof shell));
    if (length == 0) {
        ReportError(PIM_ERR_PATH, "There is no folder for the players' data; progress will not be saved");
        return false;
    }
    const size_t needed = PimStrLen(kDefaultRoot) + static_cast<size_t>(length) + PimStrLen(kFolderRoot) +
                          PimStrLen(kFolderGame);
    if (length >= static_cast<int>(sizeof shell) || needed >= sizeof m_dataFolder) {
        ReportError(PIM_ERR_PATH, "The players' data folder under %.200s... is longer than %d characters; "
                                  "progress will not be saved",
                    shell, static_cast<int>(sizeof m_dataFolder) - 1);
        return false;
    }
    std::snprintf(m_dataFolder, sizeof m_dataFolder, "%s%s%s%s", kDefaultRoot, shell, kFolderRoot, kFolderGame);
    MakeFolders(m_dataFolder);
    m_appData = std::make_unique<CxDirectoryFileSystem>("<AppData>", m_dataFolder + PimStrLen(kDefaultRoot), 0);
    return true;
}

void CMarrowdaleApp::LoadVolumes()
{
    const CPlayerStore& players = GetPlayers();
    GetMusic().SetVolume(players.ReadGlobalInt("MusicVolume", GAME_DEFAULT_MUSIC_VOLUME));
    SetMasterVolume(players.ReadGlobalInt("MasterVolume", GAME_DEFAULT_MASTER_VOLUME));
}

void CMarrowdaleApp::LoadGameCursors()
{
    RegisterGameCursors(kCursors);
    SetCursor(GAME_CURSOR_CLEAR);
    SetDefaultCursor(GAME_CURSOR_CLEAR);
}

// --- errors -------------------------------------------------------------------------------------

void CMarrowdaleApp::InstallErrorHook()
{
    RemoveErrorHook();
    m_previousError = SetErrorHandler({&CMarrowdaleApp::OnGameError, this});
    m_hookInstalled = true;
}

void CMarrowdaleApp::RemoveErrorHook()
{
    if (!m_hookInstalled)
        return;
    m_hookInstalled = false;
    // Only while it is still ours: the error box's "Quit" hands errors back
    // past every handler above its own.
    const ST_ERROR_HANDLER current = GetErrorHandler();
    if (current.handler == &CMarrowdaleApp::OnGameError && current.context == this)
        SetErrorHandler(m_previousError);
}

void CMarrowdaleApp::OnGameError(void* context, int code, const char* message)
{
    auto* app = static_cast<CMarrowdaleApp*>(context);
    if (code == PIM_OK)
        return;
    if (app->m_exiting || app->IsQuitting()) {
        Trace("Error %d (%s) while the game ends: %s\n", code, ErrorText(code), message ? message : "");
        return;
    }
    if (code == PIM_ERR_PRINTER) {
        // The player is told and the game goes on: this error, and only this
        // one, comes back off the count, so earlier real errors still count.
        Trace("Printing failed: %s\n", message ? message : "");
        GameServices().ShowYesNo(GAME_PRINTER_DIALOG);
        SetErrorCount(GetErrorCount() - 1);
        return;
    }
    const ST_ERROR_HANDLER previous = app->m_previousError;
    if (previous.handler)
        previous.handler(previous.context, code, message);
    else
        Trace("Error %d (%s): %s\n", code, ErrorText(code), message ? message : "");
}

// --- services ----------------------------------------------------------------------------------

CxString CMarrowdaleApp::GetLocalizedString(const char* id) const
{
    char text[kLocalizedSize];
    m_languageTable.GetString(m_language.GetText(), id ? id : "", text, GAME_NO_STRING, kLocalizedSize);
    return CxString(text);
}

intptr_t CMarrowdaleApp::GetGameFont() const
{
    return m_font ? m_font : CGameServices::GetGameFont();
}

bool CMarrowdaleApp::ReadPlayerValue(const char* key, CxString& value) const
{
    const CPlayerStore& players = const_cast<CMarrowdaleApp*>(this)->GetPlayers();
    if (!players.HasPlayer() || !key)
        return false;
    const CxOptionVariable* variable = players.GetOptions().FindVariable(players.GetCurrentPlayer(), key);
    value = variable ? variable->GetValue() : "";
    return true;
}

// --- exit --------------------------------------------------------------------------------------

void CMarrowdaleApp::ShowCredits()
{
    if (IsQuitting())
        return;
    ++m_creditsShown;
    CDaxCreditsDialog::ShowModal(GameCreditsSettings(), GetMusic(), GAME_CREDITS_MUSIC);
}

void CMarrowdaleApp::SaveVolumes()
{
    CPlayerStore& players = GetPlayers();
    players.SetGlobalInt("MusicVolume", GetMusic().GetVolume());
    // The player's volume, also when the window is in the background; a
    // sound system that never started has none to save.
    const int master = GetMasterVolume();
    if (master >= 0)
        players.SetGlobalInt("MasterVolume", std::min(master, PIM_SOUND_MAX_VOLUME));
    players.Save();
    // Emptied here, while "<AppData>" is still mounted: nothing is left for
    // the store to write as it goes with the application.
    CxQuietErrors quiet;
    players.GetOptions().Flush();
}

int CMarrowdaleApp::ExitApplication()
{
    m_exiting = true;
    RemoveErrorHook();
    SaveVolumes();
    GetPlayers().SetCurrentPlayer(nullptr);
    if (m_font)
        DeleteFont(m_font);
    m_font = 0;
    UnregisterGameCursors(kCursors);

    const int code = CDaxApp::ExitApplication();

    m_appData.reset();
    m_localizedAssetsCd.reset();
    m_localizedAssets.reset();
    if (&GameServices() == this)
        SetGameServices(nullptr);
    return code;
}
