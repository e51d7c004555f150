#pragma once
// The player functions of the game's scripts, over one player store:
//
//   WritePlayerInt(key, number)       stored and saved at once; the number
//                                     is cut toward zero (3.9 -> 3, -3.9 -> -3),
//                                     held within the int range, NaN as 0
//   WritePlayerString(key, text)      stored and saved at once
//   ReadPlayerInt(key, default)       the number stored, or the default (cut
//                                     as above)
//   ReadPlayerString(key, default)    the text stored (at most 127
//                                     characters), or the default
//
// Keys are strings; the value of the int pair is a number, of the string
// pair a string. Anything else is a Lua argument error ("bad argument ...").
// The store decides what a write with nobody signed in does (nothing).

class CPlayerStore;
class CxLuaEngine;

// `store` must outlive the engine's state.
void RegisterPlayerScriptFunctions(CxLuaEngine& engine, CPlayerStore& store);

// A script's number as the store's int: cut toward zero, held within the
// int range, NaN as 0.
int PlayerIntFromNumber(double number);
