#pragma once
// The game layer's configuration file ("dax.ini") is one the game can do
// without: every key has its default. So a file that is missing, cannot be
// opened, or is too big to be an option file is said once in the trace and
// leaves the store empty; it is never a counted error, since counted errors
// end the game at the third and hide the credits at the first.
//
// The store is filled from the bytes and is bound to no file, so it is
// never written back.

class CxOptions;

constexpr const char* DAX_CONFIG_FILE = "dax.ini";
// Larger than any option file a game has; a bigger one is refused unread.
constexpr long long DAX_CONFIG_MAX_BYTES = 4ll << 20;

// PIM_OK with the store holding the file; otherwise the store is empty and
// the code says why (9 missing, 2 not opened, 5 not read, 10 too big).
int DaxLoadConfigFile(CxOptions& store, const char* fileName = DAX_CONFIG_FILE);
