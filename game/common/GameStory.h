#pragma once
// Where the story stands for the signed-in player: the room the title's
// "Play" (and the login room, once a player is chosen) leads to.
//   nobody signed in                 -> "Login"
//   "PigPenGoal" (default 0) not -1  -> "PigPen"
//   "FarmYardComplete" not set       -> "FarmyardMenu"
//   "FairComplete" not set           -> "FairgroundMenu"
//   "ClosingComplete" set            -> "FarmyardMenu"
//   else                             -> "SpiderEgg"
// A key counts as set when its value is not 0.

class CPlayerStore;

const char* GameStoryRoom(const CPlayerStore& players);
