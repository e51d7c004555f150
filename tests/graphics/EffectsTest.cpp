// Flips, rotation, scrolling, colour and alpha effects, blur, replacement.
#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "tests/support/Recorders.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const int kDepths[] = {1, 2, 4, 8, 16, 24, 32};

uint32_t MaskFor(int depth)
{
    return depth == 32 ? 0xFFFFFFFFu : (1u << depth) - 1;
}

uint32_t PatternAt(int x, int y, int depth)
{
    return (static_cast<uint32_t>(x * 31 + y * 17 + 3) * 2654435761u) & MaskFor(depth);
}

void FillPattern(CxDrawSurface& s)
{
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x)
            s.SetPixel(x, y, PatternAt(x, y, s.GetDepth()));
}

std::vector<uint32_t> Pixels(CxDrawSurface& s)
{
    std::vector<uint32_t> all;
    for (int y = 0; y < s.GetHeight(); ++y)
        for (int x = 0; x < s.GetWidth(); ++x)
            all.push_back(s.GetPixel(x, y));
    return all;
}

bool AlwaysFail(size_t)
{
    return true;
}

} // namespace

TEST(EffectFlip, EveryDepthAndRectangles)
{
    for (int depth : kDepths) {
        CxDrawSurface s;
        s.Create(11, 5, depth);
        FillPattern(s);
        s.FlipHorizontal(nullptr);
        s.FlipVertical(nullptr);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(s.GetPixel(x, y), PatternAt(10 - x, 4 - y, depth)) << depth << " bits at " << x << "," << y;

        // Part of the surface, with rectangles running off its edges.
        FillPattern(s);
        const CxRect area(-3, 1, 4, 9); // clipped to (0, 1, 4, 4)
        s.FlipHorizontal(&area);
        s.FlipVertical(&area);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 11; ++x) {
                const bool inside = x <= 4 && y >= 1;
                ASSERT_EQ(s.GetPixel(x, y), inside ? PatternAt(4 - x, 5 - y, depth) : PatternAt(x, y, depth))
                    << depth << " bits at " << x << "," << y;
            }
    }

    ErrorRecorder errors;
    CxDrawSurface s;
    s.Create(8, 4, 8);
    FillPattern(s);
    const std::vector<uint32_t> before = Pixels(s);
    SetAllocationFailHook(&AlwaysFail);
    EXPECT_EQ(s.FlipVertical(nullptr), PIM_ERR_OUT_OF_MEMORY);
    SetAllocationFailHook(nullptr);
    ASSERT_FALSE(errors.errors.empty());
    EXPECT_EQ(errors.errors.back().message, "Error: FlipVertical - Could not allocate 8 bytes for row");
    s.ClearError();
    EXPECT_EQ(Pixels(s), before);
}

TEST(EffectRotate, QuarterTurnsAtEveryDepth)
{
    for (int depth : kDepths) {
        // 10 x 3 at one bit per pixel: the turned rows need a byte more in
        // all than the old ones had.
        CxDrawSurface s;
        s.Create(10, 3, depth);
        FillPattern(s);
        ASSERT_EQ(s.Rotate(90), PIM_OK);
        ASSERT_EQ(s.GetWidth(), 3);
        ASSERT_EQ(s.GetHeight(), 10);
        int32_t pitch = 0;
        PitchFor(3, depth, pitch);
        EXPECT_EQ(s.GetPitch(), pitch);
        EXPECT_EQ(s.GetBitsSize(), static_cast<size_t>(pitch) * 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 3; ++x) // (x, y) of the old is now (2 - y, x)
                ASSERT_EQ(s.GetPixel(x, y), PatternAt(y, 2 - x, depth)) << depth << " bits at " << x << "," << y;

        CxDrawSurface back, other;
        back.CreateCopy(s);
        other.CreateCopy(s);
        back.Rotate(-90);
        other.Rotate(270);
        EXPECT_EQ(Pixels(back), Pixels(other)) << depth;
        other.CreateCopy(s);
        other.Rotate(-450);
        EXPECT_EQ(Pixels(back), Pixels(other)) << depth;
        // Three more quarter turns come back to the start.
        s.Rotate(90);
        s.Rotate(180);
        ASSERT_EQ(s.GetWidth(), 10);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(s.GetPixel(x, y), PatternAt(x, y, depth)) << depth << " bits at " << x << "," << y;
        const std::vector<uint32_t> before = Pixels(s);
        s.Rotate(45);
        s.Rotate(360);
        EXPECT_EQ(Pixels(s), before);
    }

    // External bits stay the caller's: the turned surface gets its own.
    uint8_t buffer[6] = {1, 2, 3, 4, 5, 6};
    CxDrawSurface s;
    s.Create(3, 2, 8, -1, buffer);
    s.Rotate(90);
    EXPECT_FALSE(s.HasExternalBits());
    EXPECT_EQ(s.GetPixel(0, 0), 4u);
    EXPECT_EQ(s.GetPixel(1, 2), 3u);
    EXPECT_EQ(buffer[0], 1);
}

TEST(EffectScroll, WrapsAroundAndReducesTheAmount)
{
    for (int depth : {1, 4, 8, 24}) {
        CxDrawSurface s, t;
        s.Create(9, 4, depth);
        FillPattern(s);
        t.CreateCopy(s);
        s.ScrollHorizontal(2);
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(s.GetPixel((x + 2) % 9, 1), PatternAt(x, 1, depth)) << depth;
        s.ScrollHorizontalBack(9 * 3 + 2);
        EXPECT_EQ(Pixels(s), Pixels(t)) << depth;
        s.ScrollHorizontal(-1);
        t.ScrollHorizontal(8);
        EXPECT_EQ(Pixels(s), Pixels(t)) << depth;
    }

    CxDrawSurface s, t;
    s.Create(3, 5, 16);
    FillPattern(s);
    t.CreateCopy(s);
    s.ScrollVertical(5);
    EXPECT_EQ(Pixels(s), Pixels(t));
    s.ScrollVertical(6);
    t.ScrollVertical(1);
    EXPECT_EQ(Pixels(s), Pixels(t));
    EXPECT_EQ(s.GetPixel(2, 0), PatternAt(2, 1, 16)); // row 1 went up to row 0
    EXPECT_EQ(s.GetPixel(2, 4), PatternAt(2, 0, 16)); // and row 0 round to the bottom
    s.ScrollVerticalBack(1);
    EXPECT_EQ(s.GetPixel(2, 0), PatternAt(2, 0, 16));
    s.ScrollVertical(1, 1); // the flag makes it a no-op
    EXPECT_EQ(s.GetPixel(2, 0), PatternAt(2, 0, 16));

    CxDrawSurface empty;
    empty.Create(0, 0, 8);
    EXPECT_EQ(empty.ScrollHorizontal(3), PIM_OK);
    EXPECT_EQ(empty.ScrollVertical(3), PIM_OK);
}

TEST(EffectColour, DarkenBrightenTint)
{
    CxDrawSurface s;
    s.Create(4, 1, 16, -1, nullptr, PIM_LAYOUT_565);
    s.SetPixel(0, 0, 0xFFFF);
    s.SetPixel(1, 0, (20u << 11) | (40u << 5) | 10);
    s.Darken(128, nullptr);
    // 248 x 128 / 255 = 124.4 -> 124 -> 15 of 5 bits; green 252 -> 126 -> 31.
    EXPECT_EQ(s.GetPixel(0, 0), (15u << 11) | (31u << 5) | 15);
    EXPECT_EQ(s.GetPixel(1, 0), (10u << 11) | (20u << 5) | 5);
    s.Darken(256 + 255, nullptr); // only the low byte counts
    EXPECT_EQ(s.GetPixel(1, 0), (10u << 11) | (20u << 5) | 5);
    s.Brighten(255, nullptr);
    EXPECT_EQ(s.GetPixel(0, 0), (30u << 11) | (62u << 5) | 30);
    s.Brighten(255, nullptr);
    EXPECT_EQ(s.GetPixel(0, 0), 0xFFFFu); // clamped

    // A large area goes through the table of every word: same answers.
    CxDrawSurface big, small;
    big.Create(256, 256, 16, -1, nullptr, PIM_LAYOUT_565);
    small.Create(256, 1, 16, -1, nullptr, PIM_LAYOUT_565);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            big.SetPixel(x, y, static_cast<uint32_t>(y * 256 + x));
            if (y == 77)
                small.SetPixel(x, 0, static_cast<uint32_t>(y * 256 + x));
        }
    big.Darken(77, nullptr);
    small.Darken(77, nullptr);
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(big.GetPixel(x, 77), small.GetPixel(x, 0)) << x;

    // 32 bits: alpha untouched, rectangle clipped; 24 bits in B, G, R order.
    CxDrawSurface argb;
    argb.Create(3, 1, 32);
    argb.FillRect(argb.GetRect(), 0x80FF8040);
    const CxRect right(1, -5, 99, 99);
    argb.Darken(0, &right);
    EXPECT_EQ(argb.GetPixel(0, 0), 0x80FF8040u);
    EXPECT_EQ(argb.GetPixel(2, 0), 0x80000000u);
    CxDrawSurface rgb;
    rgb.Create(1, 1, 24);
    rgb.SetPixel(0, 0, 0x204080); // blue 0x20, green 0x40, red 0x80
    rgb.Brighten(255, nullptr);
    EXPECT_EQ(rgb.GetPixel(0, 0), 0x4080FFu);

    // Tint: each channel moves amount / 255 of the way to the colour's.
    CxDrawSurface t;
    t.Create(2, 1, 16, -1, nullptr, PIM_LAYOUT_555);
    t.SetPixel(0, 0, (10u << 10) | (20u << 5) | 30);
    t.Tint((31u << 10) | 0, 128, nullptr);
    EXPECT_EQ(t.GetPixel(0, 0), ((10u + 21 * 128 / 255) << 10) | ((20u - 20 * 128 / 255) << 5) | (30u - 30 * 128 / 255));
    t.Tint(0, 255, nullptr);
    EXPECT_EQ(t.GetPixel(1, 0), 0u);
    EXPECT_EQ(t.GetPixel(0, 0), 0u);

    // Depths without channels are left alone, without an error.
    CxDrawSurface paletted;
    paletted.Create(2, 2, 8);
    paletted.FillRect(paletted.GetRect(), 200);
    EXPECT_EQ(paletted.Darken(255, nullptr), PIM_OK);
    EXPECT_EQ(paletted.Brighten(255, nullptr), PIM_OK);
    EXPECT_EQ(paletted.Tint(0, 255, nullptr), PIM_OK);
    EXPECT_EQ(paletted.SetAlpha(0, nullptr), PIM_OK);
    EXPECT_EQ(paletted.Blur(1, nullptr), PIM_OK);
    EXPECT_EQ(paletted.CountPixelsOfValue(200), 4);
}

TEST(EffectAlpha, SetAndScale)
{
    CxDrawSurface s;
    s.Create(2, 2, 32);
    s.FillRect(s.GetRect(), 0x40123456);
    const CxRect top(0, 0, 5, 0);
    s.SetAlpha(200, &top);
    EXPECT_EQ(s.GetPixel(1, 0), 0xC8123456u);
    EXPECT_EQ(s.GetPixel(1, 1), 0x40123456u);
    s.ScaleAlpha(1.5, nullptr);
    EXPECT_EQ(s.GetPixel(0, 0), 0xFF123456u); // 300 clamped
    EXPECT_EQ(s.GetPixel(0, 1), 0x60123456u);
    s.ScaleAlpha(-2.0, nullptr);
    EXPECT_EQ(s.GetPixel(0, 1), 0x00123456u);

    // 16 bits: the field above the colour bits.
    CxDrawSurface w;
    w.Create(1, 1, 16, -1, nullptr, PIM_LAYOUT_4444);
    w.SetPixel(0, 0, 0x1ABC);
    w.SetAlpha(0xE0, nullptr);
    EXPECT_EQ(w.GetPixel(0, 0), 0xEABCu);
    w.ScaleAlpha(0.5, nullptr);
    EXPECT_EQ(w.GetPixel(0, 0), 0x7ABCu);
    w.Create(1, 1, 16, -1, nullptr, PIM_LAYOUT_565);
    w.SetPixel(0, 0, 0x1234);
    w.SetAlpha(0, nullptr);
    EXPECT_EQ(w.GetPixel(0, 0), 0x1234u); // no room for alpha
}

TEST(EffectBlur, WeightsInPlaceInsideTheMargin)
{
    CxDrawSurface s;
    s.Create(12, 12, 24);
    s.FillRect(s.GetRect(), 0xC8C8C8);
    s.Blur(2, nullptr);
    EXPECT_EQ(s.CountPixelsOfValue(0xC8C8C8), 144); // 200 x 1003 / 1000 is still 200

    s.FillRect(s.GetRect(), 0);
    s.SetPixel(6, 6, 0x0000FF); // red 255 (the third byte)
    const CxRect area(-10, -10, 20, 20);
    s.Blur(1, &area);
    // The first pixel that sees the bright one is (3, 3): weight 0 there;
    // (5, 5) sees it with weight 59 -> 255 x 59 / 1000 = 15.
    EXPECT_EQ(s.GetRed(5, 5), 15);
    EXPECT_EQ(s.GetBlue(5, 5), 0);
    // Pixels already blurred feed later ones: (6, 6) sees (5, 5) etc.
    EXPECT_LT(s.GetRed(6, 6), 255 * 159 / 1000 + 20);
    EXPECT_GT(s.GetRed(6, 6), 255 * 159 / 1000);
    // The three-pixel margin is untouched.
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(s.GetPixel(i, 2), 0u);
        EXPECT_EQ(s.GetPixel(9, i), 0u);
    }
}

TEST(EffectReplace, ReplaceAndSwap)
{
    CxDrawSurface s;
    s.Create(4, 2, 8);
    s.FillRect(CxRect(0, 0, 1, 1), 5);
    s.FillRect(CxRect(2, 0, 3, 0), 9);
    s.SwapColours(5, 9);
    EXPECT_EQ(s.CountPixelsOfValue(9), 4);
    EXPECT_EQ(s.CountPixelsOfValue(5), 2);
    s.ReplaceColour(9, 0);
    EXPECT_EQ(s.CountPixelsOfValue(0), 6);

    CxDrawSurface bits;
    bits.Create(9, 1, 1);
    bits.ReplaceColour(0, 1); // below 8 bits: unchanged
    EXPECT_EQ(bits.CountPixelsOfValue(1), 0);
}
