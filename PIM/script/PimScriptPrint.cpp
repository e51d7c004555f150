// The printing family: PrintScreen([landscape]) prints what the screen
// shows, PrintFile(file [, landscape]) loads a picture and prints it. The
// landscape flag (a boolean, or a number: 0 is portrait) is true when left
// out. Both answer the error code (0 when printed).

#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

bool LandscapeArgument(lua_State* L, int index)
{
    if (lua_isnoneornil(L, index))
        return true;
    if (lua_isboolean(L, index))
        return lua_toboolean(L, index) != 0;
    if (lua_type(L, index) == LUA_TNUMBER)
        return BoundedNumberArgument(L, index, -2147483648.0, 2147483647.0, "landscape flag") != 0;
    luaL_typerror(L, index, "boolean");
    return true;
}

int PrintScreenFn(lua_State* L)
{
    CxScriptHost& host = ScriptHost(L);
    const bool landscape = LandscapeArgument(L, 1);
    lua_pushnumber(L, host.PrintScreen(landscape));
    return 1;
}

int PrintFileFn(lua_State* L)
{
    CxScriptHost& host = ScriptHost(L);
    // A string, not a number Lua would turn into one.
    if (lua_type(L, 1) != LUA_TSTRING)
        luaL_typerror(L, 1, "string");
    const char* file = lua_tostring(L, 1);
    if (!*file)
        luaL_argerror(L, 1, "empty file name");
    const bool landscape = LandscapeArgument(L, 2);
    lua_pushnumber(L, host.PrintFile(file, landscape));
    return 1;
}

} // namespace

void RegisterPrintScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"PrintScreen", &PrintScreenFn},
        {"PrintFile", &PrintFileFn},
    };
    RegisterScriptFunctions(engine, functions);
}
