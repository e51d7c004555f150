#include "game/baleout/BaleOutLevel.h"

bool BaleIsFileCode(int code)
{
    switch (code) {
    case BALE_FLOOR: case BALE_PIG: case BALE_BALE: case BALE_BLOCK: case BALE_GOAL_OLD:
    case BALE_GOAL: case BALE_ICE: case BALE_BONUS100: case BALE_BONUS200:
    case BALE_BELT_LEFT: case BALE_BELT_UP: case BALE_BELT_RIGHT: case BALE_BELT_DOWN:
    case BALE_DOOR: case BALE_SWITCH: case BALE_HINT:
        return true;
    default:
        return false;
    }
}

ST_BALE_LEVEL ReadBaleLevel(const uint8_t* bytes, size_t size)
{
    ST_BALE_LEVEL level;
    if (bytes == nullptr)
        size = 0;
    level.shortFile = size < size_t(BALE_CELLS);
    level.longFile = size > size_t(BALE_CELLS);
    const size_t count = level.shortFile ? size : size_t(BALE_CELLS);
    bool pig = false;
    for (size_t i = 0; i < count; ++i) {
        uint8_t code = bytes[i];
        // Combined codes (a piece standing on something) are play's own:
        // a file holding one is not trusted to have its piece.
        if (!BaleIsFileCode(code)) {
            ++level.unknownCodes;
            code = BALE_FLOOR;
        } else if (code == BALE_GOAL_OLD) {
            code = BALE_GOAL;
        } else if (code == BALE_PIG) {
            if (pig) {
                ++level.extraPigs;
                code = BALE_FLOOR;
            }
            pig = true;
        }
        level.cells[i] = code;
    }
    if (!pig) {
        level.cells[BaleIndex(BALE_DEFAULT_PIG)] = BALE_PIG;
        level.pigPlaced = true;
    }
    return level;
}

CxString BaleLevelFileName(int level)
{
    return CxString::Formatted("sLevel%02d.skc", level);
}
