#include "DAX/script/DaxScriptFunctions.h"

void RegisterGameLayerScriptFunctions(CxLuaEngine& engine)
{
    RegisterEventScriptFunctions(engine);
    RegisterDialogScriptFunctions(engine);
    RegisterCreditsScriptFunctions(engine);
    RegisterMusicScriptFunctions(engine);
    RegisterMovieScriptFunctions(engine);
    RegisterSoundScriptFunctions(engine);
    RegisterCursorNameScriptFunctions(engine);
}
