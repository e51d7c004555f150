// The dialogs family: StartModalDialog(name) makes the global dialog of that
// name (without regard to case) the one run at the end of the frame, so
// that the script that asks for it returns first; a name that is no dialog,
// or a dialog already open, leaves nothing pending. EndModalDialog(name)
// ends that dialog's modal loop. Both answer whether they did something.

#include "DAX/dialogs/DaxGlobalDialogs.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"

namespace {

int StartModalDialogFn(lua_State* L)
{
    lua_pushboolean(L, DaxSetPendingDialog(luaL_checkstring(L, 1)));
    return 1;
}

int EndModalDialogFn(lua_State* L)
{
    lua_pushboolean(L, DaxEndModalDialog(luaL_checkstring(L, 1)));
    return 1;
}

} // namespace

void RegisterDialogScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"StartModalDialog", &StartModalDialogFn},
        {"EndModalDialog", &EndModalDialogFn},
    };
    RegisterScriptFunctions(engine, functions);
}
