#include "PIM/script/PimScriptArgs.h"

#include "PIM/display/PimSpriteHandles.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/CxScriptHost.h"

namespace {

constexpr lua_Number kIntLow = -2147483648.0;
constexpr lua_Number kIntHigh = 2147483647.0;
constexpr lua_Number kUint32High = 4294967295.0;

uint32_t HandleOf(lua_State* L, int index)
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(lua_touserdata(L, index)));
}

} // namespace

CxScriptHost* FindScriptHost(lua_State* L)
{
    CxLuaEngine* engine = CxLuaEngine::FromState(L);
    return engine ? engine->GetHost() : nullptr;
}

CxScriptHost& ScriptHost(lua_State* L)
{
    CxScriptHost* host = FindScriptHost(L);
    if (!host)
        luaL_error(L, "no game application is running");
    return *host;
}

void PushRoomHandle(lua_State* L, uint32_t handle)
{
    if (handle == 0) {
        lua_pushnil(L);
        return;
    }
    lua_pushlightuserdata(L, reinterpret_cast<void*>(static_cast<uintptr_t>(handle)));
}

CxRoomTimers& RoomTimersArgument(lua_State* L, int index)
{
    if (!lua_islightuserdata(L, index))
        luaL_typerror(L, index, "room");
    CxRoomTimers* timers = ScriptHost(L).GetRoomTimers(HandleOf(L, index));
    if (!timers)
        luaL_argerror(L, index, "not a room (error 16: unknown or gone)");
    return *timers;
}

lua_Number BoundedNumberArgument(lua_State* L, int index, lua_Number low, lua_Number high, const char* what)
{
    lua_Number value = luaL_checknumber(L, index);
    if (!(value >= low && value <= high))
        luaL_argerror(L, index, lua_pushfstring(L, "%s out of range", what));
    return value;
}

int TimerIdArgument(lua_State* L, int index)
{
    return static_cast<int>(BoundedNumberArgument(L, index, kIntLow, kIntHigh, "timer id"));
}

uint32_t IntervalArgument(lua_State* L, int index)
{
    return static_cast<uint32_t>(BoundedNumberArgument(L, index, 0.0, kUint32High, "interval"));
}

int CursorNumberArgument(lua_State* L, int index)
{
    return static_cast<int>(BoundedNumberArgument(L, index, kIntLow, kIntHigh, "cursor number"));
}

int CoordinateArgument(lua_State* L, int index)
{
    return static_cast<int>(BoundedNumberArgument(L, index, -1e9, 1e9, "coordinate"));
}

CxSprite& SpriteArgument(lua_State* L, int index)
{
    uint32_t handle = 0;
    if (lua_islightuserdata(L, index))
        handle = HandleOf(L, index);
    else if (lua_isnumber(L, index) && lua_tonumber(L, index) >= 1 && lua_tonumber(L, index) <= kUint32High)
        handle = static_cast<uint32_t>(lua_tonumber(L, index));
    else
        luaL_typerror(L, index, "sprite");
    CxSprite* sprite = FindSpriteByHandle(handle);
    if (!sprite)
        luaL_argerror(L, index, "not a sprite (error 16: unknown or gone)");
    return *sprite;
}

void RegisterScriptFunctions(CxLuaEngine& engine, const luaL_Reg* functions, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        engine.Register(functions[i].name, functions[i].func);
}
