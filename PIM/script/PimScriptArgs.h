#pragma once
// What the script functions share: finding the host, and reading their
// arguments. A missing or wrong argument is a Lua error (traced like any
// other), never a crash; the helpers raise it, so a family only says what it
// wants and in which order.

#include "PIM/script/CxScriptHost.h"

#include <lua.hpp>

#include <cstddef>
#include <cstdint>

class CxLuaEngine;
class CxRoomTimers;
class CxSprite;

// The host of the engine that runs this state, or null (an engine on its
// own): the application family answers defaults then.
CxScriptHost* FindScriptHost(lua_State* L);
// The same, for the families that need a running program: a Lua error
// "no game application is running" when there is none.
CxScriptHost& ScriptHost(lua_State* L);

// Script functions that only pass a call on to the host and answer nothing:
// without arguments, or with one string (a room or key name). The host is
// looked up before the argument is read.
template <void (CxScriptHost::*Call)()>
int HostCallFn(lua_State* L)
{
    (ScriptHost(L).*Call)();
    return 0;
}
template <void (CxScriptHost::*Call)(const char*)>
int HostNameCallFn(lua_State* L)
{
    (ScriptHost(L).*Call)(luaL_checkstring(L, 1));
    return 0;
}

// Rooms reach scripts as handles: light user data holding a room's id, never
// its address. Handle 0 (no room) goes to Lua as nil.
void PushRoomHandle(lua_State* L, uint32_t handle);
// A room handle argument, for its timers: a type error when it is no handle,
// an argument error when the host has no such room (any more).
CxRoomTimers& RoomTimersArgument(lua_State* L, int index);

// A number argument within [low, high]; outside it the argument error
// "<what> out of range" (NaN included).
lua_Number BoundedNumberArgument(lua_State* L, int index, lua_Number low, lua_Number high, const char* what);
// The bounded arguments of the families.
int TimerIdArgument(lua_State* L, int index);
uint32_t IntervalArgument(lua_State* L, int index);
int CursorNumberArgument(lua_State* L, int index);
int CoordinateArgument(lua_State* L, int index);

// A sprite handle argument: light user data (or a number) holding the
// sprite's handle, looked up among the live sprites.
CxSprite& SpriteArgument(lua_State* L, int index);

// Registers a family's table of functions as globals, in table order.
void RegisterScriptFunctions(CxLuaEngine& engine, const luaL_Reg* functions, size_t count);
template <size_t N>
void RegisterScriptFunctions(CxLuaEngine& engine, const luaL_Reg (&functions)[N])
{
    RegisterScriptFunctions(engine, functions, N);
}
