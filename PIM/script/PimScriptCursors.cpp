// The cursor family: the mouse cursor's number, the default one, and whether
// it shows. The cursors are the display's, not the host's.

#include "PIM/display/PimCursors.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/script/PimScriptFunctions.h"

namespace {

int SetCursorFn(lua_State* L)
{
    SetCursor(CursorNumberArgument(L, 1));
    return 0;
}

int GetCursorFn(lua_State* L)
{
    lua_pushnumber(L, GetCursor());
    return 1;
}

int SetDefaultCursorFn(lua_State* L)
{
    if (!lua_isnumber(L, 1))
        luaL_error(L, "bad argument");
    SetDefaultCursor(CursorNumberArgument(L, 1));
    return 0;
}

int GetDefaultCursorFn(lua_State* L)
{
    lua_pushnumber(L, GetDefaultCursor());
    return 1;
}

int HideCursorFn(lua_State*)
{
    HideCursor();
    return 0;
}

int ShowCursorFn(lua_State*)
{
    ShowCursor();
    return 0;
}

} // namespace

void RegisterCursorScriptFunctions(CxLuaEngine& engine)
{
    const luaL_Reg functions[] = {
        {"SetCursor", &SetCursorFn},
        {"GetCursor", &GetCursorFn},
        {"SetDefaultCursor", &SetDefaultCursorFn},
        {"GetDefaultCursor", &GetDefaultCursorFn},
        {"HideCursor", &HideCursorFn},
        {"ShowCursor", &ShowCursorFn},
    };
    RegisterScriptFunctions(engine, functions);
}
