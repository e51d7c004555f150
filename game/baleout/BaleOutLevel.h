#pragma once
// A bale-pushing level file ("sLevel%02d.skc"): 144 bytes, one a cell, byte
// x * 12 + y. The bytes come from outside, so the reader mends them into a
// board the rules can trust: exactly one pig, only the codes a level file may
// hold, goals written as 4 turned into 10, and nothing standing on anything.

#include "PIM/core/CxString.h"
#include "game/baleout/BaleOutModel.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr CxPoint BALE_DEFAULT_PIG{6, 6};

struct ST_BALE_LEVEL
{
    std::array<uint8_t, BALE_CELLS> cells{};
    // What was mended, for the room's log.
    bool shortFile = false;   // fewer than 144 bytes: the rest is floor
    bool longFile = false;    // more: only the first 144 count
    int unknownCodes = 0;     // cells turned to floor
    int extraPigs = 0;        // pigs after the first, turned to floor
    bool pigPlaced = false;   // no pig: one was put at (6, 6)
};

// Never fails: no bytes at all give an empty board with the pig at (6, 6).
ST_BALE_LEVEL ReadBaleLevel(const uint8_t* bytes, size_t size);
bool BaleIsFileCode(int code);
CxString BaleLevelFileName(int level);
