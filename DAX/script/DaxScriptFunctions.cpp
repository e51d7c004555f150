#include "DAX/script/DaxScriptFunctions.h"

void RegisterGameLayerScriptFunctions(CxLuaEngine& engine)
{
    RegisterCreditsScriptFunctions(engine);
}
