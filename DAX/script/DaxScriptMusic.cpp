// The music family: the game's one music track and the volumes.
//
//   StartMusic(file [, volume])   the track plays looping, in place of the last
//                                 one; a volume other than -1 becomes the music
//                                 volume first. Answers the load's code.
//   StopMusic(), PauseMusic(), ResumeMusic()
//   IsMusicPlaying()              false without a track, or while it is paused
//   SetMusicVolume(v), GetMusicVolume()       0..127, kept for later tracks
//   SetMasterVolume(v), GetMasterVolume()     0..127, the player's volume of
//                                 everything (while the window is in the
//                                 background the game stays silent, and the
//                                 volume set then is the one it comes back to)
//
// File names are data names: "%%" reads as "%", nothing is a format.

#include "DAX/base/CDaxServices.h"
#include "DAX/script/DaxScriptArgs.h"
#include "DAX/script/DaxScriptFunctions.h"
#include "PIM/script/CxLuaEngine.h"
#include "PIM/script/PimScriptArgs.h"

namespace {

CDaxMusic& Music()
{
    return DaxServices().GetMusic();
}

int StartMusicFn(lua_State* L)
{
    const char* file = luaL_checkstring(L, 1);
    int volume = -1;
    if (!lua_isnoneornil(L, 2) && luaL_checknumber(L, 2) != -1)
        volume = DaxVolumeArgument(L, 2);
    lua_pushnumber(L, Music().Start(file, volume));
    return 1;
}

int StopMusicFn(lua_State*)
{
    Music().Stop();
    return 0;
}

int PauseMusicFn(lua_State*)
{
    Music().Pause();
    return 0;
}

int ResumeMusicFn(lua_State*)
{
    Music().Resume();
    return 0;
}

int IsMusicPlayingFn(lua_State* L)
{
    lua_pushboolean(L, Music().IsPlaying());
    return 1;
}

int SetMusicVolumeFn(lua_State* L)
{
    Music().SetVolume(DaxVolumeArgument(L, 1));
    return 0;
}

int GetMusicVolumeFn(lua_State* L)
{
    lua_pushnumber(L, Music().GetVolume());
    return 1;
}

int SetMasterVolumeFn(lua_State* L)
{
    DaxServices().SetMasterVolume(DaxVolumeArgument(L, 1));
    return 0;
}

int GetMasterVolumeFn(lua_State* L)
{
    lua_pushnumber(L, DaxServices().GetMasterVolume());
    return 1;
}

} // namespace

void RegisterMusicScriptFunctions(CxLuaEngine& engine)
{
    static const luaL_Reg functions[] = {
        {"StartMusic", &StartMusicFn},           {"StopMusic", &StopMusicFn},
        {"PauseMusic", &PauseMusicFn},           {"ResumeMusic", &ResumeMusicFn},
        {"IsMusicPlaying", &IsMusicPlayingFn},   {"SetMusicVolume", &SetMusicVolumeFn},
        {"GetMusicVolume", &GetMusicVolumeFn},   {"SetMasterVolume", &SetMasterVolumeFn},
        {"GetMasterVolume", &GetMasterVolumeFn},
    };
    RegisterScriptFunctions(engine, functions);
}
