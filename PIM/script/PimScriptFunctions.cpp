#include "PIM/script/PimScriptFunctions.h"

// The order is the order the globals are set in; none of them shares a name.
void RegisterEngineScriptFunctions(CxLuaEngine& engine)
{
    RegisterFileScriptFunctions(engine);
    RegisterRoomScriptFunctions(engine);
    RegisterTimerScriptFunctions(engine);
    RegisterKeyScriptFunctions(engine);
    RegisterCursorScriptFunctions(engine);
    RegisterSpriteScriptFunctions(engine);
    RegisterScreenScriptFunctions(engine);
    RegisterPrintScriptFunctions(engine);
    RegisterDebugBarScriptStubs(engine);
}
