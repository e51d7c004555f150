#pragma once
// The operating system's monotonic clock, as the engine's tick source.

#include "PIM/core/PimClock.h"

// Milliseconds since the process started (steady, never goes back).
class CxSystemClock : public CxClock
{
public:
    uint32_t GetTicks() override;
};

// Sleeps the calling thread for about `milliseconds` (0 yields).
void PimSleep(uint32_t milliseconds);
