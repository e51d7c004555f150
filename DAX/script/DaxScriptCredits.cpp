// The credits family: ShowCreditsRoll(file) runs the credits roll described
// by the "Credits" keys of an option file (data/credits/credits.ini shows
// them all), with its music, until the text has passed or a key or a click
// ends it. It answers 0, or the error that kept the file from being read
// (the roll then does not run).
//
// The roll's music is a track of its own at the game's music volume: the
// game's music, if any, is not taken over and goes on afterwards.

#include "DAX/base/CDaxMusic.h"
#include "DAX/base/CDaxServices.h"
#include "DAX/dialogs/CDaxCreditsDialog.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/files/CxOptions.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"

namespace {

int ShowCreditsRoll(const char* file)
{
    CxString path;
    if (const int code = BuildGamePathFromData(path, file); code != PIM_OK)
        return code;
    CxOptions options;
    options.SetSkipExistenceCheck(true); // a missing file is reported by the file layer
    if (const int code = options.Load(path.GetText()); code != PIM_OK)
        return code;
    CDaxMusic music;
    music.SetVolume(DaxServices().GetMusic().GetVolume());
    CDaxCreditsDialog::ShowModal(options, music);
    return PIM_OK;
}

int ShowCreditsRollFn(lua_State* L)
{
    lua_pushnumber(L, ShowCreditsRoll(luaL_checkstring(L, 1)));
    return 1;
}

} // namespace

void RegisterCreditsScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"ShowCreditsRoll", &ShowCreditsRollFn},
    };
    RegisterScriptFunctions(engine, functions);
}
