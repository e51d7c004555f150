#pragma once
// Data the game's rooms may or may not have: a data set without a cut-scene,
// a voice or an ambient sound still plays, so rooms ask first and leave out
// what is not there, without an error.

#include "DAX/base/CDaxSoundCache.h"
#include "PIM/core/CxString.h"

// The file-layer path of a data name when the file is there.
bool GameFindData(const char* name, CxString& path);
bool GameDataExists(const char* name);
// The wave of a data name from the game layer's sound cache; an empty handle
// when the data set has none.
CDaxSound GameLoadOptionalSound(const char* name);
// A full-screen cut-scene: the pointer hidden and the music paused while it
// plays; a click skips it. False (nothing played) when it is not there.
bool GamePlayCutScene(const char* name);
