#include "PIM/core/CxRandom.h"

#include <cstdlib>
#include <vector>

namespace {

struct RandomState
{
    PimRandomGenerator generator = nullptr;
    std::vector<int> script;
    size_t next = 0;
};

RandomState& State()
{
    static RandomState state;
    return state;
}

} // namespace

int Random()
{
    RandomState& state = State();
    if (!state.script.empty()) {
        int value = state.script[state.next];
        state.next = (state.next + 1) % state.script.size();
        return value;
    }
    int value = state.generator ? state.generator() : std::rand();
    // A generator must not hand out negative values: the modulo arithmetic of
    // every caller assumes it.
    return value < 0 ? -(value + 1) : value;
}

int RandomRange(int a, int b)
{
    // b = a - 1 is the empty range the callers rely on ("pick one of 0 left"
    // gives a); any other reversed range is empty too, rather than reaching
    // past a as the plain modulo would.
    if (b < a)
        return a;
    // 64 bits: the span of (INT_MIN, INT_MAX) does not fit in an int.
    int64_t span = int64_t{b} - int64_t{a} + 1;
    int64_t draw = Random();
    if (draw < 0)
        draw = 0;
    return static_cast<int>(int64_t{a} + draw % span);
}

float RandomUnit()
{
    return static_cast<float>(RandomRange(0, 9999)) * 0.00010001f;
}

float RandomFloat(float a, float b)
{
    return a + RandomUnit() * (b - a);
}

bool Chance(int percent)
{
    return Random() % 100 < percent;
}

void SeedRandom(uint32_t seed, PimRandomGenerator generator, PimRandomSeeder seeder)
{
    State().generator = generator;
    if (seeder)
        seeder(seed);
    else
        std::srand(seed);
}

void ScriptRandomDraws(const int* values, size_t count)
{
    RandomState& state = State();
    state.script.clear();
    state.next = 0;
    if (!values)
        return;
    for (size_t i = 0; i < count; ++i)
        state.script.push_back(values[i] < 0 ? 0 : values[i]);
}

void ClearRandomScript()
{
    State().script.clear();
    State().next = 0;
}

void ResetRandom()
{
    State() = RandomState{};
    std::srand(1);
}
