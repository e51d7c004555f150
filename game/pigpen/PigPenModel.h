#pragma once
// The pig pen's rules without display, sound or files: the pig's six needs
// and the mood they add up to, what the pig wants, where the meter marker
// sits, which feedback sequences follow a satisfied need, paging through a
// category's items, where a decoration goes and which player keys that
// writes, the win and the way out after it, and the water bowl's level. The
// room (CPig) asks and acts on the answers.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxString.h"

#include <array>
#include <vector>

// Action types: an item's Type, or set by the room.
constexpr int PIG_ACTION_NONE = -1;
constexpr int PIG_ACTION_FOOD = 0;
constexpr int PIG_ACTION_DRINK = 1;
constexpr int PIG_ACTION_LOVE = 2;  // love, part A
constexpr int PIG_ACTION_BRUSH = 3; // groom, part A
constexpr int PIG_ACTION_GROOM = 4; // groom, part B
constexpr int PIG_ACTION_DECOR = 5;
constexpr int PIG_ACTION_PET = 7; // love, part B
// The decoration parts, as need types: the three wall places, then floor,
// bed and arch. They are never item types.
constexpr int PIG_DECOR_WALL1 = 8;
constexpr int PIG_DECOR_WALL2 = 9;
constexpr int PIG_DECOR_WALL3 = 10;
constexpr int PIG_DECOR_FLOOR = 11;
constexpr int PIG_DECOR_BED = 12;
constexpr int PIG_DECOR_ARCH = 13;
constexpr int PIG_DECOR_PARTS = 6;

// A decoration item's SubCategory.
constexpr int PIG_SUB_WALL = 2;
constexpr int PIG_SUB_FLOOR = 3;
constexpr int PIG_SUB_BED = 4;
constexpr int PIG_SUB_ARCH = 5;

// Pig states the room uses beside the mood states 0, 1 and 2.
constexpr int PIG_STATE_EAT1 = 5;
constexpr int PIG_STATE_EAT2 = 6;
constexpr int PIG_STATE_HEAD = 9;
constexpr int PIG_STATE_CHEST = 10;
constexpr int PIG_STATE_RUMP = 11;
constexpr int PIG_STATE_FEET = 12;
constexpr int PIG_STATE_DRINK = 21;

constexpr int PIG_NEED_FULL = 1000;
constexpr int PIG_TOTAL_MAX = 6000;
constexpr int PIG_EAT_FLOOR = -333;
constexpr int PIG_NEUTRAL_DEFAULT = 10;
constexpr int PIG_NEUTRAL_MAX = 98; // beyond it the mood band divides by zero
constexpr int PIG_DECOR_ID_MAX = 999;
constexpr int PIG_CATEGORIES = 4;
constexpr int PIG_WANT_CATEGORIES = 3; // food, decoration, grooming

// "v + 1000" from nothing or less, "1000" from part way, unchanged when full.
int PigFill(int value);
// Each half truncated toward zero before adding.
constexpr int PigAverage(int a, int b)
{
    return a / 2 + b / 2;
}
// 0 unhappy, 1 neutral, 2 happy; the percentage clamped to 0..98 first.
int PigMoodOf(int total, int neutralPercent);
// 22, 23, 24 for the moods 0, 1, 2.
constexpr int PigTalkState(int mood)
{
    return 22 + mood;
}
// The meter marker's y: the marker rises from `bottom` as the total grows.
int PigMeterY(int total, int top, int bottom);

// Everything the pig feels, as the room reads it.
struct ST_PIG_NEEDS
{
    int eat = 0;
    int drink = 0;
    int loveA = 200;
    int loveB = 100;
    int love = 150;
    int energy = PIG_NEED_FULL;
    int groomA = 100;
    int groomB = 100;
    int groom = 100;
    // By need type - 8: walls 1 to 3, floor, bed, arch.
    std::array<int, PIG_DECOR_PARTS> decorParts{200, 200, 200, 200, 1000, 1000};
    int decor = 464;
    int total = 1714;
};

// The sequences that follow a satisfied need: a feeding line, then the
// mood's "well%d.seq".
struct ST_PIG_FEEDBACK
{
    CxString feed;
    CxString well;
};

class CPigPenModel
{
public:
    explicit CPigPenModel(int neutralPercent = PIG_NEUTRAL_DEFAULT);

    // Every need and part back to its start, and the visit's win forgotten.
    void ResetNeeds();
    // Raises the need of `type` (the eat rule looks at the pig's action
    // state). True when anything changed: the room then moves the meter and
    // plays the feedback.
    bool SatisfyNeed(int type, int actionState);
    // False only for drink once it is full.
    bool CanAct(int type) const;

    const ST_PIG_NEEDS& GetNeeds() const { return m_needs; }
    int GetTotal() const { return m_needs.total; }
    int GetNeutralPercent() const { return m_neutralPercent; }
    int GetMood() const;
    int GetTalkState() const { return PigTalkState(GetMood()); }
    int MeterY(int top, int bottom) const { return PigMeterY(m_needs.total, top, bottom); }

    // The feedback for `actionType`, drawn with the engine's random numbers.
    ST_PIG_FEEDBACK ChooseFeedback(int actionType) const;
    // The want code (0 eat, 1 drink, 2 love, 3 energy, 4 groom, 5 decor, -1
    // none) of the most wanted need; `hasItem` says per category (food,
    // decoration, grooming) whether a usable item is there. Ties keep the
    // earlier need.
    int ChooseWant(const bool hasItem[PIG_WANT_CATEGORIES]) const;

    // True once per visit: the pig is happy and a pig-pen goal is open.
    bool TakeWin(int pigPenGoal);
    bool HasWon() const { return m_won; }

private:
    void Recompute();

    ST_PIG_NEEDS m_needs;
    int m_neutralPercent;
    bool m_won = false;
};

// The petting areas in the order they are tried: head, chest, feet, rump.
constexpr int PIG_PET_AREAS = 4;
// The pig state of the first area holding `point` (edges included), or -1.
int PigPetAreaAt(CxPoint point, const CxRect areas[PIG_PET_AREAS]);

// Paging `count` items `perPage` at a time (at least 1 a page; no items
// still give page 0).
int PigLastPage(int count, int perPage);
// Above the last page wraps to 0, below 0 to the last.
int PigWrapPage(int page, int count, int perPage);
// The item indices [first, end) on the (wrapped) page.
struct ST_PIG_PAGE_ITEMS
{
    int first = 0;
    int end = 0;
};
ST_PIG_PAGE_ITEMS PigPageItems(int page, int count, int perPage);

// An item is locked while the player has earned fewer than its order.
constexpr bool PigItemLocked(int unlocked, int unlockOrder)
{
    return unlocked < unlockOrder;
}

// What the wall choice sees of the three places (index 0 for place 8).
struct ST_PIG_WALL_CHOICE
{
    std::array<bool, 3> filled{};
    bool holding = false; // an item is held
    std::array<bool, 3> overlapsHeld{};
    int heldX = 0;
    std::array<int, 3> placeX{};
    bool hasPoint = false;
    std::array<bool, 3> underPoint{};
};
// The place (8, 9 or 10) a new wall decoration takes: the first empty one;
// with all filled, the last the held item overlaps, else the first under the
// point, else the nearest to the held item's x, else a random one.
int PigChooseWallPlace(const ST_PIG_WALL_CHOICE& choice);

// The player key of a decoration place (8 to 13): "PigWall%d", "PigFloor",
// "PigBed", "PigArch"; empty for any other.
CxString PigDecorKey(int place);
// The place of a floor, bed or arch subcategory; 0 for a wall (the place is
// chosen); -1 for no decoration.
int PigDecorPlaceOf(int subCategory);
// The picture of decoration `id`; empty for no decoration subcategory.
CxString PigDecorPicture(int subCategory, int id);

struct ST_PIG_KEY_WRITE
{
    CxString key;
    int value = -1;
};
// The keys to write after decoration `id` went to `place`: the place's key
// gets the ID, or -1 when its picture is missing; a wall restored from
// `savedPlace` into another place also clears the key it came from, so it
// is not shown twice next time.
std::vector<ST_PIG_KEY_WRITE> PigDecorKeyWrites(int place, int id, bool pictureExists, int savedPlace = -1);

// The saved decoration IDs by place - 8 (walls 8 to 10, floor, bed, arch);
// -1 for none.
using PigDecorIds = std::array<int, PIG_DECOR_PARTS>;
struct ST_PIG_RESTORE_ITEM
{
    int subCategory = 0;
    int id = -1;
    int savedPlace = 0; // the place whose key held it
};
// What to place at load, in order: walls 8, 9, 10, then floor, arch, bed;
// places without a decoration are left out.
std::vector<ST_PIG_RESTORE_ITEM> PigRestoreOrder(const PigDecorIds& ids);

// Where the game goes after a win.
struct ST_PIG_ROUTE
{
    const char* room = "";
    bool playClosingMovie = false;
};
ST_PIG_ROUTE PigRouteAfterWin(int farmYardComplete, int fairComplete, int hasSeenClosingMovie);
constexpr const char* PIG_CLOSING_MOVIE = "m05_closing.bik";

// The water bowl: `levels` frames (at least 1), full on the last.
int PigBowlSet(int level, int levels);
inline int PigBowlRaise(int level, int levels)
{
    return PigBowlSet(PigBowlSet(level, levels) + 1, levels);
}
inline int PigBowlLower(int level, int levels)
{
    return PigBowlSet(PigBowlSet(level, levels) - 1, levels);
}
bool PigBowlFull(int level, int levels);
