#pragma once
// The engine's script functions, one family a file (PIM/script/PimScript<Family>.cpp),
// each with one Register...ScriptFunctions that sets its Lua globals. Every
// function checks its arguments through PimScriptArgs.h and reaches the
// running program only through the engine's CxScriptHost.
//
// Who registers what:
// - The application family comes with every Lua state: CxLuaEngine's set-up
//   registers it, so a plain CxApp (or an engine on its own) has Quit, Help,
//   FileExists and pim.app.
// - RegisterEngineScriptFunctions registers the other families of the
//   engine; CxGameApp::InitApplication calls it, before autorun.lua runs.
// - A layer above the engine adds its own families the same way: a file per
//   family on its own floor, a Register<Family>ScriptFunctions(CxLuaEngine&)
//   declared in its own header, called from InitApplication of that layer's
//   application class after the class above it has registered its own, and a
//   host (an override of CxScriptHost, or its own interface) for whatever its
//   functions need of the program.

// UnescapePercents, which the script function BuildGamePath is built on,
// lives with the game paths now; it is still reachable from here.
#include "PIM/core/PimGamePath.h"

class CxLuaEngine;

// Quit, Restart, IsQuiting, GetBuildDate, GetAppName, GetLocalPath,
// GetStartupPath, the pim.app table, Help, FileExists and the stubs of the
// debugging helpers (LogInfo, DumpMem, ...).
void RegisterApplicationScriptFunctions(CxLuaEngine& engine);
// PushRoom, PopRoom, GotoRoom, PeekRoom, ReloadRoom, PauseRoom, ResumeRoom,
// IsLeavingRoom, GetCurRoomName, GetCurRoomPtr, RoomLoadSurface.
void RegisterRoomScriptFunctions(CxLuaEngine& engine);
// Room::SetTimer, Room::KillTimer, Room::PauseTimer, Room::ResumeTimer.
void RegisterTimerScriptFunctions(CxLuaEngine& engine);
// BindKey, UnBindKey, UnBindAllKeys.
void RegisterKeyScriptFunctions(CxLuaEngine& engine);
// NewFileSystem, RemoveFileSystem, BuildGamePath.
void RegisterFileScriptFunctions(CxLuaEngine& engine);
// SetCursor, GetCursor, SetDefaultCursor, GetDefaultCursor, HideCursor, ShowCursor.
void RegisterCursorScriptFunctions(CxLuaEngine& engine);
// PaintSprite, EraseSprite.
void RegisterSpriteScriptFunctions(CxLuaEngine& engine);
// ScreenCapture.
void RegisterScreenScriptFunctions(CxLuaEngine& engine);
// PrintScreen, PrintFile.
void RegisterPrintScriptFunctions(CxLuaEngine& engine);
// The stubs of the debug window (SetDebugWindowText, ShowDebugBar,
// HideDebugBar): part of the application family, but registered with the
// game's families, as only a game has the bar they stand for.
void RegisterDebugBarScriptStubs(CxLuaEngine& engine);

// Every family above but the application's (the state has that already).
void RegisterEngineScriptFunctions(CxLuaEngine& engine);
