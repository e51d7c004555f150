#include "tools/painter/BaleOutLevels.h"

#include "tools/painter/LevelTexts.h"

#include <sstream>

namespace {

// The cell codes of the game's level file, by map character.
int CellCode(char c)
{
    switch (c) {
    case '.': return 0;
    case 'P': return 1;
    case 'B': return 2;
    case '#': return 3;
    case 'G': return 4;
    case '~': return 20;
    case '1': return 23;
    case '2': return 24;
    case '<': return 30;
    case '^': return 40;
    case '>': return 50;
    case 'v': return 60;
    case 'D': return 70;
    case 'S': return 80;
    case 'H': return 90;
    default: return -1;
    }
}

} // namespace

bool ParseBaleOutMap(const std::string& text, BaleOutCells& cells, std::string& error)
{
    cells.fill(0);
    std::istringstream in(text);
    std::string line;
    int row = 0, lineNumber = 0, pigs = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') // maps edited elsewhere
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (row == kBaleOutSide) {
            error = where + "more than 12 rows";
            return false;
        }
        if (line.size() != kBaleOutSide) {
            error = where + "a row has 12 cells, this one " + std::to_string(line.size());
            return false;
        }
        for (int x = 0; x < kBaleOutSide; ++x) {
            const int code = CellCode(line[static_cast<size_t>(x)]);
            if (code < 0) {
                error = where + "'" + line[static_cast<size_t>(x)] + "' is no cell";
                return false;
            }
            pigs += code == 1;
            cells[static_cast<size_t>(x * kBaleOutSide + row)] = static_cast<uint8_t>(code);
        }
        ++row;
    }
    if (row != kBaleOutSide) {
        error = "12 rows are needed, the map has " + std::to_string(row);
        return false;
    }
    if (pigs != 1) {
        error = "a board has one pig, this one " + std::to_string(pigs);
        return false;
    }
    return true;
}

int MakeBaleOutLevels(const char* dataFolder, bool verbose)
{
    return MakeLevelFiles(dataFolder, "BaleOut", kBaleOutLevels, ".skc",
                          [](const std::string& text, std::string& bytes, std::string& error) {
                              BaleOutCells cells;
                              if (!ParseBaleOutMap(text, cells, error))
                                  return false;
                              bytes.assign(reinterpret_cast<const char*>(cells.data()), cells.size());
                              return true;
                          },
                          verbose);
}
