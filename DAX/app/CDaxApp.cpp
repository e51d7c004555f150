#include "DAX/app/CDaxApp.h"

#include "DAX/app/DaxConfigFile.h"
#include "DAX/app/DaxRoomLink.h"
#include "DAX/app/DaxSystemCommands.h"
#include "DAX/base/DaxCategories.h"
#include "DAX/base/DaxDeferredDelete.h"
#include "DAX/buttons/DaxGlobalButtons.h"
#include "DAX/dialogs/CDaxCreditsDialog.h"
#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "PIM/app/CxEventListener.h"
#include "PIM/app/PimEventCategories.h"
#include "PIM/app/PimEventChannels.h"
#include "PIM/core/CxError.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxOptionSection.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/movie/CxMovieDriver.h"
#include "PIM/movie/PimDefaultMovieDrivers.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/text/CxBitmapFont.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/CxFreeTypeFont.h"

#include <vector>

namespace {

CDaxApp* g_daxApp = nullptr;

} // namespace

CDaxApp::CDaxApp(const ST_APP_INIT& init) : CxGameApp(init)
{
    g_daxApp = this;
}

CDaxApp::~CDaxApp()
{
    if (&DaxServices() == this)
        SetDaxServices(nullptr);
    if (g_daxApp == this)
        g_daxApp = nullptr;
}

CDaxApp* CDaxApp::GetDaxApp()
{
    return g_daxApp;
}

// --- start-up --------------------------------------------------------------------------------

int CDaxApp::InitInstance()
{
    m_errorsAtStart = GetErrorCount();
    return CxGameApp::InitInstance();
}

int CDaxApp::InitApplication()
{
    // What the game layer's pieces ask of "the application" from now on.
    SetDaxServices(this);
    m_focus = CDaxFocusMute();
    m_cursorDisabled = false;

    // The sound system starts with the engine's part below; the music's
    // wave is made with its first track. Pictures come first: rooms and
    // autorun.lua may load some.
    RegisterDefaultImageFilters();
    const int code = CxGameApp::InitApplication();

    DaxLoadConfigFile(m_options);
    RegisterDefaultMovieDrivers();
    RegisterBitmapFontFilter();
    RegisterFreeTypeFontFilter();

    m_interpolator.reset(new CxInterpolator);
    if (!m_interpolator)
        ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not create global interpolater.");
    StartSystemChannel();
    // What Lua destroys from inside its own handler goes at the next pass.
    m_deferred.reset(new CDaxDeferredFlush);

    if (CxLuaEngine* lua = GetLuaEngine())
        RegisterGameLayerScriptFunctions(*lua);
    DaxLoadGlobalButtons(m_options);
    DaxLoadGlobalDialogs(m_options);
    LoadCursors();
    if (code == PIM_OK && !m_options.GetInt(DAX_STARTUP_SECTION, "SkipIntroMovies", 0))
        PlayIntroMovies();
    DaxRegisterCategory(DAX_SYSTEM_CATEGORY, this);
    return code;
}

void CDaxApp::StartSystemChannel()
{
    m_systemChannel = CreateChannel();
    m_systemListener.reset(new CxEventListener);
    if (m_systemListener && m_systemChannel)
        m_systemListener->Listen(m_systemChannel);
}

int CDaxApp::LoadCursors()
{
    m_cursorNames.Load(m_options);
    return PIM_OK;
}

void CDaxApp::PlayIntroMovies()
{
    const CxOptionSection* section = m_options.FindSection(DAX_INTRO_MOVIES_SECTION);
    if (!section || !section->GetFirstNode())
        return;
    // The names first: the movies' frames run scripts, and nothing they do
    // may pull the list from under this loop.
    std::vector<CxString> names;
    for (const auto* node = section->GetFirstNode(); node; node = node->GetNext())
        names.emplace_back(node->GetElement()->GetValue());
    // The screen comes with the window's first activation, a few frames on.
    if (!WaitForScreen())
        return;
    for (const CxString& name : names) {
        if (IsQuitting() || IsAborting())
            break;
        CxString path;
        if (BuildGamePathFromData(path, name.GetText()) != PIM_OK || !FsExists(path.GetText()))
            continue; // a missing intro is left out
        PlayMovie(path.GetText(), -1, -1, true);
    }
}

int CDaxApp::StartGame()
{
    CxGameApp::StartGame();
    // It enters the first room; a game without one is no error.
    CxLuaEngine* lua = GetLuaEngine();
    if (lua && FsExists("startup.lua"))
        lua->DoFile("startup.lua");
    return PIM_OK;
}

CxGameWindow* CDaxApp::CreateRoom(const CxGameRoomRegistrar& registration)
{
    CxGameWindow* room = CxGameApp::CreateRoom(registration);
    if (room)
        DaxRoomLoadOptions(room);
    return room;
}

// --- the frame and the window ------------------------------------------------------------------

int CDaxApp::UpdateFrame()
{
    const int code = CxGameApp::UpdateFrame();
    // A dialog asked for by a script opens now, once the script has returned;
    // one asked for as the game ends never opens.
    if (DaxGetPendingDialog()) {
        if (IsQuitting() || IsAborting())
            DaxClearPendingDialog();
        else
            DaxRunPendingDialog();
    }
    return code;
}

void CDaxApp::OnQuitRequest()
{
    CxGameApp::OnQuitRequest();
    if (!IsQuitting())
        return; // the room said no
    DaxClearPendingDialog();
    m_focus.RegainFocus(*this);
}

void CDaxApp::OnActivateApp(bool active)
{
    CxGameApp::OnActivateApp(active);
    if (active)
        m_focus.RegainFocus(*this);
    else if (!IsQuitting())
        m_focus.LoseFocus(*this); // a game on its way out keeps the player's volume
}

void CDaxApp::OnKeyDown(uint32_t key, uint32_t flags)
{
    DaxRoomNoteInput(GetCurrentRoom());
    CxGameApp::OnKeyDown(key, flags);
}

void CDaxApp::OnKeyUp(uint32_t key, uint32_t flags)
{
    DaxRoomNoteInput(GetCurrentRoom());
    CxGameApp::OnKeyUp(key, flags);
}

void CDaxApp::OnMouse(const ST_MOUSE_EVENT& event)
{
    // Before the display tree: a move a button swallows is input all the same.
    DaxRoomNoteInput(GetCurrentRoom());
    CxGameApp::OnMouse(event);
}

void CDaxApp::DisableCursor()
{
    if (m_cursorDisabled)
        return;
    m_cursorDisabled = true;
    HideCursor();
    SetState(PIM_STATE_MOUSE, false);
}

void CDaxApp::EnableCursor()
{
    if (!m_cursorDisabled)
        return;
    m_cursorDisabled = false;
    SetState(PIM_STATE_MOUSE, true);
    ShowCursor();
}

// --- events, commands and services -------------------------------------------------------------

CxEvent* CDaxApp::CreateEvent(const char* category, const char* name, const CxEventArgs& args)
{
    return m_systemEvents.CreateEvent(category, name, args);
}

void CDaxApp::OnCommand(const char* name, const CxEventArgs& args)
{
    DaxRunSystemCommand(*this, name, args);
}

PimChannelId CDaxApp::GetRoomChannel() const
{
    return DaxRoomChannel(GetCurrentRoom());
}

CCommandHandler* CDaxApp::GetSystemCommandHandler() const
{
    // The commands change the application: the services hand out the one
    // object there is.
    return const_cast<CDaxApp*>(this);
}

bool CDaxApp::HadErrors() const
{
    return GetErrorCount() != m_errorsAtStart;
}

// --- exit --------------------------------------------------------------------------------------

bool CDaxApp::CreditsAreDue()
{
    if (m_options.GetInt(DAX_STARTUP_SECTION, "SkipCredits", 0))
        return false;
    // Nobody is there to end a roll that waits for a key (a finished replay,
    // a test), and an aborted run or one with errors ends without ceremony.
    return !HadErrors() && !IsUnattended() && !IsAborting() && GetScreen() && IsDisplayInitialised();
}

void CDaxApp::ShowCredits()
{
    CDaxCreditsDialog::ShowModal(m_options, GetMusic());
}

int CDaxApp::ExitApplication()
{
    // The game leaves with the player's volume, whatever the window is doing.
    m_focus.RegainFocus(*this);
    DaxClearPendingDialog();
    DaxRemoveAllGlobalDialogs();
    DaxRemoveAllGlobalButtons();

    // The roll reads its file names through the global interpolator, which
    // stays until it is over. A modal loop ends at once while the game is
    // quitting, which it is by now: the quit is set aside for the roll (an
    // abort, a closed window or Alt+Q still end it) and stands again after.
    if (CreditsAreDue()) {
        const bool quitting = m_quit;
        m_quit = false;
        ShowCredits();
        m_quit = m_quit || quitting;
        m_focus.RegainFocus(*this); // the focus may have gone while it ran
        DaxClearPendingDialog();
    }
    m_interpolator.reset();

    m_cursorNames.Clear();
    EnableCursor();
    StopSystemChannel();
    m_deferred.reset();
    // The engine's part stops the sound system: every sound of the game
    // layer goes before it (the ones still playing after their event first).
    DaxReleaseLingeringSounds();
    GetDefaultSoundCache().Flush();
    GetDefaultMusic().Release();

    const int code = CxGameApp::ExitApplication();

    UnregisterEventCategories("*");
    UnregisterFontFilter("*");
    ResetMovieDrivers();
    UnregisterImageFilter("*");
    return code;
}

void CDaxApp::StopSystemChannel()
{
    if (m_systemListener && m_systemChannel)
        m_systemListener->StopListening(m_systemChannel);
    m_systemListener.reset();
    if (m_systemChannel)
        DestroyChannel(m_systemChannel);
    m_systemChannel = 0;
}
