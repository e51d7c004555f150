#pragma once
// The bale game's levels are written as text maps (data/BaleOut/sLevelNN.txt,
// one character a cell, a row a line) so that a data author can read and
// edit them; the game reads 144 bytes a level, one a cell, column by column
// (byte x * 12 + y). The painter turns every map into that file.

#include <array>
#include <cstdint>
#include <string>

constexpr int kBaleOutSide = 12;
constexpr int kBaleOutLevels = 3;
using BaleOutCells = std::array<uint8_t, kBaleOutSide * kBaleOutSide>;

// Reads a map: lines starting with ';' are comments (and blank lines are
// skipped), the others are the 12 rows of 12 cells. False, with `error`
// saying which line is wrong, for a wrong count of rows or cells, a
// character that is no cell, or a board without exactly one pig.
bool ParseBaleOutMap(const std::string& text, BaleOutCells& cells, std::string& error);

// Converts "BaleOut/sLevel%02d.txt" of `dataFolder` into "BaleOut/sLevel%02d.skc"
// for every level. 0, or the first error code met (a missing or wrong map
// is reported on standard error). `verbose` lists what was written.
int MakeBaleOutLevels(const char* dataFolder, bool verbose);
