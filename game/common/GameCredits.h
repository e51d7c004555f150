#pragma once
// The game's own credits: the one credits roll of the game layer, set up
// with this game's pictures and numbers rather than the game layer's
// "Credits" keys (which stay for other data sets):
//   - "CREDITS/cr_bg.tga" behind it, the bitmap font "CREDITS/font1.pcx" in
//     its own size and colours;
//   - "CREDITS/credits.txt", lines of at most 253 characters, rows 24
//     pixels high every 28 (a gap of 4), in a 16-bit picture whose size the
//     roll caps;
//   - 3 pixels up every 100 ms, over "CREDITS/music.wav" in a loop.

#include "DAX/dialogs/CDaxCreditsRoll.h"

constexpr const char* GAME_CREDITS_MUSIC = "CREDITS/music.wav";
constexpr int GAME_CREDITS_MAX_LINE = 253;

ST_CREDITS_SETTINGS GameCreditsSettings();
