#pragma once
// The calendar: the system's wall clock and local time. Game time is never
// read here (that is PimGetTicks); these serve dates shown or stored
// (screenshot names, file times, the scripts' date) and comparisons with
// the times the file system keeps.

#include "PIM/core/PimDefs.h"

#include <ctime>

// Seconds and nanoseconds since 1970 (UTC).
int64_t PimWallClockSeconds();
int64_t PimWallClockNanos();
// The local calendar time of `seconds` since 1970; false when the system
// cannot say.
bool PimLocalTime(int64_t seconds, std::tm& out);
