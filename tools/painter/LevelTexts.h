#pragma once
// The games' levels are written by data authors as text beside the data
// ("<Room>/sLevelNN.txt"); the build turns each into the level file the game
// reads, by the game's own converter.

#include <functional>
#include <string>

// Text in, the level file's bytes out; false with a message for a bad text.
using LevelTextConverter = std::function<bool(const std::string& text, std::string& bytes, std::string& error)>;

// Converts "<room>/sLevel00.txt" .. for `levels` levels into files of the
// same name with `extension` (".skc", ".pol"). Every level is tried; the
// result is the first failure's code (PIM_ERR_OPEN, PIM_ERR_FILE_TYPE,
// PIM_ERR_WRITE), else PIM_OK.
int MakeLevelFiles(const char* dataFolder, const char* room, int levels, const char* extension,
                   const LevelTextConverter& convert, bool verbose);
