#pragma once
// The game layer's application, between the engine's game application and
// the game's own: it reads the game layer's configuration ("dax.ini",
// DaxConfigFile.h), owns the global interpolator, the system channel, the
// sound cache and the music, makes the events of the "system" category and
// runs the system commands (DaxSystemCommands.h), adds the game layer's
// script functions, runs "startup.lua", plays the intro movies at start and
// the credits at exit, and mutes and pauses the game while its window is
// in the background (CDaxFocusMute.h). It is the game layer's services
// (CDaxServices) and installs itself as them when it starts.
//
// dax.ini, every section a data author may write (all optional):
//     [Button0], [Button1], ...   global buttons (DAX/buttons/DaxButtonSections.h),
//                                 shown in the rooms that name them under
//                                 [Static] Buttons
//     [Dialogs]   Name=file       the global dialogs (DAX/dialogs/CDaxDialog.h)
//     [Cursors]   Name=x, y, file the named cursors (CDaxCursorNames.h)
//     [Startup]   SkipIntroMovies=0, SkipCredits=0
//     [IntroMovies] any=file      movies played at start, in file order
//     [Credits]   ...             the roll at exit (DAX/dialogs/CDaxCreditsDialog.h)
//                 Music=file      music under it
//
// Start (InitApplication): the picture formats; the engine's part (script
// functions, key bindings, autorun.lua, the console, the sound system, the
// rooms, each reading its option file as it is made); dax.ini; the movie
// and font formats; the global interpolator and the system channel; the
// game layer's script functions; the global buttons and dialogs; the
// cursors; the intro movies; the "system" category. StartGame runs
// "startup.lua", which enters the first room.
//
// Exit (ExitApplication): the global dialogs and buttons go; the credits
// run, unless "SkipCredits" is set, an error was counted during the run,
// nobody is there to watch (IsUnattended) or the run was aborted; then the
// interpolator, the cursor names, the system channel, the sounds and the
// music go, before the engine's part stops the sound system; last, every
// event category, font format, movie driver and picture format.
//
// Every input (keys, mouse moves, clicks) is shown to the current room
// before it is handed on, and the room's channel and options come through
// DaxRoomLink.h.

#include "DAX/app/CDaxCursorNames.h"
#include "DAX/app/CDaxFocusMute.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/sequences/CDaxSystemEvents.h"
#include "PIM/app/CxEvent.h"
#include "PIM/app/CxGameApp.h"
#include "PIM/files/CxOptions.h"

#include <memory>

class CDaxDeferredFlush;
class CxEventListener;
class CxInterpolator;

constexpr const char* DAX_STARTUP_SECTION = "Startup";
constexpr const char* DAX_INTRO_MOVIES_SECTION = "IntroMovies";

class CDaxApp : public CxGameApp, public CxEventCreator, public CCommandHandler, public CDaxServices
{
public:
    explicit CDaxApp(const ST_APP_INIT& init);
    ~CDaxApp() override;

    // The running game layer's application, or null.
    static CDaxApp* GetDaxApp();

    // --- the life cycle --------------------------------------------------------------------
    // Counts the errors from here: the credits show only after a run without any.
    int InitInstance() override;
    int InitApplication() override;
    int StartGame() override;
    int ExitApplication() override;
    // The engine's frame, then the dialog a script asked for in it.
    int UpdateFrame() override;
    // A quit that stands ends the pending dialog and the background's
    // silence: the game leaves with the player's volume.
    void OnQuitRequest() override;
    // The engine's room, which then reads its option file.
    CxGameWindow* CreateRoom(const CxGameRoomRegistrar& registration) override;
    void OnActivateApp(bool active) override;
    // Every input is shown to the current room first.
    void OnKeyDown(uint32_t key, uint32_t flags) override;
    void OnKeyUp(uint32_t key, uint32_t flags) override;
    void OnMouse(const ST_MOUSE_EVENT& event) override;

    // --- after CxGameApp's, in this order ----------------------------------------------------
    // The named cursors of "Cursors" (CDaxCursorNames). PIM_OK: what cannot
    // be registered is traced and left out.
    virtual int LoadCursors();
    // Every movie of "IntroMovies" that exists, in file order, centred and
    // skippable; a missing one is left out. Stops when the game quits.
    virtual void PlayIntroMovies();
    // The credits roll of the "Credits" keys, with their music.
    virtual void ShowCredits();

    // --- the "system" category and its commands ------------------------------------------------
    // The "system" event kinds (CDaxSystemEvents); any other name is a
    // command for this application.
    CxEvent* CreateEvent(const char* category, const char* name, const CxEventArgs& args) override;
    using CxGameApp::OnCommand;
    // DaxRunSystemCommand.
    void OnCommand(const char* name, const CxEventArgs& args) override;

    // --- the game layer's services ----------------------------------------------------------------
    const CxInterpolator* GetInterpolator() const override { return m_interpolator.get(); }
    CxLuaEngine* GetLuaEngine() const override { return CxGameApp::GetLuaEngine(); }
    int GetCursorIdFromName(const char* name) const override { return m_cursorNames.GetId(name); }
    CxGameWindow* GetCurrentRoom() const override { return CxGameApp::GetCurrentRoom(); }
    PimChannelId GetSystemChannel() const override { return m_systemChannel; }
    PimChannelId GetRoomChannel() const override;
    CCommandHandler* GetSystemCommandHandler() const override;
    int GetMasterVolume() const override { return m_focus.GetMasterVolume(); }
    void SetMasterVolume(int volume) override { m_focus.SetMasterVolume(volume); }
    using CxGameApp::RunScript;

    // --- for the system commands, the game and tests --------------------------------------------
    // The store read from dax.ini (empty when there was none).
    CxOptions& GetGameLayerOptions() { return m_options; }
    // Null outside InitApplication .. ExitApplication.
    CxInterpolator* GetGlobalInterpolator() { return m_interpolator.get(); }
    const CDaxCursorNames& GetCursorNames() const { return m_cursorNames; }
    const CDaxFocusMute& GetFocus() const { return m_focus; }
    // Hides the cursor and drops the window's mouse input; EnableCursor
    // undoes it. Twice is once.
    void DisableCursor();
    void EnableCursor();
    bool IsCursorDisabled() const { return m_cursorDisabled; }
    // True when an error was counted since this run's InitInstance.
    bool HadErrors() const;

private:
    void StartSystemChannel();
    void StopSystemChannel();
    bool CreditsAreDue();

    CxOptions m_options;
    std::unique_ptr<CxInterpolator> m_interpolator;
    PimChannelId m_systemChannel = 0;
    // The channels run while somebody listens: the system channel's listener.
    std::unique_ptr<CxEventListener> m_systemListener;
    CDaxSystemEvents m_systemEvents;
    std::unique_ptr<CDaxDeferredFlush> m_deferred;
    CDaxCursorNames m_cursorNames;
    CDaxFocusMute m_focus;
    bool m_cursorDisabled = false;
    int m_errorsAtStart = 0;
};
