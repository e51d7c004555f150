#pragma once
// The engine's random numbers. Every draw goes through Random(): the installed
// generator when there is one, else the C library's rand() (which Lua's
// math.random shares, so a seed fixes scripts and engine together).
//
// Tests script the draws: ScriptRandomDraws makes Random() return the given
// values in order, over and over, until ClearRandomScript.

#include "PIM/core/PimDefs.h"

using PimRandomGenerator = int (*)();
using PimRandomSeeder = void (*)(uint32_t seed);

// A non-negative value.
int Random();
// a .. b inclusive; a when the range is empty (b < a).
int RandomRange(int a, int b);
// RandomRange(0, 9999) x 0.00010001: 0 .. just under 1 in steps of 1/10000.
float RandomUnit();
// a + RandomUnit() x (b - a).
float RandomFloat(float a, float b);
// True with `percent` per cent chance: Random() mod 100 < percent.
bool Chance(int percent);

// Installs both hooks (either may be null) and seeds: through the seeder when
// there is one, else the C library's generator.
void SeedRandom(uint32_t seed, PimRandomGenerator generator = nullptr, PimRandomSeeder seeder = nullptr);

void ScriptRandomDraws(const int* values, size_t count);
void ClearRandomScript();
// No hooks, no script, the C library's generator seeded with 1.
void ResetRandom();
