#pragma once
// The pig run's files: the room file's keys and the level files.
//
//   [General]
//   LeftEdge=40          ; the pig's x (its left edge) stays within
//   RightEdge=680        ;   LeftEdge .. RightEdge (swapped when reversed)
//   PigPos=320,380       ; where the pig and the farmer stand at the start
//   FarmerPos=330,470
//   NumLevels=3          ; read by the level flow
//   [Level00]
//   PassScore=8          ; food needed to win level 0 (never below 0)
//
// "sLevel%02d.pol": records of 12 bytes, three little-endian signed 32-bit
// integers x, tick, type; ticks are 10 ms from the level's start. Types 0 to
// 15 make objects, 18 ends the table. The bytes come from outside, so the
// reader mends them into a table the rules can trust: at most 500 records, a
// trailing part record ignored, nothing after the first end record, types
// the game has no template for dropped, x clamped to -800 .. 1600, and
// always exactly one end record, last (after the last record when the file
// has none; the whole table when there is no file).

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxString.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CxOptions;

constexpr int PIGS_RECORD_BYTES = 12;
constexpr int PIGS_MAX_RECORDS = 500;
constexpr int PIGS_TYPES = 16;            // templates 0 .. 15
constexpr int PIGS_END_TYPE = 18;
constexpr int32_t PIGS_MIN_X = -800;
constexpr int32_t PIGS_MAX_X = 1600;
constexpr int32_t PIGS_MAX_TICK = 60000;  // what the checker accepts: ten minutes

struct ST_PIGS_RECORD
{
    int32_t x = 0;
    int32_t tick = 0;
    int32_t type = PIGS_END_TYPE;
};

struct ST_PIGS_OPTIONS
{
    int leftEdge = 0;
    int rightEdge = 0;
    bool edgesSwapped = false;
    CxPoint pigPos{0, 0};
    CxPoint farmerPos{0, 0};
};

struct ST_PIGS_LEVEL
{
    // The objects' records in file order, then one end record.
    std::vector<ST_PIGS_RECORD> records;
    // What was mended, for the room's trace and the checker.
    size_t wholeRecords = 0;      // whole records in the file
    bool partRecord = false;      // the size is no multiple of 12
    bool tooLong = false;         // more than 500 records
    bool endAdded = false;        // no end record within the records read
    std::vector<size_t> droppedTypes; // record numbers of types outside 0 .. 15
    std::vector<size_t> clampedX;     // record numbers whose x was clamped
    size_t firstDescending = 0;   // record number of the first tick below the one before (0: none)
    size_t firstLateTick = 0;     // record number + 1 of the first tick above PIGS_MAX_TICK (0: none)

    // The records before the end record.
    size_t ObjectCount() const { return records.empty() ? 0 : records.size() - 1; }
    int FoodCount() const;
};

ST_PIGS_OPTIONS ReadPigsOutOptions(CxOptions& room);
// "Level%02d" / "PassScore", never below 0.
int ReadPigsOutPassScore(CxOptions& room, int level);
// Never fails: no bytes give a table of just an end record.
ST_PIGS_LEVEL ReadPigsOutLevel(const uint8_t* bytes, size_t size);
CxString PigsOutLevelFileName(int level);
// One line for each thing the reader mended, for the checker and the trace.
std::vector<CxString> PigsOutLevelProblems(const ST_PIGS_LEVEL& level);
bool PigsOutIsFood(int type);
