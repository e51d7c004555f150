#include "DAX/script/DaxScriptFunctions.h"

void RegisterGameLayerScriptFunctions(CxLuaEngine& engine)
{
    RegisterEventScriptFunctions(engine);
    RegisterDialogScriptFunctions(engine);
    RegisterCreditsScriptFunctions(engine);
}
