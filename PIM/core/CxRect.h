#pragma once
// An inclusive rectangle: (0, 0, 9, 9) covers 10 x 10 pixels. It is empty when
// right < left or bottom < top. Widths are computed in 64 bits so that
// rectangles built from hostile data cannot overflow.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxSize.h"

#include <algorithm>

struct CxRect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = -1;
    int32_t bottom = -1;

    constexpr CxRect() = default;
    constexpr CxRect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}

    // The rectangle at `origin` covering `size` pixels (empty for a size <= 0).
    static constexpr CxRect FromSize(CxPoint origin, CxSize size)
    {
        return CxRect(origin.x, origin.y, static_cast<int32_t>(int64_t{origin.x} + size.width - 1),
                      static_cast<int32_t>(int64_t{origin.y} + size.height - 1));
    }

    constexpr bool operator==(const CxRect&) const = default;

    constexpr bool IsEmpty() const { return right < left || bottom < top; }
    constexpr int64_t Width() const { return IsEmpty() ? 0 : int64_t{right} - left + 1; }
    constexpr int64_t Height() const { return IsEmpty() ? 0 : int64_t{bottom} - top + 1; }
    constexpr CxPoint TopLeft() const { return {left, top}; }

    constexpr bool Contains(CxPoint p) const
    {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    constexpr bool Contains(const CxRect& r) const
    {
        return !r.IsEmpty() && r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
    constexpr bool Intersects(const CxRect& r) const
    {
        return !IsEmpty() && !r.IsEmpty() && r.left <= right && r.right >= left && r.top <= bottom &&
               r.bottom >= top;
    }
    // The common part; empty (the default rectangle) when there is none.
    constexpr CxRect Intersection(const CxRect& r) const
    {
        if (!Intersects(r))
            return CxRect();
        return CxRect(std::max(left, r.left), std::max(top, r.top), std::min(right, r.right),
                      std::min(bottom, r.bottom));
    }
    // The smallest rectangle holding both; an empty side does not count.
    constexpr CxRect Union(const CxRect& r) const
    {
        if (IsEmpty())
            return r;
        if (r.IsEmpty())
            return *this;
        return CxRect(std::min(left, r.left), std::min(top, r.top), std::max(right, r.right),
                      std::max(bottom, r.bottom));
    }
    constexpr CxRect Offset(int32_t dx, int32_t dy) const
    {
        return CxRect(left + dx, top + dy, right + dx, bottom + dy);
    }
};
