// Presenting with the engine cursor, on the memory screen: which rectangles
// reach the window, what the window then shows, and that the back buffer
// never keeps a cursor.
#include "PIM/backends/headless/CxMemoryScreen.h"
#include "PIM/core/CxMemory.h"
#include "PIM/display/CxCursorImage.h"
#include "tests/display/CursorTestSupport.h"

#include <vector>

namespace {

constexpr uint16_t kBackground = 0x2945;
constexpr int32_t kWidth = 160;
constexpr int32_t kHeight = 120;

std::vector<CxRect> Presented(const CxMemoryScreen& screen)
{
    return std::vector<CxRect>(screen.GetLastPresentedRects(),
                               screen.GetLastPresentedRects() + screen.GetLastPresentedCount());
}

class Screens : public CursorFixture
{
protected:
    void SetUp() override
    {
        CursorFixture::SetUp();
        ST_SCREEN_SETTINGS settings;
        settings.width = kWidth;
        settings.height = kHeight;
        settings.depth = 16;
        ASSERT_EQ(m_screen.Open(settings), PIM_OK);
        m_screen.FillRect(m_screen.GetRect(), kBackground);
        Create565(m_clean, kWidth, kHeight, kBackground);
    }
    void TearDown() override
    {
        m_screen.Close();
        CursorFixture::TearDown();
    }

    // The window shows exactly the back buffer, but for the cursor's rectangle.
    int GhostPixels(const CxRect& cursor)
    {
        CxDrawSurface& window = m_screen.GetPresented();
        int ghosts = 0;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                if (!cursor.Contains(CxPoint(x, y)) && window.GetPixel(x, y) != m_screen.GetPixel(x, y))
                    ++ghosts;
        return ghosts;
    }

    CxMemoryScreen m_screen;
    CxDrawSurface m_clean;
};

} // namespace

TEST_F(Screens, OpeningSetsTheLayoutAndAnEmptyListPresentsEverything)
{
    EXPECT_TRUE(m_screen.IsOpen());
    EXPECT_STREQ(m_screen.GetKindName(), "memory");
    EXPECT_EQ(m_screen.GetDrawSurface(), &m_screen);
    EXPECT_EQ(m_screen.GetPixelLayout(), PIM_LAYOUT_565);
    EXPECT_EQ(GetPreferredLayout16(), PIM_LAYOUT_565);
    EXPECT_EQ(m_screen.GetSettings().scale, 1);

    m_screen.SetPixel(3, 4, 0x1234);
    ASSERT_EQ(m_screen.Present(nullptr, 0), PIM_OK);
    EXPECT_EQ(Presented(m_screen), std::vector<CxRect>{m_screen.GetRect()});
    EXPECT_EQ(m_screen.GetPresented().GetPixel(3, 4), 0x1234u);
    const CxRect none[1] = {CxRect(5, 5, 9, 9)};
    ASSERT_EQ(m_screen.Present(none, 0), PIM_OK);
    EXPECT_EQ(Presented(m_screen), std::vector<CxRect>{m_screen.GetRect()});

    // Rectangles are clipped; those wholly outside go.
    const CxRect rects[] = {CxRect(-10, -10, 4, 4), CxRect(500, 0, 600, 10), CxRect(150, 110, 170, 130)};
    ASSERT_EQ(m_screen.Present(rects, 3), PIM_OK);
    EXPECT_EQ(Presented(m_screen), (std::vector<CxRect>{CxRect(0, 0, 4, 4), CxRect(150, 110, 159, 119)}));
    EXPECT_EQ(m_screen.GetPresentCount(), 3);

    m_screen.Close();
    EXPECT_EQ(m_screen.Present(nullptr, 0), PIM_ERR_BAD_ARG);
    ST_SCREEN_SETTINGS empty;
    empty.width = 0;
    EXPECT_NE(m_screen.Open(empty), PIM_OK);
}

TEST_F(Screens, RectanglesJoinTheCursorWhereTheyMeetIt)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    SetCursorPosition(CxPoint(50, 50)); // the arrow covers (50, 50)-(60, 69)
    const CxRect cursor(50, 50, 60, 69);

    // Apart: the rectangle, then the cursor.
    const CxRect apart(0, 0, 9, 9);
    ASSERT_EQ(m_screen.PresentRect(apart), PIM_OK);
    EXPECT_EQ(Presented(m_screen), (std::vector<CxRect>{apart, cursor}));

    // Overlapping: one union. The previous cursor rectangle lies inside it.
    const CxRect touching(55, 40, 70, 55);
    ASSERT_EQ(m_screen.PresentRect(touching), PIM_OK);
    EXPECT_EQ(Presented(m_screen), std::vector<CxRect>{CxRect(50, 40, 70, 69)});

    // Moved: the old place is repaired even when nothing else changed there.
    SetCursorPosition(CxPoint(100, 20));
    ASSERT_EQ(m_screen.PresentRect(apart), PIM_OK);
    EXPECT_EQ(Presented(m_screen), (std::vector<CxRect>{apart, CxRect(100, 20, 110, 39), cursor}));

    // A rectangle holding the old place needs no copy of its own.
    SetCursorPosition(CxPoint(130, 90));
    const CxRect big(90, 10, 120, 50);
    ASSERT_EQ(m_screen.PresentRect(big), PIM_OK);
    EXPECT_EQ(Presented(m_screen), (std::vector<CxRect>{big, CxRect(130, 90, 140, 109)}));

    // More rectangles than a present holds end as one bounding rectangle.
    std::vector<CxRect> many;
    for (int i = 0; i < PIM_MAX_PRESENT_RECTS + 20; ++i)
        many.push_back(CxRect::FromSize(CxPoint((i % 40) * 4, (i / 40) * 4), CxSize(2, 2)));
    ASSERT_EQ(m_screen.Present(many.data(), static_cast<int>(many.size())), PIM_OK);
    ASSERT_GE(m_screen.GetLastPresentedCount(), 1);
    EXPECT_LE(m_screen.GetLastPresentedCount(), PIM_MAX_PRESENT_RECTS);
    for (const CxRect& r : many) {
        bool covered = false;
        for (const CxRect& p : Presented(m_screen))
            covered = covered || p.Contains(r);
        EXPECT_TRUE(covered) << r.left << "," << r.top;
    }
}

TEST_F(Screens, MovingTheCursorAloneRepaintsBothPlacesWithoutGhosts)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    SetCursor(PIM_CURSOR_WAIT); // 13 x 24, hot spot (6, 10)
    SetCursorPosition(CxPoint(40, 40));
    ASSERT_EQ(m_screen.Present(nullptr, 0), PIM_OK);
    const CxRect first(34, 30, 46, 53);
    EXPECT_LT(CountDifferences(m_screen.GetPresented(), m_clean, first), 0 + 13 * 24) << "the cursor shows";
    EXPECT_GT(CountDifferences(m_screen.GetPresented(), m_clean, first), 0);
    EXPECT_EQ(CountDifferences(m_screen, m_clean, m_screen.GetRect()), 0) << "the back buffer kept the cursor";

    EXPECT_FALSE(IsCursorDirty());
    SetCursorPosition(CxPoint(100, 80));
    EXPECT_TRUE(IsCursorDirty());
    ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    const CxRect second(94, 70, 106, 93);
    EXPECT_EQ(Presented(m_screen), (std::vector<CxRect>{second, first}));
    EXPECT_EQ(GhostPixels(second), 0);
    EXPECT_GT(CountDifferences(m_screen.GetPresented(), m_clean, second), 0);
    EXPECT_EQ(CountDifferences(m_screen, m_clean, m_screen.GetRect()), 0);

    // Hiding presents the old place once, then there is nothing to present.
    HideCursor();
    ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    EXPECT_EQ(Presented(m_screen), std::vector<CxRect>{second});
    EXPECT_EQ(GhostPixels(CxRect()), 0);
    const int presents = m_screen.GetPresentCount();
    ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    EXPECT_EQ(m_screen.GetPresentCount(), presents);
    ShowCursor();

    // At the corner only the part on the screen is saved, drawn and shown.
    SetCursorPosition(CxPoint(kWidth - 2, kHeight - 3));
    ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    const CxRect corner(kWidth - 8, kHeight - 13, kWidth - 1, kHeight - 1);
    EXPECT_EQ(Presented(m_screen), (std::vector<CxRect>{corner}));
    EXPECT_EQ(GhostPixels(corner), 0);
    EXPECT_EQ(CountDifferences(m_screen, m_clean, m_screen.GetRect()), 0);
}

TEST_F(Screens, TheDisplayTreesChangesAndTheCursorShowTogether)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    SetCursorPosition(CxPoint(20, 20));
    ASSERT_EQ(m_screen.Present(nullptr, 0), PIM_OK);
    // Something is drawn under the cursor: the window shows it around the
    // cursor, and the cursor on top of it.
    const CxRect box(15, 15, 40, 40);
    m_screen.FillRect(box, 0x07E0);
    m_clean.FillRect(box, 0x07E0);
    ASSERT_EQ(m_screen.PresentRect(box), PIM_OK);
    EXPECT_EQ(m_screen.GetPresented().GetPixel(15, 15), 0x07E0u);
    EXPECT_EQ(m_screen.GetPresented().GetPixel(20, 20), 0u) << "the arrow's tip";
    EXPECT_EQ(m_screen.GetPresented().GetPixel(30, 21), 0x07E0u) << "through the arrow's key";
    EXPECT_EQ(CountDifferences(m_screen, m_clean, m_screen.GetRect()), 0);
}

TEST_F(Screens, AnAnimatedCursorShowsItsNextFrameWhenDue)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    auto* strip = new CxDrawSurface;
    ASSERT_EQ(strip->Create(8, 4, 16, -1, nullptr, PIM_LAYOUT_565), PIM_OK);
    strip->FillRect(CxRect(0, 0, 3, 3), 0xF800);
    strip->FillRect(CxRect(4, 0, 7, 3), 0x001F);
    ASSERT_EQ(RegisterCursor(strip, 50, 0, 0, 2, 4.0f), PIM_OK); // 250 ms a frame
    SetCursor(50);
    SetCursorPosition(CxPoint(10, 10));
    ASSERT_EQ(m_screen.Present(nullptr, 0), PIM_OK);
    EXPECT_EQ(m_screen.GetPresented().GetPixel(10, 10), 0xF800u);

    m_clock.Advance(249);
    EXPECT_FALSE(IsCursorDirty());
    m_clock.Advance(1);
    ASSERT_TRUE(IsCursorDirty());
    ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    EXPECT_EQ(Presented(m_screen), std::vector<CxRect>{CxRect(10, 10, 13, 13)});
    EXPECT_EQ(m_screen.GetPresented().GetPixel(10, 10), 0x001Fu);
    m_clock.Advance(250);
    ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    EXPECT_EQ(m_screen.GetPresented().GetPixel(13, 13), 0xF800u);
}

TEST_F(Screens, PresentingAllocatesNothing)
{
    ASSERT_EQ(InitCursors(true, 16, PIM_LAYOUT_565), PIM_OK);
    SetCursorPosition(CxPoint(60, 60));
    ASSERT_EQ(m_screen.Present(nullptr, 0), PIM_OK);

    ResetMemoryStats();
    const CxRect rects[] = {CxRect(0, 0, 20, 20), CxRect(55, 55, 80, 80), CxRect(100, 0, 159, 119)};
    for (int i = 0; i < 20; ++i) {
        SetCursorPosition(CxPoint(i * 7, i * 5));
        SetCursor(i % PIM_BUILTIN_CURSOR_COUNT);
        ASSERT_EQ(m_screen.Present(rects, 3), PIM_OK);
        ASSERT_EQ(m_screen.PresentCursor(), PIM_OK);
    }
    EXPECT_EQ(GetMemoryStats().allocations, 0u);
}
