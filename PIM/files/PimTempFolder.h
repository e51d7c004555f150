#pragma once
// The run's private folder for temporary and swap files: made on first use
// under $TMPDIR (or /tmp), exclusively and readable by us alone, and removed
// with its contents when the program ends.

// Null when no folder could be made.
const char* PimTempFolder();
// Removes the folder and everything in it now (the exit handler does this too).
void PimRemoveTempFolder();
