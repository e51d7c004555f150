#include "game/common/GameScriptPlayer.h"

#include "PIM/script/CxLuaEngine.h"
#include "game/common/CPlayerStore.h"

#include <lua.hpp>

#include <climits>
#include <cmath>

namespace {

// Each function is a closure over the store it works on.
CPlayerStore& Store(lua_State* L)
{
    return *static_cast<CPlayerStore*>(lua_touserdata(L, lua_upvalueindex(1)));
}

const char* StringArgument(lua_State* L, int index)
{
    if (lua_type(L, index) != LUA_TSTRING)
        luaL_typerror(L, index, lua_typename(L, LUA_TSTRING));
    return lua_tostring(L, index);
}

int IntArgument(lua_State* L, int index)
{
    if (lua_type(L, index) != LUA_TNUMBER)
        luaL_typerror(L, index, lua_typename(L, LUA_TNUMBER));
    return PlayerIntFromNumber(lua_tonumber(L, index));
}

int WritePlayerIntFn(lua_State* L)
{
    const char* key = StringArgument(L, 1);
    Store(L).WriteInt(key, IntArgument(L, 2));
    return 0;
}

int WritePlayerStringFn(lua_State* L)
{
    const char* key = StringArgument(L, 1);
    Store(L).WriteString(key, StringArgument(L, 2));
    return 0;
}

int ReadPlayerIntFn(lua_State* L)
{
    const char* key = StringArgument(L, 1);
    lua_pushnumber(L, Store(L).ReadInt(key, IntArgument(L, 2)));
    return 1;
}

int ReadPlayerStringFn(lua_State* L)
{
    const char* key = StringArgument(L, 1);
    const char* fallback = StringArgument(L, 2);
    lua_pushstring(L, Store(L).ReadString(key, fallback).GetText());
    return 1;
}

} // namespace

int PlayerIntFromNumber(double number)
{
    if (std::isnan(number))
        return 0;
    if (number >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (number <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(number); // toward zero
}

void RegisterPlayerScriptFunctions(CxLuaEngine& engine, CPlayerStore& store)
{
    lua_State* L = engine.GetState();
    if (!L)
        return;
    static const luaL_Reg functions[] = {
        {"WritePlayerInt", &WritePlayerIntFn},
        {"WritePlayerString", &WritePlayerStringFn},
        {"ReadPlayerInt", &ReadPlayerIntFn},
        {"ReadPlayerString", &ReadPlayerStringFn},
    };
    for (const luaL_Reg& function : functions) {
        lua_pushlightuserdata(L, &store);
        lua_pushcclosure(L, function.func, 1);
        lua_setglobal(L, function.name);
    }
}
