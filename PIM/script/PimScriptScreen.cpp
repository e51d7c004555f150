// The screen family: ScreenCapture([file]) saves what the screen shows and
// answers the error code (0 when saved).

#include "PIM/script/CxScriptHost.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int ScreenCaptureFn(lua_State* L)
{
    const char* file = lua_isstring(L, 1) ? lua_tostring(L, 1) : nullptr;
    lua_pushnumber(L, ScriptHost(L).ScreenCapture(file));
    return 1;
}

} // namespace

void RegisterScreenScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"ScreenCapture", &ScreenCaptureFn},
    };
    RegisterScriptFunctions(engine, functions);
}
