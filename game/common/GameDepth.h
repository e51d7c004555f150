#pragma once
// Depths of the game's pictures are given as 32-bit patterns (0xBFFFFFFE for
// a background, 0x7FFFFFFF - x for a row of targets ...), compared as the
// display tree compares them: a smaller pattern is nearer the viewer.

#include <cstdint>

constexpr int32_t GameDepth(uint32_t pattern)
{
    return static_cast<int32_t>(pattern);
}
