// The pig pen from arbitrary bytes: read as its room file, and as a players'
// file whose first sections give saved decoration, and then as a run of the
// pig pen's rules. Whatever the bytes, the setup keeps to its bounds, the
// decoration IDs are none or 0..999, and the rules keep the needs, the mood,
// the want, the pages, the wall places and the bowl within theirs.
#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimTrace.h"
#include "PIM/files/CxOptions.h"
#include "fuzz/FuzzFolder.h"
#include "fuzz/FuzzPicture.h"
#include "game/common/CPlayerStore.h"
#include "game/pigpen/PigPenLevel.h"
#include "game/pigpen/PigPenModel.h"

#include <cstdlib>

namespace {

// The players' file goes through the file layer, as the game reads it.
fuzz::MountedFolder& Folder()
{
    static fuzz::MountedFolder folder("<Fuzz>");
    return folder;
}

bool Inside(CxPoint p)
{
    return std::abs(p.x) <= DAX_COORDINATE_LIMIT && std::abs(p.y) <= DAX_COORDINATE_LIMIT;
}

bool Sane(const CxRect& r)
{
    return r.left <= r.right && r.top <= r.bottom && Inside(r.TopLeft()) && Inside({r.right, r.bottom});
}

void CheckSetup(const ST_PIGPEN_SETUP& s)
{
    fuzz::Check(s.neutralPercent >= 0 && s.neutralPercent <= PIG_NEUTRAL_MAX);
    fuzz::Check(s.maxIcons >= 1 && s.bowlStates >= 1);
    fuzz::Check(Inside(s.iconStart) && Inside(s.foodLoc) && Inside(s.pumpPosition) && Inside(s.bowlPosition));
    fuzz::Check(Sane(s.foodBin) && Sane(s.pumpRect) && Sane(s.meter));
    for (const CxRect& area : s.petAreas)
        fuzz::Check(Sane(area));
    fuzz::Check(s.locked.Length() <= PIG_TEXT_MAX && s.bowlFile.Length() <= PIG_TEXT_MAX);
    for (const auto& items : s.items) {
        fuzz::Check(items.size() <= size_t(PIG_ITEMS_MAX));
        for (const ST_PIGPEN_ITEM& item : items) {
            fuzz::Check(item.id >= -1 && item.id <= PIG_DECOR_ID_MAX);
            fuzz::Check(item.drag.Length() <= PIG_TEXT_MAX);
        }
    }
}

void CheckNeeds(const CPigPenModel& pig)
{
    const ST_PIG_NEEDS& n = pig.GetNeeds();
    fuzz::Check(n.eat >= PIG_EAT_FLOOR && n.eat <= PIG_NEED_FULL);
    fuzz::Check(n.total >= 0 && n.total <= PIG_TOTAL_MAX);
    fuzz::Check(pig.GetMood() >= 0 && pig.GetMood() <= 2);
}

// The rules driven by the bytes, two at a time, for a bounded run.
void RunRules(const uint8_t* data, size_t size, const ST_PIGPEN_SETUP& setup)
{
    CPigPenModel pig(setup.neutralPercent);
    int bowl = 0;
    int page = 0;
    const int count = static_cast<int>(setup.items[0].size());
    for (size_t i = 0; i + 1 < size && i < 512; i += 2) {
        const int arg = data[i + 1];
        switch (data[i] % 8) {
        case 0: pig.SatisfyNeed(arg % 16 - 1, arg % 23); break;
        case 1: {
            const bool has[PIG_WANT_CATEGORIES] = {(arg & 1) != 0, (arg & 2) != 0, (arg & 4) != 0};
            const int want = pig.ChooseWant(has);
            fuzz::Check(want >= -1 && want <= 5);
            break;
        }
        case 2: {
            page = PigWrapPage(page + (arg & 1 ? 1 : -1), count, setup.maxIcons);
            const ST_PIG_PAGE_ITEMS on = PigPageItems(page, count, setup.maxIcons);
            fuzz::Check(on.first >= 0 && on.first <= on.end && on.end <= count);
            fuzz::Check(on.end - on.first <= setup.maxIcons);
            break;
        }
        case 3: {
            ST_PIG_WALL_CHOICE c;
            for (size_t k = 0; k < 3; ++k) {
                c.filled[k] = (arg >> k) & 1;
                c.overlapsHeld[k] = (arg >> (k + 3)) & 1;
                c.placeX[k] = setup.decorPositions[k].x;
            }
            c.holding = arg & 0x40;
            c.hasPoint = arg & 0x80;
            c.heldX = setup.foodLoc.x;
            const int place = PigChooseWallPlace(c);
            fuzz::Check(place >= PIG_DECOR_WALL1 && place <= PIG_DECOR_WALL3);
            break;
        }
        case 4:
            bowl = arg & 1 ? PigBowlRaise(bowl, setup.bowlStates) : PigBowlLower(bowl, setup.bowlStates);
            fuzz::Check(bowl >= 0 && bowl < setup.bowlStates);
            break;
        case 5: (void)pig.ChooseFeedback(arg % 9 - 1); break;
        case 6: (void)pig.TakeWin(arg % 3 - 1); break;
        default:
            (void)pig.MeterY(setup.meter.top, setup.meter.bottom);
            if (arg == 0)
                pig.ResetNeeds();
            break;
        }
        CheckNeeds(pig);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SetErrorHandler({&fuzz::Quiet, nullptr});
    SetTraceToStdout(false);
    CxOptions options;
    fuzz::Check(options.ReadFromBuffer(reinterpret_cast<const char*>(data), size) == PIM_OK);
    const ST_PIGPEN_SETUP setup = ReadPigPenSetup(options);
    CheckSetup(setup);

    if (Folder().Write("users.ini", data, size)) {
        CPlayerStore players;
        players.Load("<Fuzz>users.ini");
        const std::vector<CxString> sections = players.GetPlayerNames();
        for (size_t i = 0; i < sections.size() && i < 4; ++i) {
            players.SetCurrentPlayer(sections[i].GetText());
            const PigDecorIds ids = ReadPigDecorIds(
                [&](const char* key, int fallback) { return players.ReadInt(key, fallback); });
            for (int id : ids)
                fuzz::Check(id >= -1 && id <= PIG_DECOR_ID_MAX);
            for (const ST_PIG_RESTORE_ITEM& item : PigRestoreOrder(ids)) {
                fuzz::Check(PigDecorPlaceOf(item.subCategory) != -1);
                fuzz::Check(!PigDecorPicture(item.subCategory, item.id).IsEmpty());
                fuzz::Check(!PigDecorKeyWrites(item.savedPlace, item.id, true, item.savedPlace).empty());
            }
        }
    }
    RunRules(data, size, setup);
    return 0;
}
