#pragma once
// The demo data's sounds, synthesised at build time like the pictures are
// painted, so that the repository holds no recordings of any other game.

// Writes every demo sound under `dataFolder` (making its folders) and
// returns 0, or the first error code met. `verbose` lists what was written.
int MakeDemoSounds(const char* dataFolder, bool verbose);

// The sounds, relative to the data folder, then a null.
const char* const* GetDemoSoundNames();
