#pragma once
// The pig pen's room file, read once at load into a plain struct: every
// value checked and clamped, so the room never meets a hostile number.
// Points stay within the game layer's coordinate limit, rectangles are
// ordered whatever order their corners came in, counts that divide are at
// least 1, and icon names from the file are filled in with the item's
// number by the safe formatter, never used as a printf format.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxString.h"
#include "game/pigpen/PigPenModel.h"

#include <array>
#include <functional>
#include <vector>

class CxOptions;

constexpr int PIG_TEXT_MAX = 255;      // longest file name or pattern kept
constexpr int PIG_ITEMS_MAX = 64;      // items a category may list
constexpr int PIG_BOWL_STATES_MAX = 256;
constexpr int PIG_FRAME_MAX = 9999;    // EatFoodFrame and DrinkFrame
constexpr int PIG_ITEM_VALUE_MAX = 9999; // Type, StateIndex, Level, SubCategory, UnlockOrder

// The category buttons 0 to 3, then "NextUIButton" and "PrevUIButton".
constexpr int PIG_BUTTONS = 6;
constexpr int PIG_BUTTON_NEXT = 4;
constexpr int PIG_BUTTON_PREV = 5;

struct ST_PIGPEN_BUTTON
{
    CxString fileName;
    CxPoint position;
};

struct ST_PIGPEN_ITEM
{
    CxString icon;       // "Name" filled in with the item's one-based index
    CxString lockedIcon; // "General" / "Locked" filled in the same way
    CxString drag;
    int type = 0;
    int stateIndex = 0;
    int level = 0;
    int subCategory = 0;
    int id = -1; // -1, or a decoration number 0..999
    int unlockOrder = 0;
};

struct ST_PIGPEN_SETUP
{
    int neutralPercent = PIG_NEUTRAL_DEFAULT;
    CxString locked;
    CxPoint iconStart{300, 500};
    int maxIcons = 1;
    int eatFoodFrame = 0;
    int drinkFrame = 0;
    CxRect foodBin;
    CxPoint foodLoc;
    // Head, chest, feet, rump (the order PigPetAreaAt tries them), relative
    // to the pig's position.
    std::array<CxRect, PIG_PET_AREAS> petAreas{};
    CxString pumpFile{"pump.xni"};
    CxPoint pumpPosition;
    CxRect pumpRect;
    std::array<ST_PIGPEN_BUTTON, PIG_BUTTONS> buttons{};
    CxPoint thoughtPosition;
    CxPoint wantOffset;
    // By place - 8: walls 1 to 3, floor, bed, arch.
    std::array<CxPoint, PIG_DECOR_PARTS> decorPositions{};
    CxPoint bowlPosition;
    CxString bowlFile;
    int bowlStates = 1;
    CxRect meter;
    CxPoint foodMaskPosition;
    CxPoint doorPosition;
    std::array<std::vector<ST_PIGPEN_ITEM>, PIG_CATEGORIES> items{};
};

ST_PIGPEN_SETUP ReadPigPenSetup(CxOptions& options);

// A player key read: (key, default) -> value, as the player store gives it.
using PigKeyReader = std::function<int(const char* key, int defaultValue)>;
// The saved decoration IDs by place - 8; -1 for none, and for an ID outside
// 0..999.
PigDecorIds ReadPigDecorIds(const PigKeyReader& read);
