#pragma once
// What the engine asks of the machine it runs on. On Linux the operating
// system code is 0 (none of the Windows families), "ddraw.dll" is never
// loadable, and the DirectX version is a configured text, so that the
// start-up version check compares against something sensible.

#include "PIM/core/PimDefs.h"

enum class ESystemQuery : int
{
    OperatingSystem,   // number: the operating system code
    DirectXVersion,    // text
    ProcessorVendor,   // text
    ProcessorName,     // text
    ProcessorFeatures, // number: feature bits (below)
    DirectDrawLoadable, // number: 1 when "ddraw.dll" loads
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

// The DirectX version reported when none is configured: that of DirectX 9.0c.
constexpr const char* PIM_DEFAULT_DIRECTX_VERSION = "4.09.00.0904";

// 0, or 16 for an unknown query.
int SystemInfo(ESystemQuery query, ST_SYSTEM_VALUE& out);

void SetDirectXVersion(const char* version);

// Operating system code from Windows platform and version numbers (the table
// shell folders rely on); kept so the rule has one home.
int OperatingSystemCode(int platformId, int major, int minor);

// Cycles counted over `milliseconds` of sleep, scaled to one second.
int64_t MeasureProcessorClock(int milliseconds);

// Forgets the cached answers and the configured DirectX version.
void ResetSystemInfo();
