#pragma once
// The engine's script functions: the room stack, room timers, key bindings,
// file systems and game paths, as Lua globals. The game application registers
// them at start-up. Every function checks its arguments: a missing or wrong
// one is a Lua error (traced like any other), never a crash.
//
// Rooms reach scripts as handles (light user data holding a room's id, not
// its address); a handle of a room that no longer exists is refused.
//
// Still to come with their subsystems: the cursor functions, PaintSprite,
// EraseSprite, RoomLoadSurface and ScreenCapture (display tree), PrintScreen
// and PrintFile (printing).

class CxLuaEngine;
class CxGameApp;

void RegisterEngineScriptFunctions(CxLuaEngine& engine);

// "%%" becomes "%", everything else stays as written: the script function
// BuildGamePath never uses its argument as a printf format.
void UnescapePercents(const char* text, char* out, unsigned outSize);
