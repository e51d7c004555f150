#pragma once
// What the cursor and screen tests share: a fixture that leaves the process-
// wide cursor state, the clock and the 16-bit preference as it found them,
// and pixel helpers.
#include "PIM/core/PimClock.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimPixelFormat.h"

#include <gtest/gtest.h>

class CursorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ShutdownCursors();
        SetSystemCursorHook(nullptr);
        SetCursorPosition(CxPoint());
        PimSetClock(&m_clock);
    }
    void TearDown() override
    {
        ShutdownCursors();
        SetSystemCursorHook(nullptr);
        SetCursorPosition(CxPoint());
        PimSetClock(nullptr);
    }

    CxVirtualClock m_clock{5000};
};

// A 5-6-5 surface of one colour.
inline void Create565(CxDrawSurface& surface, int32_t width, int32_t height, uint16_t colour)
{
    ASSERT_EQ(surface.Create(width, height, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    ASSERT_EQ(surface.FillRect(surface.GetRect(), colour), PIM_OK);
}

// Pixels of `rect` (clipped to both) where the surfaces differ.
inline int CountDifferences(CxDrawSurface& a, CxDrawSurface& b, const CxRect& rect)
{
    const CxRect area = rect.Intersection(a.GetRect()).Intersection(b.GetRect());
    int count = 0;
    for (int32_t y = area.top; y <= area.bottom && !area.IsEmpty(); ++y)
        for (int32_t x = area.left; x <= area.right; ++x)
            count += a.GetPixel(x, y) != b.GetPixel(x, y) ? 1 : 0;
    return count;
}

// Pixels of `rect` (clipped) that have `value`.
inline int CountValue(CxDrawSurface& surface, const CxRect& rect, uint32_t value)
{
    const CxRect area = rect.Intersection(surface.GetRect());
    int count = 0;
    for (int32_t y = area.top; y <= area.bottom && !area.IsEmpty(); ++y)
        for (int32_t x = area.left; x <= area.right; ++x)
            count += surface.GetPixel(x, y) == value ? 1 : 0;
    return count;
}
