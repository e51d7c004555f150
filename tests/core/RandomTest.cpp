#include "PIM/core/CxRandom.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
int g_fixed = 0;
uint32_t g_seenSeed = 0;
int FixedGenerator()
{
    return g_fixed;
}
void RecordSeed(uint32_t seed)
{
    g_seenSeed = seed;
}
} // namespace

TEST(Random, ScriptedDrawsDriveEveryOperation)
{
    const int draws[] = {0, 9999, 10, 57, 150};
    ScriptRandomDraws(draws, 5);
    EXPECT_EQ(Random(), 0);
    EXPECT_EQ(RandomRange(5, 10), 5 + 9999 % 6);
    EXPECT_EQ(RandomRange(-3, 3), -3 + 10 % 7);
    EXPECT_TRUE(Chance(58));  // 57 < 58
    EXPECT_FALSE(Chance(50)); // 150 mod 100 = 50, not below 50
    // The script repeats.
    EXPECT_FLOAT_EQ(RandomUnit(), 0.0f);
    EXPECT_FLOAT_EQ(RandomUnit(), 9999 * 0.00010001f);
    EXPECT_FLOAT_EQ(RandomFloat(2.0f, 4.0f), 2.0f + (10 % 10000) * 0.00010001f * 2.0f);
    ClearRandomScript();
}

TEST(Random, EmptyAndExtremeRanges)
{
    const int draws[] = {12345};
    ScriptRandomDraws(draws, 1);
    EXPECT_EQ(RandomRange(0, -1), 0); // "one of none": a
    EXPECT_EQ(RandomRange(7, 2), 7);  // reversed: empty, never past a
    EXPECT_EQ(RandomRange(4, 4), 4);
    int wide = RandomRange(INT_MIN, INT_MAX);
    EXPECT_EQ(wide, static_cast<int>(int64_t{INT_MIN} + 12345));
    ClearRandomScript();

    for (int i = 0; i < 1000; ++i) {
        int v = RandomRange(-5, 5);
        ASSERT_GE(v, -5);
        ASSERT_LE(v, 5);
        float f = RandomFloat(1.0f, 2.0f);
        ASSERT_GE(f, 1.0f);
        ASSERT_LE(f, 2.0f);
    }
}

TEST(Random, SeedingAndGenerators)
{
    SeedRandom(99);
    int a = Random(), b = Random();
    SeedRandom(99);
    EXPECT_EQ(Random(), a);
    EXPECT_EQ(Random(), b);

    g_fixed = 41;
    SeedRandom(7, &FixedGenerator, &RecordSeed);
    EXPECT_EQ(g_seenSeed, 7u);
    EXPECT_EQ(Random(), 41);
    g_fixed = -5; // a misbehaving generator never yields a negative draw
    EXPECT_GE(Random(), 0);
    ResetRandom();
}
