// The credits family: ShowCreditsRoll(file) runs the credits roll described
// by the "Credits" keys of an option file (data/credits/credits.ini shows
// them all), with its music, until the text has passed or a key or a click
// ends it. It answers 0, or the error that kept the file from being read
// (the roll then does not run).

#include "DAX/dialogs/CDaxCreditsDialog.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/files/CxOptions.h"
#include "PIM/files/PimFileLayer.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"
#include "PIM/sound/CxSound.h"
#include "PIM/sound/CxWave.h"

namespace {

// Music under the roll: looping, stopped when the roll ends.
constexpr int kMusicLoops = 999999;

int ShowCreditsRoll(const char* file)
{
    CxString path;
    if (const int code = BuildGamePath(path, file); code != PIM_OK)
        return code;
    CxOptions options;
    options.SetSkipExistenceCheck(true); // a missing file is reported by the file layer
    if (const int code = options.Load(path.GetText()); code != PIM_OK)
        return code;
    CDaxCreditsDialog credits;
    credits.Build(options);
    CxWave music;
    const CxString musicFile = options.GetString(DAX_CREDITS_SECTION, "Music", "");
    CxString musicPath;
    const bool withMusic = !musicFile.IsEmpty() && BuildGamePath(musicPath, musicFile.GetText()) == PIM_OK &&
                           FsExists(musicPath.GetText());
    if (withMusic && music.Load(musicPath.GetText()) == PIM_OK) {
        music.SetPlayFlags(music.GetPlayFlags() | PIM_SOUND_MIXER_LOOPS);
        music.SetLoopCount(kMusicLoops);
        music.Play();
    }
    credits.AttachToRoot();
    credits.Show();
    credits.DoModal();
    music.Stop();
    credits.Hide();
    credits.Detach();
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
