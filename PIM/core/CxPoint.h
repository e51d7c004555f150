#pragma once
// A position in pixels.

#include <cstdint>

struct CxPoint
{
    int32_t x = 0;
    int32_t y = 0;

    constexpr CxPoint() = default;
    constexpr CxPoint(int32_t px, int32_t py) : x(px), y(py) {}

    constexpr bool operator==(const CxPoint&) const = default;
    constexpr CxPoint operator+(const CxPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr CxPoint operator-(const CxPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr CxPoint& operator+=(const CxPoint& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr CxPoint& operator-=(const CxPoint& o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
};
