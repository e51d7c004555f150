#pragma once
// Where the running program and its user's files are.
//
// Each call writes the folder into `out` and returns true, or returns false
// (with `out` emptied) when the folder cannot be known or memory ran out.
// Paths are UTF-8 with "/" separators.

#include "PIM/core/CxString.h"

// The folder of the program, ending in "/". From argv[0] when it names a
// folder at all (backslashes count as "/", everything after the last "/" is
// cut, so "C:\games\x.exe" gives "C:/games/" and "./x" gives "./"); when it
// is a bare name (found through $PATH) or null, from /proc/self/exe.
bool PimGetProgramFolder(const char* argv0, CxString& out);

// The current folder as the system reports it (no "/" at the end, except
// for the root).
bool PimGetCurrentFolder(CxString& out);

// $XDG_CONFIG_HOME when it is absolute, else $HOME/.config; no "/" at the
// end. False when neither variable helps.
bool PimGetConfigFolder(CxString& out);

// $XDG_RUNTIME_DIR when it is absolute, else /tmp; no "/" at the end.
bool PimGetRuntimeFolder(CxString& out);
