#pragma once
// The commands of the "system" event category: a command event of that
// category whose name is none of the event kinds (CDaxSystemEvents.h) is
// run here when its channel starts it. Names compare without regard to
// case; arguments are the event's, as text.
//
//   FlushAudioChannel(n)        stops sound queue n; nothing without n
//   FlushAllAudioChannels()     stops every sound queue
//   EndModalDialog(name)        ends that global dialog's modal loop
//   SetDebugWindowText(...)     nothing (there is no debug window)
//   Quit(), Restart()           quit; quit and start again
//   DisableCursor(), EnableCursor()   hide the cursor and drop mouse input; undo
//   SetVarRandom(name, min, max)      the global interpolator's variable
//                               `name` becomes a whole number drawn from
//                               min..max (either way round); nothing with
//                               fewer than three arguments
//   PopRoom(), PushRoom(room), GotoRoom(room)
//   RunScript(file)             runs a Lua file
//   RunScriptString(text)       runs a Lua text; the event's arguments are
//                               joined again with ", ", since the event's
//                               commas split a text that held them
//   StartMusic(file [, volume]), StopMusic(), PauseMusic(), ResumeMusic()
//
// File names and Lua texts are data: "%%" reads as "%", nothing in them is
// a format. Other names, and commands without the arguments they need, do
// nothing but say so in the trace.

#include "PIM/app/CxEvent.h"

class CDaxApp;

void DaxRunSystemCommand(CDaxApp& app, const char* name, const CxEventArgs& args);
