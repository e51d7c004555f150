#pragma once
// The story function of the game's scripts:
//
//   GotoStoryRoom()    goes to the room where the signed-in player's story
//                      stands (GameStory.h); a room that is not there
//                      changes nothing
//
// Arguments are ignored.

class CPlayerStore;
class CxLuaEngine;

// `store` must outlive the engine's state.
void RegisterStoryScriptFunctions(CxLuaEngine& engine, CPlayerStore& store);
