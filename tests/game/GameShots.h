#pragma once
// A screenshot of the game under test into a folder of the test's, and,
// when MARROWDALE_SHOTS names a folder, a copy there for people to look at.

#include "tests/game/GameTestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

inline void SaveGameShot(GameTestApp& game, const std::filesystem::path& folder, const char* name)
{
    const std::string file = folder / name;
    EXPECT_EQ(game.App().ScreenCapture(("<DEFAULT>" + file).c_str()), PIM_OK) << name;
    if (const char* keep = std::getenv("MARROWDALE_SHOTS"))
        std::filesystem::copy_file(file, std::string(keep) + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
}
