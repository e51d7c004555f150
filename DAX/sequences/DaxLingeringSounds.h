#pragma once
// Cached sounds that play on after their event. A "StartSound" event is done
// as soon as its sound has started, and its channel usually deletes it then;
// its handle on the cached wave must not go with it, or the wave would be
// freed (and silenced) with its last user. Such handles are kept here until
// their sound has finished, then let go.
//
// The kept handles are looked at whenever a sound event starts or hands one
// over, so nothing runs per frame for them.

#include "DAX/base/CDaxSoundCache.h"

// Keeps `sound` until it is neither playing nor waiting in a queue.
void DaxKeepSoundPlaying(CDaxSound sound);
// Lets go of the kept sounds that have finished; how many are still kept.
size_t DaxSweepLingeringSounds();
// Lets go of every kept sound (before the sound system stops, and between tests).
void DaxReleaseLingeringSounds();
