#pragma once
// Where the game layer's application meets its room window (CDaxWindow,
// DAX/rooms), in one place, so that nothing else of the application has to
// know that class. Each link takes the engine's room, which for the game is
// always a CDaxWindow:
//
//   DaxRoomLoadOptions  reads the room's option file, once, right after the
//                       room is created (CDaxWindow::LoadOptions);
//   DaxRoomChannel      the room's own event channel (CDaxWindow::GetChannel);
//   DaxRoomNoteInput    tells the room that the player did something (a key,
//                       a mouse move, a click), before the input is handed
//                       on, so that its idle prompts wait again
//                       (CDaxWindow::NoteInput).
//
// A room of another class (a test's plain CxGameWindow) has no options,
// channel or idle prompts: the links answer 0 and do nothing for it.

#include "PIM/app/CxEvent.h"

class CxGameWindow;

// PIM_OK, or the option file's error; PIM_OK for a null room.
int DaxRoomLoadOptions(CxGameWindow* room);
// 0 without a room, or for a room without a channel.
PimChannelId DaxRoomChannel(const CxGameWindow* room);
// Nothing for a null room.
void DaxRoomNoteInput(CxGameWindow* room);
