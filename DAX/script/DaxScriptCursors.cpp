// The cursors family: GetCursorIDFromName(name) answers the number of the
// cursor the game layer's configuration lists under that name ("Cursors"
// in dax.ini: the first one that loaded is 10, the next 11, ...; names
// compared without regard to case), or 0 for a name it does not list. The
// number is what SetCursor and the buttons' "Cursor" key take.

#include "DAX/base/CDaxServices.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"

namespace {

int GetCursorIdFromNameFn(lua_State* L)
{
    lua_pushnumber(L, DaxServices().GetCursorIdFromName(luaL_checkstring(L, 1)));
    return 1;
}

} // namespace

void RegisterCursorNameScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"GetCursorIDFromName", &GetCursorIdFromNameFn},
    };
    RegisterScriptFunctions(engine, functions);
}
