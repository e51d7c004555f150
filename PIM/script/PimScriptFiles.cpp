// The file family: mounting and dropping file systems, and game paths.

#include "PIM/core/CxString.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int NewFileSystemFn(lua_State* L)
{
    const char* tag = luaL_checkstring(L, 1);
    const char* path = luaL_checkstring(L, 2);
    lua_pushinteger(L, ScriptHost(L).NewFileSystem(tag, path));
    return 1;
}

int RemoveFileSystemFn(lua_State* L)
{
    lua_pushinteger(L, ScriptHost(L).RemoveFileSystem(luaL_checkstring(L, 1)));
    return 1;
}

// The path with its roots replaced, slashes throughout; nil when it cannot be built.
int BuildGamePathFn(lua_State* L)
{
    CxString out;
    if (BuildGamePathFromData(out, luaL_checkstring(L, 1)) != PIM_OK) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushstring(L, out.GetText());
    return 1;
}

} // namespace

void RegisterFileScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"BuildGamePath", &BuildGamePathFn},
        {"NewFileSystem", &NewFileSystemFn},
        {"RemoveFileSystem", &RemoveFileSystemFn},
    };
    RegisterScriptFunctions(engine, functions);
}
