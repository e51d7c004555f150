#pragma once
// Boards for the bale-pushing tests drawn as text, one string a row:
// . floor  P pig  B bale  # block  G goal  I ice  + bonus 100  * bonus 200
// < ^ > v belts  D door  S switch  H hint. Cells not drawn are floor.

#include "game/baleout/BaleOutLevel.h"
#include "game/baleout/BaleOutModel.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace bale_test {

inline ST_BALE_LEVEL Board(std::initializer_list<const char*> rows)
{
    std::vector<uint8_t> bytes(BALE_CELLS, BALE_FLOOR);
    const std::string codes = ".PB#GI+*<^>vDSH";
    const uint8_t values[] = {BALE_FLOOR, BALE_PIG, BALE_BALE, BALE_BLOCK, BALE_GOAL, BALE_ICE,
                              BALE_BONUS100, BALE_BONUS200, BALE_BELT_LEFT, BALE_BELT_UP,
                              BALE_BELT_RIGHT, BALE_BELT_DOWN, BALE_DOOR, BALE_SWITCH, BALE_HINT};
    int y = 0;
    for (const char* row : rows) {
        for (int x = 0; row[x] != '\0' && x < BALE_GRID; ++x)
            bytes[BaleIndex({x, y})] = values[codes.find(row[x])];
        ++y;
    }
    return ReadBaleLevel(bytes.data(), bytes.size());
}

// Arrives every moving piece, bales first as the room does within a step,
// until the board is still; every arrival is kept and the board checked.
inline std::vector<ST_BALE_ARRIVAL> Settle(CBaleOutModel& model)
{
    std::vector<ST_BALE_ARRIVAL> arrivals;
    for (int round = 0; round < 4 * BALE_CELLS && model.IsMoving(); ++round) {
        for (int piece = 0; piece < model.BaleCount(); ++piece)
            if (model.IsPieceMoving(piece))
                arrivals.push_back(model.Arrive(piece));
        if (model.IsPieceMoving(BALE_PIG_PIECE))
            arrivals.push_back(model.Arrive(BALE_PIG_PIECE));
        const char* broken = model.CheckInvariants();
        EXPECT_EQ(broken, nullptr) << broken;
    }
    EXPECT_FALSE(model.IsMoving());
    return arrivals;
}

// A step played to its end; false when it did not start.
inline bool Play(CBaleOutModel& model, int direction, std::vector<ST_BALE_ARRIVAL>* arrivals = nullptr)
{
    if (model.StartStep(direction).result != EBaleStep::Started)
        return false;
    std::vector<ST_BALE_ARRIVAL> done = Settle(model);
    if (arrivals != nullptr)
        *arrivals = done;
    return true;
}

} // namespace bale_test
