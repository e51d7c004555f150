#include "game/pigpen/PigPenLevel.h"

#include "DAX/buttons/DaxButtonSections.h"
#include "PIM/core/PimSafeFormat.h"
#include "PIM/files/CxOptions.h"

#include <algorithm>

namespace {

CxPoint ReadPoint(CxOptions& options, const char* section, const char* key, CxPoint fallback = {})
{
    int x = fallback.x;
    int y = fallback.y;
    options.GetPoint(section, key, &x, &y, fallback.x, fallback.y);
    return CxPoint(DaxClampCoordinate(x), DaxClampCoordinate(y));
}

// "p1" and "p2" are opposite corners in whichever order the author gave them.
CxRect ReadCorners(CxOptions& options, const char* section)
{
    const CxPoint a = ReadPoint(options, section, "p1");
    const CxPoint b = ReadPoint(options, section, "p2");
    return CxRect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

CxString ReadText(CxOptions& options, const char* section, const char* key, const char* fallback = "")
{
    char text[PIG_TEXT_MAX + 1];
    options.GetString(section, key, text, fallback, sizeof text);
    return CxString(text);
}

int ReadClamped(CxOptions& options, const char* section, const char* key, int fallback, int low, int high)
{
    return std::clamp(options.GetInt(section, key, fallback), low, high);
}

int SaneDecorId(int id)
{
    return id >= 0 && id <= PIG_DECOR_ID_MAX ? id : -1;
}

ST_PIGPEN_ITEM ReadItem(CxOptions& options, int category, int index, const CxString& locked)
{
    CxString section;
    section.Format("Item%d%02d", category, index);
    const char* s = section.GetText();
    ST_PIGPEN_ITEM item;
    // Icons are numbered from 1 on disk.
    item.icon = PimSafeFormatted(ReadText(options, s, "Name").GetText(), index + 1);
    item.lockedIcon = PimSafeFormatted(locked.GetText(), index + 1);
    item.drag = ReadText(options, s, "Drag");
    item.type = ReadClamped(options, s, "Type", 0, -PIG_ITEM_VALUE_MAX, PIG_ITEM_VALUE_MAX);
    item.stateIndex = ReadClamped(options, s, "StateIndex", 0, -PIG_ITEM_VALUE_MAX, PIG_ITEM_VALUE_MAX);
    item.level = ReadClamped(options, s, "Level", 0, -PIG_ITEM_VALUE_MAX, PIG_ITEM_VALUE_MAX);
    item.subCategory = ReadClamped(options, s, "SubCategory", 0, -PIG_ITEM_VALUE_MAX, PIG_ITEM_VALUE_MAX);
    item.id = SaneDecorId(options.GetInt(s, "ID", -1));
    item.unlockOrder = ReadClamped(options, s, "UnlockOrder", 0, -PIG_ITEM_VALUE_MAX, PIG_ITEM_VALUE_MAX);
    return item;
}

} // namespace

ST_PIGPEN_SETUP ReadPigPenSetup(CxOptions& options)
{
    ST_PIGPEN_SETUP setup;
    setup.neutralPercent =
        ReadClamped(options, "General", "NeutralPercent", PIG_NEUTRAL_DEFAULT, 0, PIG_NEUTRAL_MAX);
    setup.locked = ReadText(options, "General", "Locked");
    setup.iconStart = ReadPoint(options, "General", "UIIconStartPosition", setup.iconStart);
    setup.maxIcons = ReadClamped(options, "General", "MaxUIIcons", 1, 1, PIG_ITEMS_MAX);
    setup.eatFoodFrame = ReadClamped(options, "Pig", "EatFoodFrame", 0, 0, PIG_FRAME_MAX);
    setup.drinkFrame = ReadClamped(options, "Pig", "DrinkFrame", 0, 0, PIG_FRAME_MAX);

    setup.foodBin = ReadCorners(options, "Food_Bin");
    setup.foodLoc = ReadPoint(options, "Food_Bin", "FoodLoc");
    static constexpr const char* kPetSections[PIG_PET_AREAS] = {"Pet_Head", "Pet_Chest", "Pet_Feet", "Pet_Rump"};
    for (size_t i = 0; i < setup.petAreas.size(); ++i)
        setup.petAreas[i] = ReadCorners(options, kPetSections[i]);

    setup.pumpFile = ReadText(options, "Pump", "FileName", "pump.xni");
    setup.pumpPosition = ReadPoint(options, "Pump", "Position");
    setup.pumpRect = ReadCorners(options, "Pump");

    for (size_t i = 0; i < setup.buttons.size(); ++i) {
        CxString section;
        if (i == PIG_BUTTON_NEXT)
            section = "NextUIButton";
        else if (i == PIG_BUTTON_PREV)
            section = "PrevUIButton";
        else
            section.Format("UIButton%d", static_cast<int>(i));
        setup.buttons[i].fileName = ReadText(options, section.GetText(), "FileName");
        setup.buttons[i].position = ReadPoint(options, section.GetText(), "Position");
    }

    setup.thoughtPosition = ReadPoint(options, "Thought", "Position");
    setup.wantOffset = ReadPoint(options, "Thought", "WantOffset");
    static constexpr const char* kDecorSections[PIG_DECOR_PARTS] = {"Wall1", "Wall2", "Wall3",
                                                                    "Floor", "Bed",   "Arch"};
    for (size_t i = 0; i < setup.decorPositions.size(); ++i)
        setup.decorPositions[i] = ReadPoint(options, kDecorSections[i], "Position");

    setup.bowlPosition = ReadPoint(options, "Bowl", "Position");
    setup.bowlFile = ReadText(options, "Bowl", "FileName");
    setup.bowlStates = ReadClamped(options, "Bowl", "States", 1, 1, PIG_BOWL_STATES_MAX);
    setup.meter = ReadCorners(options, "Meter");
    setup.foodMaskPosition = ReadPoint(options, "FoodMask", "Position");
    setup.doorPosition = ReadPoint(options, "Door", "Position");

    for (int category = 0; category < PIG_CATEGORIES; ++category) {
        CxString section;
        section.Format("UI%02d", category);
        const int count = ReadClamped(options, section.GetText(), "NumItems", 0, 0, PIG_ITEMS_MAX);
        std::vector<ST_PIGPEN_ITEM>& items = setup.items[static_cast<size_t>(category)];
        items.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            items.push_back(ReadItem(options, category, i, setup.locked));
    }
    return setup;
}

PigDecorIds ReadPigDecorIds(const PigKeyReader& read)
{
    PigDecorIds ids;
    for (size_t i = 0; i < ids.size(); ++i) {
        const CxString key = PigDecorKey(PIG_DECOR_WALL1 + static_cast<int>(i));
        ids[i] = SaneDecorId(read(key.GetText(), -1));
    }
    return ids;
}
