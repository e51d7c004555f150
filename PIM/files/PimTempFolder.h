#pragma once
// The run's private folder for temporary and swap files: made on first use
// under $TMPDIR (or /tmp), exclusively and readable by us alone, and removed
// with its contents when the program ends.

// Null when no folder could be made.
const char* PimTempFolder();
// Removes the folder and everything in it now (the exit handler does this too).
void PimRemoveTempFolder();

// Swap files of the memory cache go to a private folder (mode 0700) made
// under `base` (the configuration's "Engine" / "CacheDir") instead of the
// temporary folder. False, and the temporary folder stays in use, when it
// cannot be made. A second call releases the first folder.
bool PimUseCacheFolder(const char* base);
// The cache folder in use, or null while swap files go to the temporary folder.
const char* PimCacheFolder();
// Removes the cache folder with its files; swap files go to the temporary
// folder again.
void PimReleaseCacheFolder();
