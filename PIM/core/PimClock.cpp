#include "PIM/core/PimClock.h"

namespace {

CxClock* g_clock = nullptr;

} // namespace

uint32_t PimGetTicks()
{
    return PimGetClock()->GetTicks();
}

void PimSetClock(CxClock* clock)
{
    g_clock = clock;
}

CxClock* PimGetClock()
{
    return g_clock ? g_clock : &PimSystemClock();
}
