#pragma once
// The arguments the game layer's script families share, read the engine's
// way (PIM/script/PimScriptArgs.h): a wrong one is a Lua error, never a
// crash and never taken as something else.

#include <lua.hpp>

// A flag: absent or nil gives `absent`; a number is true unless it is 0
// (data written for the old engine passes 0 and 1); anything else is Lua's
// truth (false and nil are false).
bool DaxFlagArgument(lua_State* L, int index, bool absent);
// A volume: any number, kept within 0..127. NaN is an argument error.
int DaxVolumeArgument(lua_State* L, int index);
// A position on the screen, kept within the game layer's coordinate limit;
// absent or nil gives -1 (centred, for movies).
int DaxPositionArgument(lua_State* L, int index);
