#include "game/pigsout/PigsOutLevel.h"

#include "PIM/files/CxOptions.h"

#include <algorithm>
#include <utility>

namespace {

int32_t ReadInt32(const uint8_t* at)
{
    const uint32_t value = uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
    return static_cast<int32_t>(value);
}

CxString RecordNumbers(const std::vector<size_t>& numbers)
{
    CxString text;
    for (size_t i = 0; i < numbers.size() && i < 5; ++i)
        text += CxString::Formatted(i ? ", %zu" : "%zu", numbers[i]);
    if (numbers.size() > 5)
        text += " ...";
    return text;
}

} // namespace

bool PigsOutIsFood(int type)
{
    return type >= 0 && type <= 3;
}

int ST_PIGS_LEVEL::FoodCount() const
{
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [](const ST_PIGS_RECORD& r) { return PigsOutIsFood(r.type); }));
}

ST_PIGS_OPTIONS ReadPigsOutOptions(CxOptions& room)
{
    ST_PIGS_OPTIONS options;
    options.leftEdge = room.GetInt("General", "LeftEdge", 0);
    options.rightEdge = room.GetInt("General", "RightEdge", 0);
    // Reversed edges would leave the pig no place to steer to.
    if (options.leftEdge > options.rightEdge) {
        std::swap(options.leftEdge, options.rightEdge);
        options.edgesSwapped = true;
    }
    int x = 0, y = 0;
    room.GetPoint("General", "PigPos", &x, &y, 0, 0);
    options.pigPos = {x, y};
    room.GetPoint("General", "FarmerPos", &x, &y, 0, 0);
    options.farmerPos = {x, y};
    return options;
}

int ReadPigsOutPassScore(CxOptions& room, int level)
{
    const CxString section = CxString::Formatted("Level%02d", level);
    return std::max(room.GetInt(section.GetText(), "PassScore", 0), 0);
}

ST_PIGS_LEVEL ReadPigsOutLevel(const uint8_t* bytes, size_t size)
{
    ST_PIGS_LEVEL level;
    if (!bytes)
        size = 0;
    level.wholeRecords = size / PIGS_RECORD_BYTES;
    level.partRecord = size % PIGS_RECORD_BYTES != 0;
    level.tooLong = level.wholeRecords > static_cast<size_t>(PIGS_MAX_RECORDS);
    const size_t count = std::min(level.wholeRecords, static_cast<size_t>(PIGS_MAX_RECORDS));
    level.records.reserve(count + 1);
    bool ended = false;
    int32_t lastTick = 0;
    for (size_t i = 0; i < count && !ended; ++i) {
        const uint8_t* at = bytes + i * PIGS_RECORD_BYTES;
        ST_PIGS_RECORD record{ReadInt32(at), ReadInt32(at + 4), ReadInt32(at + 8)};
        if (i > 0 && record.tick < lastTick && level.firstDescending == 0)
            level.firstDescending = i;
        if (record.tick > PIGS_MAX_TICK && level.firstLateTick == 0)
            level.firstLateTick = i + 1;
        lastTick = record.tick;
        if (record.type == PIGS_END_TYPE) {
            ended = true;
        } else if (record.type < 0 || record.type >= PIGS_TYPES) {
            level.droppedTypes.push_back(i);
            continue;
        } else if (record.x < PIGS_MIN_X || record.x > PIGS_MAX_X) {
            record.x = std::clamp(record.x, PIGS_MIN_X, PIGS_MAX_X);
            level.clampedX.push_back(i);
        }
        level.records.push_back(record);
    }
    if (!ended) {
        // The end follows the last record; its tick is never used.
        level.endAdded = true;
        ST_PIGS_RECORD end;
        end.tick = level.records.empty() ? 0 : level.records.back().tick;
        level.records.push_back(end);
    }
    return level;
}

CxString PigsOutLevelFileName(int level)
{
    return CxString::Formatted("sLevel%02d.pol", level);
}

std::vector<CxString> PigsOutLevelProblems(const ST_PIGS_LEVEL& level)
{
    std::vector<CxString> problems;
    if (level.partRecord)
        problems.push_back("the file ends in part of a record (records are 12 bytes)");
    if (level.tooLong)
        problems.push_back(CxString::Formatted("%zu records, more than the %d a level holds", level.wholeRecords,
                                               PIGS_MAX_RECORDS));
    if (level.endAdded)
        problems.push_back("no end record (type 18)");
    if (!level.droppedTypes.empty())
        problems.push_back(CxString::Formatted("records %s have a type outside 0 .. 15 (dropped)",
                                               RecordNumbers(level.droppedTypes).GetText()));
    if (!level.clampedX.empty())
        problems.push_back(CxString::Formatted("records %s have an x outside %d .. %d", RecordNumbers(level.clampedX).GetText(),
                                               PIGS_MIN_X, PIGS_MAX_X));
    if (level.firstDescending > 0)
        problems.push_back(CxString::Formatted("record %zu comes at an earlier tick than the one before",
                                               level.firstDescending));
    if (level.firstLateTick > 0)
        problems.push_back(CxString::Formatted("record %zu comes after tick %d", level.firstLateTick - 1, PIGS_MAX_TICK));
    return problems;
}
