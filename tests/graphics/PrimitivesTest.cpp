// Lines, rectangles, circles and fills.
#include "PIM/core/CxRandom.h"
#include "PIM/graphics/CxDrawSurface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Points = std::set<std::pair<int, int>>;

Points SetPixels(CxDrawSurface& s)
{
    Points points;
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x)
            if (s.GetPixel(x, y) != 0)
                points.insert({x, y});
    return points;
}

// The line walk written out literally, major + 2 iterations, plotted
// point by point: the reference the clipped walk must match.
Points ReferenceLine(int x1, int y1, int x2, int y2, int width, int height)
{
    Points points;
    auto inside = [&](long long x, long long y) { return x >= 0 && y >= 0 && x < width && y < height; };
    if (y1 == y2) {
        if (y1 < 0 || y1 >= height)
            return points;
        // The larger end is left out; beyond the right edge that end is
        // off the surface anyway, so the span runs to the last column.
        const int low = std::min(x1, x2), high = std::max(x1, x2);
        for (int x = std::max(low, 0); x < std::min(high, width); ++x)
            points.insert({x, y1});
        return points;
    }
    long long dx = std::llabs(static_cast<long long>(x2) - x1), dy = std::llabs(static_cast<long long>(y2) - y1);
    int sx = x2 > x1 ? 1 : (x2 < x1 ? -1 : 0), sy = y2 > y1 ? 1 : (y2 < y1 ? -1 : 0);
    long long major = std::max(dx, dy), ax = 0, ay = 0, x = x1, y = y1;
    for (long long i = 0; i < major + 2; ++i) {
        if (inside(x, y))
            points.insert({static_cast<int>(x), static_cast<int>(y)});
        ax += dx;
        ay += dy;
        if (ax > major) {
            ax -= major;
            x += sx;
        }
        if (ay > major) {
            ay -= major;
            y += sy;
        }
    }
    return points;
}

std::string Row(CxDrawSurface& s, int y)
{
    std::string text;
    for (int x = 0; x < s.GetWidth(); ++x)
        text += static_cast<char>('0' + s.GetPixel(x, y));
    return text;
}

} // namespace

TEST(PrimitiveLine, EndPointRules)
{
    CxDrawSurface s;
    s.Create(8, 4, 8);
    s.DrawLine(0, 0, 3, 1, 1);
    EXPECT_EQ(SetPixels(s), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));

    s.FillRect(s.GetRect(), 0);
    s.DrawLine(5, 2, -3, 2, 1); // the far (right) end is left out
    EXPECT_EQ(Row(s, 2), "11111000");
    s.DrawLine(6, 3, 6, 3, 1); // one point, horizontal: nothing
    EXPECT_EQ(Row(s, 3), "00000000");
    // Past the right edge the last column is drawn (its left-out end is off
    // the surface); wholly past it, nothing is.
    s.DrawLine(4, 1, 30, 1, 3);
    EXPECT_EQ(Row(s, 1), "00003333");
    s.DrawLine(9, 3, 30, 3, 3);
    EXPECT_EQ(Row(s, 3), "00000000");
    s.FillRect(s.GetRect(), 0);
    s.FillCircle(7, 1, 3, 4); // a filled circle crossing the edge leaves no bare column
    EXPECT_EQ(Row(s, 1), "00004444");
    s.DrawLine(CxPoint(7, 0), CxPoint(7, 3), 2); // vertical: both ends
    EXPECT_EQ(s.GetPixel(7, 0), 2u);
    EXPECT_EQ(s.GetPixel(7, 3), 2u);

    s.FillRect(s.GetRect(), 0);
    s.DrawRect(CxRect(1, 0, 5, 3), 1);
    EXPECT_EQ(Row(s, 0), "01111100");
    EXPECT_EQ(Row(s, 1), "01000100");
    EXPECT_EQ(Row(s, 3), "01111100");
}

TEST(PrimitiveLine, ClippedWalkMatchesTheReference)
{
    ResetRandom();
    for (int i = 0; i < 3000; ++i) {
        CxDrawSurface s;
        s.Create(23, 17, 8);
        int c[4];
        for (int& v : c)
            v = static_cast<int>(RandomRange(0, 80)) - 30;
        s.DrawLine(c[0], c[1], c[2], c[3], 9);
        ASSERT_EQ(SetPixels(s), ReferenceLine(c[0], c[1], c[2], c[3], 23, 17))
            << c[0] << "," << c[1] << " -> " << c[2] << "," << c[3];
    }

    // Coordinates from far away cost only the pixels they can touch, and
    // land where the full walk would.
    CxDrawSurface s;
    s.Create(64, 64, 8);
    const auto start = std::chrono::steady_clock::now();
    s.DrawLine(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 1);
    EXPECT_EQ(s.CountPixelsOfValue(1), 64);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(s.GetPixel(i, i), 1u) << i;
    s.DrawLine(-2000000000, 10, 2000000000, 20, 2);
    s.DrawLine(INT32_MAX, 5, INT32_MIN, 5, 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(s.GetPixel(0, 15), 2u);
    EXPECT_EQ(Row(s, 5), std::string(64, '3'));
}

TEST(PrimitiveLine, SubBytePixels)
{
    CxDrawSurface s;
    s.Create(20, 3, 1);
    s.DrawLine(3, 0, 18, 0, 1); // partial bytes at both ends, whole bytes between
    EXPECT_EQ(Row(s, 0), "00011111111111111100");
    uint8_t* bits = s.LockBits();
    EXPECT_EQ(bits[0], 0x1F);
    EXPECT_EQ(bits[1], 0xFF);
    EXPECT_EQ(bits[2], 0xC0);
    s.UnlockBits();
    s.DrawLine(7, 0, 12, 0, 0);
    EXPECT_EQ(Row(s, 0), "00011110000011111100");
    s.DrawLine(0, 2, 2, 1, 1);
    EXPECT_EQ(s.GetPixel(0, 2), 1u);
    EXPECT_EQ(s.GetPixel(2, 1), 1u);

    CxDrawSurface nibbles;
    nibbles.Create(7, 2, 4);
    nibbles.DrawLine(1, 1, 6, 1, 0x1A); // the value is cut to four bits
    EXPECT_EQ(Row(nibbles, 1), std::string("0") + std::string(5, static_cast<char>('0' + 10)) + "0");
    EXPECT_EQ(Row(nibbles, 0), "0000000");
}

TEST(PrimitiveFill, EveryDepthClipped)
{
    for (int depth : {1, 2, 4, 8, 16, 24, 32}) {
        CxDrawSurface s;
        s.Create(19, 6, depth);
        const uint32_t value = depth == 32 ? 0x89ABCDEFu : (0x89ABCDEFu & ((1u << depth) - 1));
        s.FillRect(CxRect(3, -4, 14, 2), value);
        s.FillRect(CxRect(30, 0, 40, 5), value); // wholly outside
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 19; ++x)
                ASSERT_EQ(s.GetPixel(x, y), x >= 3 && x <= 14 && y <= 2 ? value : 0u)
                    << depth << " bits at " << x << "," << y;
    }
}

TEST(PrimitiveBlend, MixesEachPointOnce)
{
    CxDrawSurface s;
    s.Create(6, 3, 32);
    s.FillRect(s.GetRect(), 0x80000000);
    s.BlendLine(0, 1, 5, 1, 0x00C86420, 0.5f);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(s.GetPixel(x, 1), 0x80643210u) << x; // the destination keeps its alpha
    EXPECT_EQ(s.GetPixel(0, 0), 0x80000000u);

    s.BlendLine(0, 2, 2, 2, 0x00FFFFFF, 7.0f); // clamped to 1
    EXPECT_EQ(s.GetPixel(2, 2), 0x80FFFFFFu);
    s.BlendLine(0, 0, 5, 0, 0x00FFFFFF, -1.0f);
    EXPECT_EQ(s.GetPixel(3, 0), 0x80000000u);

    CxDrawSurface wide;
    wide.Create(4, 4, 16, -1, nullptr, PIM_LAYOUT_565);
    wide.BlendLine(0, 0, 3, 3, 0xF800, 0.25f);
    EXPECT_EQ(wide.GetRed(2, 2), 56); // 62 narrowed to five bits
    EXPECT_EQ(wide.GetRed(3, 2), 0);
}

TEST(PrimitiveCircle, OutlineFillAndClipping)
{
    CxDrawSurface s;
    s.Create(11, 11, 8);
    s.DrawCircle(CxPoint(5, 5), 3, 1);
    const Points ring = SetPixels(s);
    for (auto p : {std::pair{2, 5}, {8, 5}, {5, 2}, {5, 8}})
        EXPECT_TRUE(ring.count(p)) << p.first << "," << p.second;
    EXPECT_FALSE(ring.count({5, 5}));
    for (auto [x, y] : ring) // symmetric about both axes
        EXPECT_TRUE(ring.count({10 - x, y}) && ring.count({x, 10 - y}));

    s.FillRect(s.GetRect(), 0);
    s.FillCircle(5, 5, 3, 1);
    EXPECT_EQ(Row(s, 5), "00111111000"); // spans leave out their right end
    EXPECT_EQ(s.GetPixel(5, 2), 1u);

    // Half outside, and radii far beyond the surface: clipped, no stray writes.
    CxDrawSurface small;
    small.Create(8, 8, 8);
    small.DrawCircle(0, 0, 5, 1);
    EXPECT_EQ(small.GetPixel(5, 0), 1u);
    EXPECT_EQ(small.GetPixel(0, 5), 1u);
    small.FillRect(small.GetRect(), 0);
    small.DrawCircle(INT32_MAX, INT32_MIN, 65535, 1);
    small.DrawCircle(4, 4, 60000, 1);
    small.FillCircle(INT32_MIN, 0, 65535, 1);
    EXPECT_EQ(small.CountPixelsOfValue(0), 64);
    small.FillCircle(4, 4, 65535 + 65536 + 2, 3); // taken as a radius of 1
    EXPECT_EQ(small.CountPixelsOfValue(3), 2);
}

TEST(PrimitiveFlood, FillsTheConnectedRegionOnly)
{
    // A 1-bit wall splits the surface; the fill stays on its side.
    CxDrawSurface s;
    s.Create(13, 5, 1);
    s.DrawLine(6, 0, 6, 4, 1);
    s.FloodFill(1, 1, 1);
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(Row(s, y), "1111111000000");

    CxDrawSurface n;
    n.Create(5, 3, 4);
    n.FillRect(n.GetRect(), 0xF);
    n.SetPixel(2, 1, 3);
    n.FloodFill(0, 0, 0x1F); // 0x1F fits as 0xF: already that value, nothing to do
    EXPECT_EQ(n.CountPixelsOfValue(0xF), 14);
    n.FloodFill(0, 0, 0x12);
    EXPECT_EQ(n.CountPixelsOfValue(2), 14);
    EXPECT_EQ(n.GetPixel(2, 1), 3u);
    n.FloodFill(-1, 0, 5);
    n.FloodFill(0, 3, 5);
    EXPECT_EQ(n.CountPixelsOfValue(5), 0);

    // A large open area: the queue grows as needed.
    CxDrawSurface big;
    big.Create(400, 300, 16);
    big.FillRect(CxRect(0, 150, 399, 150), 7);
    EXPECT_EQ(big.FloodFill(399, 299, 0x1234), PIM_OK);
    EXPECT_EQ(big.CountPixelsOfValue(0x1234), 400 * 149);
    EXPECT_EQ(big.GetPixel(0, 0), 0u);
}
