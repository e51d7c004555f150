// The sounds family: sounds played from the game layer's sound cache, the
// one the sound events and the characters share.
//
//   PlaySound(file)      the cached wave of that file (loaded the first
//                        time) plays at once; the cache keeps it loaded for
//                        the next call. Answers the play's code.
//   PreLoadSound(file)   loads it into the cache and keeps it there.
//   FlushSoundCache()    the cache lets go of every wave it keeps. A wave
//                        something else still holds (a sprite's state, a
//                        sound event, a sound still playing) lives on with
//                        its holder; the next request loads the file anew.
//
// File names are data names: "%%" reads as "%", nothing is a format.

#include "DAX/base/CDaxServices.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "DAX/sequences/DaxLingeringSounds.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/sound/CxWave.h"

namespace {

int PlaySoundFn(lua_State* L)
{
    CxString path;
    int code = BuildGamePathFromData(path, luaL_checkstring(L, 1));
    if (code == PIM_OK) {
        CDaxSound sound = DaxServices().GetSoundCache().GetKeptSound(path.GetText());
        code = sound ? sound->Play() : PIM_ERR_BAD_ARG;
        // A flush while it plays lets it finish all the same.
        DaxKeepSoundPlaying(sound);
    }
    lua_pushnumber(L, code);
    return 1;
}

int PreLoadSoundFn(lua_State* L)
{
    CxString path;
    int code = BuildGamePathFromData(path, luaL_checkstring(L, 1));
    if (code == PIM_OK)
        code = DaxServices().GetSoundCache().PreLoad(path.GetText());
    lua_pushnumber(L, code);
    return 1;
}

int FlushSoundCacheFn(lua_State*)
{
    DaxServices().GetSoundCache().Flush();
    return 0;
}

} // namespace

void RegisterSoundScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"PlaySound", &PlaySoundFn},
        {"PreLoadSound", &PreLoadSoundFn},
        {"FlushSoundCache", &FlushSoundCacheFn},
    };
    RegisterScriptFunctions(engine, functions);
}
