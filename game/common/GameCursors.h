#pragma once
// The game's own cursor pictures: a picture from the data registered under
// an id, one of its pixels naming the see-through colour. The application
// registers the game's three (10 to 12) at start; a room may add its own
// for as long as it is current and release them when it stops.

// The game's cursors: the clear arrow (the default), the dark arrow (over
// play areas) and the hand (over what can be stroked or picked up).
enum : int
{
    GAME_CURSOR_CLEAR = 10,
    GAME_CURSOR_DARK = 11,
    GAME_CURSOR_HAND = 12,
};

#include <span>

struct ST_GAME_CURSOR
{
    int id;
    const char* file;
    // The pixel whose colour is see-through.
    int keyX;
    int keyY;
    int hotX;
    int hotY;
};

// False (traced) when the picture is not there or does not load. A key pixel
// outside the picture gives it no see-through colour rather than a read past
// its edge; the hot spot is held inside the picture.
bool RegisterGameCursor(const ST_GAME_CURSOR& cursor);

// A room's own cursors, all of them; the ones that did not load are left out.
void RegisterGameCursors(std::span<const ST_GAME_CURSOR> cursors);
void UnregisterGameCursors(std::span<const ST_GAME_CURSOR> cursors);
