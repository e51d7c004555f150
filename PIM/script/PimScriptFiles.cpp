// The file family: mounting and dropping file systems, and game paths.

#include "PIM/core/CxString.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

#include <string>

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
    size_t length = 0;
    const char* path = luaL_checklstring(L, 1, &length);
    std::string text(length + 1, '\0');
    UnescapePercents(path, text.data(), static_cast<unsigned>(text.size()));
    CxString out;
    if (BuildGamePathSlashed(out, text.c_str()) != PIM_OK) {
        lua_pushnil(L);
        return 1;
    }
    lua_pushstring(L, out.GetText());
    return 1;
}

} // namespace

void UnescapePercents(const char* text, char* out, unsigned outSize)
{
    if (!out || outSize == 0)
        return;
    unsigned at = 0;
    for (const char* p = text ? text : ""; *p && at + 1 < outSize; ++p) {
        if (p[0] == '%' && p[1] == '%')
            ++p;
        out[at++] = *p;
    }
    out[at] = '\0';
}

void RegisterFileScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"BuildGamePath", &BuildGamePathFn},
        {"NewFileSystem", &NewFileSystemFn},
        {"RemoveFileSystem", &RemoveFileSystemFn},
    };
    RegisterScriptFunctions(engine, functions);
}
