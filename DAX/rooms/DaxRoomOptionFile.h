#pragma once
// Reading a room's option file quietly. A room whose file is missing or
// cannot be read keeps every default and the game goes on: that is traced
// by the room, never reported as an error, since reported errors are
// counted (three of them end the game, and any one hides the credits).
//
// The store is not bound to the file: a room's options are data, never
// written back, whatever the file says about export mode.

#include "PIM/core/PimDefs.h"

class CxOptions;

// Room option files are a few kilobytes; anything far larger is no room's.
constexpr int64_t DAX_ROOM_OPTIONS_MAX_BYTES = 1 << 20;

// Empties `store`, then reads `fileName` through the file layer into it.
// PIM_OK; PIM_ERR_NOT_FOUND for a missing file (or no name);
// PIM_ERR_FILE_TYPE for one larger than DAX_ROOM_OPTIONS_MAX_BYTES; the
// file layer's code when it cannot be opened or read. The store is empty
// after any failure. Nothing is reported.
int DaxReadOptionFileQuietly(CxOptions& store, const char* fileName);
