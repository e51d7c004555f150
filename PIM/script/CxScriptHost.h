#pragma once
// What scripts may ask of the running program. The script functions sit on
// this floor and the application above it, so they reach the program only
// through this interface: CxApp and the classes above it implement it, the
// Lua engine is handed one (CxLuaEngine::GetHost), and every script function
// asks its engine's host.
//
// Every answer has a harmless default, so a host that lacks a part answers
// "none" and does nothing there: a plain CxApp has no rooms, key bindings or
// file systems, a test's stand-in may have nothing at all.

#include "PIM/core/CxError.h"
#include "PIM/core/CxString.h"

#include <cstdint>

class CxRoomTimers;

class CxScriptHost
{
public:
    virtual ~CxScriptHost() = default;

    // --- the application ------------------------------------------------------------
    // Quitting sets the flag, then asks (the application may refuse).
    virtual void RequestQuit() {}
    // Quits and starts again, when the quit is accepted.
    virtual void RequestRestart() {}
    virtual bool IsQuitting() const { return false; }
    virtual const char* GetName() const { return ""; }
    virtual const char* GetBuild() const { return ""; }
    // The folders end in "/" (or are empty).
    virtual const char* GetProgramFolder() const { return ""; }
    virtual const char* GetStartFolder() const { return ""; }

    // --- the room stack (by room name) ----------------------------------------------
    virtual void PushRoom(const char*) {}
    // The new top name, or "" when nothing was popped.
    virtual CxString PopRoom() { return CxString(); }
    virtual void GotoRoom(const char*) {}
    virtual CxString PeekRoom() const { return CxString(); }
    virtual void ReloadRoom() {}
    virtual void PauseRoom() {}
    virtual void ResumeRoom() {}
    // True while a room change waits for the next frame.
    virtual bool IsLeavingRoom() const { return false; }
    // The room entered last ("" when none); a pending stack top is not entered.
    virtual const char* GetCurRoomName() const { return ""; }
    // The script handle of the current room; 0 when there is none (handles
    // start at 1).
    virtual uint32_t GetCurRoomHandle() const { return 0; }
    // The timers of the room with this handle; null when there is no such
    // room (any more).
    virtual CxRoomTimers* GetRoomTimers(uint32_t) { return nullptr; }
    // Loads a picture as the current room's background; PIM_ERR_BAD_ARG when
    // no room is current.
    virtual int LoadRoomBackground(const char*) { return PIM_ERR_BAD_ARG; }

    // --- key bindings ---------------------------------------------------------------
    virtual void BindKey(const char*, const char*) {}
    virtual void UnBindKey(const char*) {}
    virtual void UnBindAllKeys() {}

    // --- file systems ---------------------------------------------------------------
    // PIM_OK when the folder or archive is mounted under the tag.
    virtual int NewFileSystem(const char*, const char*) { return PIM_ERR_BAD_ARG; }
    virtual int RemoveFileSystem(const char*) { return PIM_ERR_NOT_FOUND; }

    // --- the screen -----------------------------------------------------------------
    // Saves what the screen shows; a null or empty name picks a dated default.
    virtual int ScreenCapture(const char*) { return PIM_ERR_BAD_ARG; }

    // --- printing -------------------------------------------------------------------
    // Prints what the screen shows / a picture file, on the default printer,
    // in landscape or portrait. PIM_OK, or the code of what failed.
    virtual int PrintScreen(bool) { return PIM_ERR_BAD_ARG; }
    virtual int PrintFile(const char*, bool) { return PIM_ERR_BAD_ARG; }
};
