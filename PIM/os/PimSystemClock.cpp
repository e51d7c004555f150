#include "PIM/os/PimSystemClock.h"

#include <chrono>
#include <thread>

uint32_t CxSystemClock::GetTicks()
{
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

CxClock& PimSystemClock()
{
    static CxSystemClock clock;
    return clock;
}

void PimSleep(uint32_t milliseconds)
{
    if (milliseconds == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
