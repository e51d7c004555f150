#pragma once
// The one tick source of the engine: a 32-bit millisecond count that wraps.
// Real runs read the operating system's monotonic clock (os/PimSystemClock);
// headless runs and tests install a virtual clock that moves only when told,
// so they are exact.

#include "PIM/core/PimDefs.h"

class CxClock
{
public:
    virtual ~CxClock() = default;
    virtual uint32_t GetTicks() = 0;
};

// Time that passes only when told. Starts at `start`.
class CxVirtualClock : public CxClock
{
public:
    explicit CxVirtualClock(uint32_t start = 0) : m_now(start) {}
    uint32_t GetTicks() override { return m_now; }
    void Advance(uint32_t milliseconds) { m_now += milliseconds; }
    void Set(uint32_t now) { m_now = now; }

private:
    uint32_t m_now;
};

// The ticks of the installed clock (the system clock unless one is set).
uint32_t PimGetTicks();
// Installs a clock (not owned); null goes back to the system clock.
void PimSetClock(CxClock* clock);
// The installed clock: the system clock unless one is set.
CxClock* PimGetClock();
// The operating system's clock, the one in use while none is installed.
// Defined with the other operating-system services (os/PimSystemClock.cpp).
CxClock& PimSystemClock();
