#pragma once
// A width and a height in pixels.

#include <cstdint>

struct CxSize
{
    int32_t width = 0;
    int32_t height = 0;

    constexpr CxSize() = default;
    constexpr CxSize(int32_t w, int32_t h) : width(w), height(h) {}

    constexpr bool operator==(const CxSize&) const = default;
    constexpr bool IsEmpty() const { return width <= 0 || height <= 0; }
};
