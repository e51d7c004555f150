// The application family: quitting, the program's name, build and folders,
// Help and FileExists. Every Lua state has it (CxLuaEngine's set-up), so each
// function answers a harmless default when the engine has no host.

#include "PIM/core/PimTrace.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

int QuitFn(lua_State* L)
{
    if (CxScriptHost* host = FindScriptHost(L))
        host->RequestQuit();
    return 0;
}

int RestartFn(lua_State* L)
{
    if (CxScriptHost* host = FindScriptHost(L))
        host->RequestRestart();
    return 0;
}

bool IsQuitting(lua_State* L)
{
    CxScriptHost* host = FindScriptHost(L);
    return host && host->IsQuitting();
}

// The global answers a boolean; the one in pim.app the flag as a number.
int IsQuitingBooleanFn(lua_State* L)
{
    lua_pushboolean(L, IsQuitting(L));
    return 1;
}

int IsQuitingNumberFn(lua_State* L)
{
    lua_pushinteger(L, IsQuitting(L) ? 1 : 0);
    return 1;
}

// One of the host's texts, "" without a host.
template <const char* (CxScriptHost::*Text)() const>
int HostTextFn(lua_State* L)
{
    CxScriptHost* host = FindScriptHost(L);
    lua_pushstring(L, host ? (host->*Text)() : "");
    return 1;
}

// Help(n): every global function name, sorted, n to a line.
int HelpFn(lua_State* L)
{
    lua_Integer perLine = luaL_optinteger(L, 1, 1);
    if (perLine < 1)
        perLine = 1; // no line holds fewer than one name
    std::vector<std::string> names;
    lua_pushnil(L);
    while (lua_next(L, LUA_GLOBALSINDEX) != 0) {
        if (lua_type(L, -2) == LUA_TSTRING && lua_isfunction(L, -1))
            names.emplace_back(lua_tostring(L, -2));
        lua_pop(L, 1);
    }
    std::sort(names.begin(), names.end());
    size_t width = 0;
    for (const std::string& name : names)
        width = std::max(width, name.size());
    std::string line;
    lua_Integer inLine = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        line += names[i];
        if (++inLine == perLine || i + 1 == names.size()) {
            line += "\n";
            TraceText(line.c_str());
            line.clear();
            inLine = 0;
        } else {
            line.append(width + 1 - names[i].size(), ' ');
        }
    }
    return 0;
}

int FileExistsFn(lua_State* L)
{
    const char* path = luaL_checkstring(L, 1);
    lua_pushboolean(L, FsExists(path));
    return 1;
}

} // namespace

void RegisterApplicationScriptFunctions(CxLuaEngine& engine)
{
    lua_State* L = engine.GetState();
    if (!L)
        return;
    // The application's seven, as globals and in the pim.app table.
    const luaL_Reg application[] = {{"Quit", &QuitFn},
                                    {"Restart", &RestartFn},
                                    {"IsQuiting", &IsQuitingBooleanFn},
                                    {"GetBuildDate", &HostTextFn<&CxScriptHost::GetBuild>},
                                    {"GetAppName", &HostTextFn<&CxScriptHost::GetName>},
                                    {"GetLocalPath", &HostTextFn<&CxScriptHost::GetProgramFolder>},
                                    {"GetStartupPath", &HostTextFn<&CxScriptHost::GetStartFolder>}};

    engine.DoString("pim = {}");
    engine.DoString("_templib = pim.app or {}");
    lua_getglobal(L, "_templib");
    if (lua_istable(L, -1)) {
        for (const luaL_Reg& entry : application) {
            lua_pushcfunction(L, entry.func);
            lua_setfield(L, -2, entry.name);
        }
        // There IsQuiting answers the flag as a number.
        lua_pushcfunction(L, &IsQuitingNumberFn);
        lua_setfield(L, -2, "IsQuiting");
    }
    lua_pop(L, 1);
    engine.DoString("pim.app = _templib _templib = nil");

    RegisterScriptFunctions(engine, application);
    const luaL_Reg tools[] = {{"Help", &HelpFn}, {"FileExists", &FileExistsFn}};
    RegisterScriptFunctions(engine, tools);

    // Debugging helpers that data scripts may call; here they do nothing.
    engine.DoString("LogInfo = function() end DumpMem = function() end VerifyMemoryBlocks = function() end "
                    "ValidateObjectList = function() end");
}

void RegisterDebugBarScriptStubs(CxLuaEngine& engine)
{
    engine.DoString("SetDebugWindowText = function() end ShowDebugBar = function() end "
                    "HideDebugBar = function() end");
}
