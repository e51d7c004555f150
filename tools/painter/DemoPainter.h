#pragma once
// The demo data's pictures, painted with the engine's own surfaces and
// writers at build time, so that the repository holds no pictures of any
// other game and data authors can read how each one is made.

// Paints every demo picture under `dataFolder` (making its folders) and
// returns 0, or the first error code met. `verbose` lists what was written.
int PaintDemoPictures(const char* dataFolder, bool verbose);

// The pictures, relative to the data folder, in the order painted.
const char* const* GetDemoPictureNames();
