#include "game/pigpen/PigPenModel.h"

#include "PIM/core/CxRandom.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

int PigFill(int value)
{
    if (value <= 0)
        return value + PIG_NEED_FULL;
    return std::max(value, PIG_NEED_FULL);
}

int PigMoodOf(int total, int neutralPercent)
{
    const int n = std::clamp(neutralPercent, 0, PIG_NEUTRAL_MAX);
    const int low = PIG_TOTAL_MAX / (100 / ((100 - n) / 2));
    if (total < low)
        return 0;
    return total > PIG_TOTAL_MAX - low ? 2 : 1;
}

int PigMeterY(int total, int top, int bottom)
{
    // A meter taller than the whole range would scale by zero: one pixel a
    // point is the finest the marker moves.
    const int64_t span = int64_t{bottom} - top;
    int64_t scale = span == 0 ? 1 : PIG_TOTAL_MAX / span;
    if (scale == 0)
        scale = 1;
    return static_cast<int>(std::clamp<int64_t>(bottom - total / scale, INT32_MIN, INT32_MAX));
}

CPigPenModel::CPigPenModel(int neutralPercent)
    : m_neutralPercent(std::clamp(neutralPercent, 0, PIG_NEUTRAL_MAX))
{
    ResetNeeds();
}

void CPigPenModel::ResetNeeds()
{
    m_needs = ST_PIG_NEEDS();
    m_won = false;
    Recompute();
}

void CPigPenModel::Recompute()
{
    ST_PIG_NEEDS& n = m_needs;
    n.love = PigAverage(n.loveA, n.loveB);
    n.groom = PigAverage(n.groomA, n.groomB);
    n.decor = 0;
    for (int part : n.decorParts)
        n.decor += part / PIG_DECOR_PARTS;
    n.total = n.eat + n.drink + n.love + n.energy + n.groom + n.decor;
}

bool CPigPenModel::SatisfyNeed(int type, int actionState)
{
    ST_PIG_NEEDS& n = m_needs;
    int* part = nullptr;
    switch (type) {
    case PIG_ACTION_FOOD:
        if (actionState == PIG_STATE_EAT1 || actionState == PIG_STATE_EAT2) {
            part = &n.eat;
            break;
        }
        {
            // Food the pig only sniffs at makes it hungrier, within bounds.
            const int drop = (PIG_NEED_FULL - n.eat) / 10;
            if (drop == 0 || n.eat - drop < PIG_EAT_FLOOR || n.total - drop < 0)
                return false;
            n.eat -= drop;
            Recompute();
            return true;
        }
    case PIG_ACTION_DRINK: part = &n.drink; break;
    case PIG_ACTION_LOVE: part = &n.loveA; break;
    case PIG_ACTION_PET: part = &n.loveB; break;
    case PIG_ACTION_BRUSH: part = &n.groomA; break;
    case PIG_ACTION_GROOM: part = &n.groomB; break;
    case PIG_ACTION_DECOR: return n.decor < PIG_NEED_FULL;
    default:
        if (type >= PIG_DECOR_WALL1 && type <= PIG_DECOR_ARCH)
            part = &n.decorParts[static_cast<size_t>(type - PIG_DECOR_WALL1)];
        break;
    }
    if (!part)
        return false;
    const int filled = PigFill(*part);
    if (filled == *part)
        return false;
    *part = filled;
    Recompute();
    return true;
}

bool CPigPenModel::CanAct(int type) const
{
    return !(type == PIG_ACTION_DRINK && m_needs.drink >= PIG_NEED_FULL);
}

int CPigPenModel::GetMood() const
{
    return PigMoodOf(m_needs.total, m_neutralPercent);
}

ST_PIG_FEEDBACK CPigPenModel::ChooseFeedback(int actionType) const
{
    ST_PIG_FEEDBACK feedback;
    const char* plain = nullptr;
    if (actionType == PIG_ACTION_FOOD || actionType == PIG_ACTION_DRINK)
        plain = "feed0.seq";
    else if (actionType == PIG_ACTION_DECOR)
        plain = "feed1.seq";
    // A quarter of the time the pig answers with one of its general lines.
    if (plain && RandomRange(0, 100) <= 74)
        feedback.feed = plain;
    else
        feedback.feed.Format("feedall%d.seq", RandomRange(1, 3));
    feedback.well.Format("well%d.seq", GetMood());
    return feedback;
}

int CPigPenModel::ChooseWant(const bool hasItem[PIG_WANT_CATEGORIES]) const
{
    const ST_PIG_NEEDS& n = m_needs;
    int best = PIG_NEED_FULL + 1;
    int want = -1;
    if (n.eat <= PIG_NEED_FULL && hasItem[0]) {
        best = n.eat;
        want = 0;
    }
    if (n.drink < best) {
        best = n.drink;
        want = 1;
    }
    if (n.love < best) {
        best = n.love;
        want = 2;
    }
    if (n.groom < best && hasItem[2]) {
        best = n.groom;
        want = 4;
    }
    if (n.decor < best && hasItem[1]) {
        best = n.decor;
        want = 5;
    }
    return n.energy < best ? 3 : want;
}

bool CPigPenModel::TakeWin(int pigPenGoal)
{
    if (m_won || pigPenGoal == -1 || GetMood() != 2)
        return false;
    m_won = true;
    return true;
}

int PigPetAreaAt(CxPoint point, const CxRect areas[PIG_PET_AREAS])
{
    static constexpr int kStates[PIG_PET_AREAS] = {PIG_STATE_HEAD, PIG_STATE_CHEST, PIG_STATE_FEET, PIG_STATE_RUMP};
    for (int i = 0; i < PIG_PET_AREAS; ++i) {
        if (areas[i].Contains(point))
            return kStates[i];
    }
    return -1;
}

int PigLastPage(int count, int perPage)
{
    const int m = std::max(1, perPage);
    const int n = std::max(0, count);
    return std::max(0, n / m - (n % m == 0 ? 1 : 0));
}

int PigWrapPage(int page, int count, int perPage)
{
    const int last = PigLastPage(count, perPage);
    if (page > last)
        return 0;
    return page < 0 ? last : page;
}

ST_PIG_PAGE_ITEMS PigPageItems(int page, int count, int perPage)
{
    const int64_t m = std::max(1, perPage);
    const int64_t n = std::max(0, count);
    const int64_t first = std::min<int64_t>(n, int64_t{PigWrapPage(page, count, perPage)} * m);
    return {static_cast<int>(first), static_cast<int>(std::min(n, first + m))};
}

int PigChooseWallPlace(const ST_PIG_WALL_CHOICE& c)
{
    for (int i = 0; i < 3; ++i) {
        if (!c.filled[static_cast<size_t>(i)])
            return PIG_DECOR_WALL1 + i;
    }
    if (c.holding) {
        for (int i = 2; i >= 0; --i) {
            if (c.overlapsHeld[static_cast<size_t>(i)])
                return PIG_DECOR_WALL1 + i;
        }
    }
    if (c.hasPoint) {
        for (int i = 0; i < 3; ++i) {
            if (c.underPoint[static_cast<size_t>(i)])
                return PIG_DECOR_WALL1 + i;
        }
    }
    if (!c.holding)
        return PIG_DECOR_WALL1 + RandomRange(0, 2);
    int best = 0;
    int64_t bestDistance = -1;
    for (int i = 0; i < 3; ++i) {
        const int64_t distance = std::llabs(int64_t{c.heldX} - c.placeX[static_cast<size_t>(i)]);
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return PIG_DECOR_WALL1 + best;
}

CxString PigDecorKey(int place)
{
    CxString key;
    if (place >= PIG_DECOR_WALL1 && place <= PIG_DECOR_WALL3)
        key.Format("PigWall%d", place);
    else if (place == PIG_DECOR_FLOOR)
        key = "PigFloor";
    else if (place == PIG_DECOR_BED)
        key = "PigBed";
    else if (place == PIG_DECOR_ARCH)
        key = "PigArch";
    return key;
}

int PigDecorPlaceOf(int subCategory)
{
    switch (subCategory) {
    case PIG_SUB_WALL: return 0;
    case PIG_SUB_FLOOR: return PIG_DECOR_FLOOR;
    case PIG_SUB_BED: return PIG_DECOR_BED;
    case PIG_SUB_ARCH: return PIG_DECOR_ARCH;
    default: return -1;
    }
}

CxString PigDecorPicture(int subCategory, int id)
{
    CxString name;
    switch (subCategory) {
    case PIG_SUB_WALL: name.Format("G10_wall%02d_2.tga", id); break;
    case PIG_SUB_FLOOR: name.Format("G10_floor%02d_2.tga", id); break;
    case PIG_SUB_BED: name.Format("G10_Bed_%02d_2.tga", id); break;
    case PIG_SUB_ARCH: name.Format("G10_Arch_%02d_2.tga", id); break;
    default: break;
    }
    return name;
}

std::vector<ST_PIG_KEY_WRITE> PigDecorKeyWrites(int place, int id, bool pictureExists, int savedPlace)
{
    std::vector<ST_PIG_KEY_WRITE> writes;
    const CxString key = PigDecorKey(place);
    if (key.IsEmpty())
        return writes;
    writes.push_back({key, pictureExists ? id : -1});
    if (savedPlace != place && savedPlace >= PIG_DECOR_WALL1 && savedPlace <= PIG_DECOR_WALL3)
        writes.push_back({PigDecorKey(savedPlace), -1});
    return writes;
}

std::vector<ST_PIG_RESTORE_ITEM> PigRestoreOrder(const PigDecorIds& ids)
{
    static constexpr int kPlaces[PIG_DECOR_PARTS] = {PIG_DECOR_WALL1, PIG_DECOR_WALL2, PIG_DECOR_WALL3,
                                                     PIG_DECOR_FLOOR, PIG_DECOR_ARCH,  PIG_DECOR_BED};
    static constexpr int kSubs[PIG_DECOR_PARTS] = {PIG_SUB_WALL,  PIG_SUB_WALL, PIG_SUB_WALL,
                                                   PIG_SUB_FLOOR, PIG_SUB_ARCH, PIG_SUB_BED};
    std::vector<ST_PIG_RESTORE_ITEM> order;
    for (int i = 0; i < PIG_DECOR_PARTS; ++i) {
        const int id = ids[static_cast<size_t>(kPlaces[i] - PIG_DECOR_WALL1)];
        if (id != -1)
            order.push_back({kSubs[i], id, kPlaces[i]});
    }
    return order;
}

ST_PIG_ROUTE PigRouteAfterWin(int farmYardComplete, int fairComplete, int hasSeenClosingMovie)
{
    if (farmYardComplete == 0)
        return {"FarmyardMenu", false};
    if (fairComplete == 0)
        return {"FairgroundMenu", false};
    return {"SpiderEgg", hasSeenClosingMovie == 0};
}

int PigBowlSet(int level, int levels)
{
    return std::clamp(level, 0, std::max(1, levels) - 1);
}

bool PigBowlFull(int level, int levels)
{
    return level >= std::max(1, levels) - 1;
}
