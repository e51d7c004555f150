#include "PIM/os/PimWallClock.h"

#include <chrono>

int64_t PimWallClockSeconds()
{
    return static_cast<int64_t>(std::time(nullptr));
}

int64_t PimWallClockNanos()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

bool PimLocalTime(int64_t seconds, std::tm& out)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    return localtime_r(&t, &out) != nullptr;
}
