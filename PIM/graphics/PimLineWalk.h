#pragma once
// The walk DrawLine draws along, for callers that put something other than
// one pixel at each point (a brush, a stamp): the same points in the same
// order, so their lines match the engine's own.

#include <algorithm>
#include <cstdint>

// The line walk of DrawLine: two error accumulators against the major
// length. Iteration k (0 .. major + 1) stands at the point reached after k
// additions; k = 0 and k = 1 are both the start point, so the walk starts at
// k = 1 and every point comes once. Iterations whose major coordinate lies
// outside the surface are skipped arithmetically: a line from far outside
// costs only the pixels it can touch.
template <class Plot>
void PimWalkLine(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int32_t width, int32_t height, Plot plot)
{
    const int64_t dx = x2 > x1 ? x2 - x1 : x1 - x2;
    const int64_t dy = y2 > y1 ? y2 - y1 : y1 - y2;
    const int64_t sx = x2 > x1 ? 1 : (x2 < x1 ? -1 : 0);
    const int64_t sy = y2 > y1 ? 1 : (y2 < y1 ? -1 : 0);
    const int64_t major = std::max(dx, dy);
    if (major == 0) {
        if (x1 >= 0 && y1 >= 0 && x1 < width && y1 < height)
            plot(x1, y1);
        return;
    }
    // On the major axis iteration k stands at start + step x (k - 1).
    const bool xMajor = dx >= dy;
    const int64_t m1 = xMajor ? x1 : y1;
    const int64_t sm = xMajor ? sx : sy;
    const int64_t limit = xMajor ? width : height;
    int64_t first, last;
    if (sm > 0) {
        first = 1 - m1;
        last = limit - m1;
    } else {
        first = m1 - limit + 2;
        last = m1 + 1;
    }
    first = std::max<int64_t>(first, 1);
    last = std::min<int64_t>(last, major + 1);
    if (first > last)
        return;

    // After k additions of d the walk has stepped s times, s the smallest
    // with k d - s major <= major, and the accumulator holds k d - s major.
    // k d stays below 2^64 for 32-bit coordinates; the accumulator, in
    // 0 .. major, comes out right in unsigned arithmetic.
    const auto um = static_cast<uint64_t>(major);
    auto start = [um, first](int64_t d, int64_t& acc) -> int64_t {
        const uint64_t total = static_cast<uint64_t>(first) * static_cast<uint64_t>(d);
        const uint64_t ceiling = (total + um - 1) / um;
        const uint64_t taken = ceiling > 0 ? ceiling - 1 : 0;
        acc = static_cast<int64_t>(total - taken * um);
        return static_cast<int64_t>(taken);
    };
    int64_t accX = 0, accY = 0;
    int64_t x = x1 + sx * start(dx, accX);
    int64_t y = y1 + sy * start(dy, accY);
    for (int64_t k = first; k <= last; ++k) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            plot(x, y);
        accX += dx;
        accY += dy;
        if (accX > major) {
            accX -= major;
            x += sx;
        }
        if (accY > major) {
            accY -= major;
            y += sy;
        }
    }
}
