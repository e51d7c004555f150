#include "tools/painter/PaintKit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

uint32_t Argb(uint8_t alpha, uint8_t red, uint8_t green, uint8_t blue)
{
    return (uint32_t{alpha} << 24) | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

uint32_t Colour(const CxDrawSurface& s, uint8_t red, uint8_t green, uint8_t blue)
{
    if (s.GetDepth() == 24)
        return (uint32_t{blue} << 16) | (uint32_t{green} << 8) | red;
    const uint32_t value = s.MakeColour(red, green, blue);
    return s.GetDepth() == 32 ? (value | kOpaque) : value;
}

void FillRect(CxDrawSurface& s, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour)
{
    s.FillRect(CxRect(left, top, right, bottom), colour);
}

void FillEllipse(CxDrawSurface& s, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour)
{
    if (rx <= 0 || ry <= 0)
        return;
    for (int32_t dy = -ry; dy <= ry; ++dy) {
        const double t = 1.0 - double(dy) * dy / (double(ry) * ry);
        const auto half = static_cast<int32_t>(std::lround(rx * std::sqrt(std::max(0.0, t))));
        FillRect(s, cx - half, cy + dy, cx + half, cy + dy, colour);
    }
}

void ThickLine(CxDrawSurface& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int radius, uint32_t colour)
{
    const int32_t steps = std::max({std::abs(x2 - x1), std::abs(y2 - y1), 1});
    for (int32_t i = 0; i <= steps; ++i)
        s.FillCircle(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps, radius, colour);
}

void FillTriangle(CxDrawSurface& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                  uint32_t colour)
{
    const int32_t top = std::min({y1, y2, y3});
    const int32_t bottom = std::max({y1, y2, y3});
    const int32_t xs[3] = {x1, x2, x3};
    const int32_t ys[3] = {y1, y2, y3};
    for (int32_t y = top; y <= bottom; ++y) {
        double left = 1e9, right = -1e9;
        for (int e = 0; e < 3; ++e) {
            const int a = e, b = (e + 1) % 3;
            if ((ys[a] <= y && ys[b] >= y) || (ys[b] <= y && ys[a] >= y)) {
                const double x = ys[a] == ys[b] ? xs[a] : xs[a] + double(xs[b] - xs[a]) * (y - ys[a]) / (ys[b] - ys[a]);
                left = std::min(left, ys[a] == ys[b] ? double(std::min(xs[a], xs[b])) : x);
                right = std::max(right, ys[a] == ys[b] ? double(std::max(xs[a], xs[b])) : x);
            }
        }
        if (left <= right)
            FillRect(s, static_cast<int32_t>(std::lround(left)), y, static_cast<int32_t>(std::lround(right)), y, colour);
    }
}

void FillPolygon(CxDrawSurface& s, const CxPoint* corners, int count, uint32_t colour)
{
    if (count < 3)
        return;
    int32_t top = corners[0].y, bottom = corners[0].y;
    for (int i = 1; i < count; ++i) {
        top = std::min(top, corners[i].y);
        bottom = std::max(bottom, corners[i].y);
    }
    std::vector<double> crossings;
    for (int32_t y = top; y <= bottom; ++y) {
        // Sampled through the middle of the row, so that no corner lies on it.
        const double middle = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const CxPoint& a = corners[i];
            const CxPoint& b = corners[(i + 1) % count];
            if ((a.y <= middle) == (b.y <= middle))
                continue;
            crossings.push_back(a.x + (middle - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const auto left = static_cast<int32_t>(std::lround(crossings[i]));
            const auto right = static_cast<int32_t>(std::lround(crossings[i + 1])) - 1;
            if (left <= right)
                FillRect(s, left, y, right, y, colour);
        }
    }
}

void StartDigitStrip(CxDrawSurface& s, int32_t cellWidth, int32_t height)
{
    s.Create(DigitCell(10, cellWidth), height, 24);
    const uint32_t key = Colour(s, 255, 0, 255);
    const uint32_t marker = Colour(s, 0, 255, 0);
    FillRect(s, 0, 0, s.GetWidth() - 1, height - 1, key);
    for (int32_t x = 0; x < '0'; ++x)
        s.SetPixel(x, 0, marker);
    for (int digit = 0; digit < 10; ++digit)
        s.SetPixel(DigitCell(digit, cellWidth), 0, marker);
    s.SetTransparentColour(key);
}

void StartKeyed(CxDrawSurface& s, int32_t width, int32_t height, int depth)
{
    s.Create(width, height, depth);
    const uint32_t key = depth == 32 ? 0u : Colour(s, 255, 0, 255);
    FillRect(s, 0, 0, width - 1, height - 1, key);
    if (depth != 32)
        s.SetTransparentColour(key);
}

void SoftenEdges(CxDrawSurface& s)
{
    const int32_t w = s.GetWidth(), h = s.GetHeight();
    auto clear = [&](int32_t x, int32_t y) {
        return x < 0 || y < 0 || x >= w || y >= h || (s.GetPixel(x, y) >> 24) == 0;
    };
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = s.GetPixel(x, y);
            if ((p >> 24) == 0xFF && (clear(x - 1, y) || clear(x + 1, y) || clear(x, y - 1) || clear(x, y + 1)))
                s.SetPixel(x, y, (p & 0x00FFFFFFu) | 0x80000000u);
        }
}
