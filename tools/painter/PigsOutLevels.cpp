#include "tools/painter/PigsOutLevels.h"

#include "tools/painter/LevelTexts.h"

#include <sstream>

namespace {

bool IsObjectType(long type)
{
    return (type >= 0 && type <= 15) || type == kPigsOutEndType;
}

void PutInt32(std::string& bytes, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

} // namespace

bool ParsePigsOutLevel(const std::string& text, std::vector<ST_PIGSOUT_RECORD>& records, std::string& error)
{
    records.clear();
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        // A ';' starts a comment, on a line of its own or after a record.
        line = line.substr(0, line.find(';'));
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (!records.empty() && records.back().type == kPigsOutEndType) {
            error = where + "nothing may follow the end record (type 18)";
            return false;
        }
        std::istringstream fields(line);
        long x = 0, tick = 0, type = 0;
        std::string rest;
        if (!(fields >> x >> tick >> type) || (fields >> rest)) {
            error = where + "a record is three whole numbers: x tick type";
            return false;
        }
        if (!IsObjectType(type)) {
            error = where + "type " + std::to_string(type) + " is no object (0 .. 15, or 18 to end)";
            return false;
        }
        if (x < kPigsOutMinX || x > kPigsOutMaxX) {
            error = where + "x " + std::to_string(x) + " is off the road (-800 .. 1600)";
            return false;
        }
        if (tick < 0 || tick > kPigsOutMaxTick) {
            error = where + "tick " + std::to_string(tick) + " is outside 0 .. 60000";
            return false;
        }
        if (!records.empty() && tick < records.back().tick) {
            error = where + "tick " + std::to_string(tick) + " comes before the line above's";
            return false;
        }
        if (records.size() == kPigsOutMaxRecords) {
            error = where + "a level holds at most 500 records";
            return false;
        }
        records.push_back({static_cast<int32_t>(x), static_cast<int32_t>(tick), static_cast<int32_t>(type)});
    }
    if (records.empty() || records.back().type != kPigsOutEndType) {
        error = "the last record must be the end record (type 18)";
        return false;
    }
    return true;
}

std::string PigsOutLevelBytes(const std::vector<ST_PIGSOUT_RECORD>& records)
{
    std::string bytes;
    bytes.reserve(records.size() * 12);
    for (const ST_PIGSOUT_RECORD& record : records) {
        PutInt32(bytes, record.x);
        PutInt32(bytes, record.tick);
        PutInt32(bytes, record.type);
    }
    return bytes;
}

int MakePigsOutLevels(const char* dataFolder, bool verbose)
{
    return MakeLevelFiles(dataFolder, "PigsOut", kPigsOutLevels, ".pol",
                          [](const std::string& text, std::string& bytes, std::string& error) {
                              std::vector<ST_PIGSOUT_RECORD> records;
                              if (!ParsePigsOutLevel(text, records, error))
                                  return false;
                              bytes = PigsOutLevelBytes(records);
                              return true;
                          },
                          verbose);
}
