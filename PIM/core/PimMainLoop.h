#pragma once
// The functions the application runs once per main-loop iteration, after it
// has taken a window message and before it updates the frame. Services that
// need a regular beat (the timer poll, through CxMainLoopHook) register here
// instead of the main loop knowing each of them.
//
// A callback may add or remove callbacks, itself included, while a pass is
// calling it: no callback present when the pass started is skipped or run
// twice unless it is removed first, and one added during a pass is reached by
// that same pass. Modal loops run whole frames from inside a callback, so a
// pass may also be started from inside another; each pass keeps its own place.

#include "PIM/core/PimDefs.h"

using PimMainLoopCallback = void (*)();

// Appends `callback`; adding one already present does nothing. False only
// when memory for the entry could not be had (or the callback is null).
bool AddMainLoopCallback(PimMainLoopCallback callback);
// False when `callback` was not registered.
bool RemoveMainLoopCallback(PimMainLoopCallback callback);
bool HasMainLoopCallback(PimMainLoopCallback callback);
size_t GetMainLoopCallbackCount();

// One pass over the callbacks, in the order they were added. It runs every
// frame, so it allocates nothing.
void RunMainLoopCallbacks();

// Forgets every callback (tests start from an empty loop).
void ResetMainLoopCallbacks();
