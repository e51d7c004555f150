#pragma once
// What the engine asks of the machine it runs on: the processor and the
// timer. The answers are probed once and kept.

#include "PIM/core/PimDefs.h"

enum class ESystemQuery : int
{
    ProcessorVendor,   // text
    ProcessorName,     // text
    ProcessorFeatures, // number: feature bits (below)
    TimerResolution,   // number: milliseconds
    ProcessorClock,    // number: Hz, measured over one second on first ask
};

// ProcessorFeatures bits.
enum : uint32_t
{
    PIM_CPU_MMX = 0x01,
    PIM_CPU_SSE = 0x02,
    PIM_CPU_SSE2 = 0x04,
    PIM_CPU_3DNOW = 0x08,
};

struct ST_SYSTEM_VALUE
{
    int64_t number = 0;
    char text[64] = {};
};

// 0, or 16 for an unknown query.
int SystemInfo(ESystemQuery query, ST_SYSTEM_VALUE& out);

// Cycles counted over `milliseconds` of sleep, scaled to one second.
int64_t MeasureProcessorClock(int milliseconds);

// Forgets the cached answers.
void ResetSystemInfo();
