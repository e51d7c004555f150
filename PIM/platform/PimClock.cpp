#include "PIM/platform/PimClock.h"

#include <chrono>

namespace {

CxSystemClock g_systemClock;
CxClock* g_clock = &g_systemClock;

} // namespace

uint32_t CxSystemClock::GetTicks()
{
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

uint32_t PimGetTicks()
{
    return g_clock->GetTicks();
}

void PimSetClock(CxClock* clock)
{
    g_clock = clock ? clock : &g_systemClock;
}

CxClock* PimGetClock()
{
    return g_clock;
}
