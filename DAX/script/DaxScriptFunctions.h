#pragma once
// The game layer's script functions, one file per family, registered by the
// game layer itself (its application calls RegisterGameLayerScriptFunctions
// after the engine's own). They follow the engine's pattern
// (PIM/script/PimScriptFunctions.h): every argument is checked, a wrong one
// is a Lua error, and what they need of the application comes through the
// game layer's services (DAX/base/CDaxServices.h).
//
// Families so far:
//   events    channels, DoSequence, DoEvent, DoLuaEvent, DoLuaTimerEvent, Interpolate
//   dialogs   StartModalDialog, EndModalDialog
//   credits   ShowCreditsRoll(file)
//   music     StartMusic, StopMusic, PauseMusic, ResumeMusic, IsMusicPlaying,
//             SetMusicVolume, GetMusicVolume, SetMasterVolume, GetMasterVolume
//   movies    PlayMovie, PlayMovieMustExist
//   sounds    PlaySound, PreLoadSound, FlushSoundCache
//   cursors   GetCursorIDFromName

class CxLuaEngine;

void RegisterEventScriptFunctions(CxLuaEngine& engine);
void RegisterDialogScriptFunctions(CxLuaEngine& engine);
void RegisterCreditsScriptFunctions(CxLuaEngine& engine);
void RegisterMusicScriptFunctions(CxLuaEngine& engine);
void RegisterMovieScriptFunctions(CxLuaEngine& engine);
void RegisterSoundScriptFunctions(CxLuaEngine& engine);
void RegisterCursorNameScriptFunctions(CxLuaEngine& engine);

// Every family above, in order.
void RegisterGameLayerScriptFunctions(CxLuaEngine& engine);
