// The key binding family: a bound key runs its Lua text when pressed.

#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int BindKeyFn(lua_State* L)
{
    const char* name = luaL_checkstring(L, 1);
    const char* command = luaL_checkstring(L, 2);
    ScriptHost(L).BindKey(name, command);
    return 0;
}

} // namespace

void RegisterKeyScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"BindKey", &BindKeyFn},
        {"UnBindKey", &HostNameCallFn<&CxScriptHost::UnBindKey>},
        {"UnBindAllKeys", &HostCallFn<&CxScriptHost::UnBindAllKeys>},
    };
    RegisterScriptFunctions(engine, functions);
}
