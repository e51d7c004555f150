#pragma once
// Integer division that rounds toward minus infinity: grids and wrapping
// pictures need cell -1 left of 0, not a second cell 0.

#include <cstdint>

// The quotient rounded down; `divisor` must not be 0.
inline int64_t PimFloorDiv(int64_t value, int64_t divisor)
{
    const int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// The non-negative remainder for a positive `period`: -1 wraps to period - 1.
inline int64_t PimFloorMod(int64_t value, int64_t period)
{
    const int64_t r = value % period;
    return r < 0 ? r + period : r;
}
