#pragma once
// The pig run's levels are written as text (data/PigsOut/sLevelNN.txt, one
// object a line: "x tick type") so that a data author can read and edit
// them; the game reads "sLevelNN.pol", 12 bytes a record, three
// little-endian signed 32-bit integers (x, tick, type), ending with a record
// of type 18. The painter turns every text into that file.

#include <cstdint>
#include <string>
#include <vector>

constexpr int kPigsOutLevels = 3;
constexpr int kPigsOutEndType = 18;
// What the game keeps of a level file: the records it has room for, the
// ticks a level may last and the x the road allows.
constexpr int kPigsOutMaxRecords = 500;
constexpr int kPigsOutMaxTick = 60000;
constexpr int kPigsOutMinX = -800;
constexpr int kPigsOutMaxX = 1600;

struct ST_PIGSOUT_RECORD
{
    int32_t x;
    int32_t tick;
    int32_t type;
};

// Reads a level text: a ';' starts a comment, on its own line or after a
// record (blank lines are skipped); the other lines hold three whole
// numbers. The last record is the end record (type 18) and none follows it.
// False, with `error` saying which line is wrong, for a line that is not
// three numbers, a type that is no object, a tick going back or out of
// 0 .. 60,000, an x outside -800 .. 1600, more than 500 records or a missing
// end record.
bool ParsePigsOutLevel(const std::string& text, std::vector<ST_PIGSOUT_RECORD>& records, std::string& error);

// The level file's bytes for `records`.
std::string PigsOutLevelBytes(const std::vector<ST_PIGSOUT_RECORD>& records);

// Converts "PigsOut/sLevel%02d.txt" of `dataFolder` into
// "PigsOut/sLevel%02d.pol" for every level. 0, or the first error code met
// (a missing or wrong text is reported on standard error). `verbose` lists
// what was written.
int MakePigsOutLevels(const char* dataFolder, bool verbose);
