#pragma once
// The commands a room runs, from events of its own name or of "Room"
// ("Room.ShowButton(Help)") posted on any channel. Names are compared
// without regard to case. Arguments are texts; where a number is wanted it
// is read as atoi would (PimParseInt), and a missing one is 0. Nothing is
// ever read past the arguments given.
//
//   StartFlashButton(name, ms)   flash every ms (none, or 0 or less: 500)
//   StopFlashButton(name)
//   SetButtonState(name, state)  0 normal, 1 checked, 2 highlighted,
//                                3 pressed, 4 disabled; others are ignored
//   ShowButton, HideButton, EnableButton, DisableButton (name)
//   Paint, Erase                 show or hide the room
//   LoadSurface(picture)         a new background, drawn at once
//   SetState(n), OnNextState
//   SetIdleTime(ms)              0 or less: no time-outs
//   StartIdleTimer               the count cleared, the wait started
//   ResetIdleTimer               as any input does
//   KillIdleTimer, StopIdleTimer, ResetIdleCount
//   SetLevel(n), NextLevel, PrevLevel       then the room's StartLevel
//   SetDifficulty(n), IncreaseDifficulty, DecreaseDifficulty
//   SetScore(n), AddScore(n), SubScore(n)   sums stop at the int range
//   BulgeScore(size)             big at once, then back a point per 50 ms
//   ResetMilestones, KillMilestones
//
// A command naming a button the room does not have does nothing.

#include "PIM/app/CxEvent.h"

class CDaxWindow;

// Runs the command; false when `name` is no room command.
bool DaxRunRoomCommand(CDaxWindow& room, const char* name, const CxEventArgs& args);
