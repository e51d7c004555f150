#pragma once
// The demo data's pictures, painted with the engine's own surfaces and
// writers at build time, so that the repository holds no pictures of any
// other game and data authors can read how each one is made.

#include "tools/painter/PaintKit.h"

#include <vector>

// Paints every demo picture under `dataFolder` (making its folders) and
// returns 0, or the first error code met. `verbose` lists what was written.
int PaintDemoPictures(const char* dataFolder, bool verbose);

// Paints `pictures` under `folder` the same way (the desktop icons, say).
int PaintPictures(std::span<const ST_DEMO_PICTURE> pictures, const char* folder, bool verbose);

// Every picture, in the order painted.
std::vector<ST_DEMO_PICTURE> GetDemoPictures();
