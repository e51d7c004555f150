#pragma once
// The user's shell folders, asked for by the names the game's data and
// code use for them.
//
// Where they lead here:
//   "AppData", "Local AppData", "Common AppData"
//       $XDG_DATA_HOME when it is set and absolute, else $HOME/.local/share
//   "Personal", "My Documents", "Common Documents"
//       $XDG_DOCUMENTS_DIR when it is set (in the environment) and absolute,
//       else $HOME
// Names compare without regard to ASCII case. Any other name, and a folder
// whose variables are missing ($HOME unset or relative), gives "".
//
// `common` asks for the folder shared by all users. It leads to the same
// folders as for the user alone: no folder on Linux is both shared and
// writable by every user, and the game writes players' progress there.
//
// Results use "/" separators and end without "/" (the root alone stays "/").

#include "PIM/core/PimDefs.h"

// Copies the folder into `out` (at most length - 1 bytes, then a terminator;
// nothing at all when length <= 0 or `out` is null). Returns the length of
// the whole folder path, so a result >= length means the copy was cut; 0 when
// there is no such folder (and `out` then holds "").
int GetShellFolder(const char* name, bool common, char* out, int length);

// For tests: `path` answers for `name` (compared without regard to case)
// instead of the environment, in both the common and the user form. A null
// path removes that override. False when memory ran out.
bool SetShellFolderOverride(const char* name, const char* path);
void ClearShellFolderOverrides();
