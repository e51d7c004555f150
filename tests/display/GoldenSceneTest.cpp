// Small composed scenes drawn through the display tree into a 5-6-5 back
// buffer and compared, pixel for pixel, with PNG files under tests/golden.
#include "tests/support/Golden.h"

#include "PIM/backends/headless/CxMemoryScreen.h"
#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxDisplayObject.h"
#include "PIM/display/CxSprite.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/image/PimImageFilters.h"
#include "PIM/text/CxFont.h"
#include "PIM/text/CxFreeTypeFont.h"
#include "PIM/text/PimText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int32_t kWidth = 96;
constexpr int32_t kHeight = 64;

CxDrawSurface* Checkers(int32_t width, int32_t height, int depth, uint32_t a, uint32_t b, int cell)
{
    auto* s = new CxDrawSurface;
    s->Create(width, height, depth, -1, nullptr, depth == 16 ? PIM_LAYOUT_565 : PIM_LAYOUT_DEFAULT);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            s->SetPixel(x, y, ((x / cell + y / cell) % 2) ? a : b);
    return s;
}

class GoldenScene : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterDefaultImageFilters();
        ST_SCREEN_SETTINGS settings;
        settings.width = kWidth;
        settings.height = kHeight;
        settings.depth = 16;
        ASSERT_EQ(m_screen.Open(settings), PIM_OK);
        ASSERT_EQ(InitDisplay(CxSize(kWidth, kHeight), 1), PIM_OK);
    }
    void TearDown() override
    {
        ShutdownCursors();
        ShutdownDisplay();
        m_screen.Close();
    }
    void Draw()
    {
        CxRect rects[PIM_MAX_DIRTY_RECTS];
        const int count = GetDirtyRects(rects, PIM_MAX_DIRTY_RECTS);
        RedrawDirty(m_screen);
        m_screen.Present(rects, count);
    }
    CxMemoryScreen m_screen;
};

} // namespace

TEST_F(GoldenScene, KeyedAlphaStretchedAndClippedSprites)
{
    CxDisplayObject* root = GetRootObject();
    // A background of blue checks, behind everything.
    CxSprite background;
    background.SetSurface(Checkers(kWidth, kHeight, 16, 0x001F, 0x0010, 8), 1);
    background.SetZ(-1);
    background.Create(0, 0, kWidth, kHeight, root);
    background.Show();
    // A keyed sprite: a yellow ring on magenta, two frames, showing frame 1.
    auto* ring = new CxDrawSurface;
    ring->Create(40, 20, 16, -1, nullptr, PIM_LAYOUT_565);
    ring->FillRect(ring->GetRect(), 0xF81F);
    ring->FillCircle(10, 10, 8, 0xFFE0);
    ring->FillCircle(30, 10, 8, 0x07E0);
    ring->FillCircle(30, 10, 4, 0xF81F);
    CxSprite keyed;
    keyed.SetSurface(ring, 2);
    keyed.SetTransparentColour(0xF81F);
    keyed.SetFrame(1);
    keyed.Create(4, 4, 20, 20, root);
    keyed.Show();
    // A 32-bit soft square blended over it.
    auto* glass = new CxDrawSurface;
    glass->Create(24, 24, 32);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 24; ++x)
            glass->SetPixel(x, y, (static_cast<uint32_t>(x * 10) << 24) | 0xFF4040);
    CxSprite blended;
    blended.SetSurface(glass, 1);
    blended.SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
    blended.SetZ(5);
    blended.Create(14, 10, 24, 24, root);
    blended.Show();
    // A stretched sprite: 8 x 8 checks drawn at 24 x 16.
    CxSprite stretched;
    stretched.SetSurface(Checkers(8, 8, 16, 0xFFFF, 0x0000, 2), 1);
    stretched.ModifyFlags(PIM_DO_STRETCH, 0);
    stretched.Create(50, 4, 24, 16, root);
    stretched.Show();
    // A clipping parent whose child hangs out of it: only the inside shows.
    CxSprite frame;
    frame.SetSurface(Checkers(30, 24, 16, 0x7BEF, 0x39E7, 4), 1);
    frame.Create(56, 34, 30, 24, root);
    frame.Show();
    CxSprite child;
    child.SetSurface(Checkers(20, 20, 16, 0xF800, 0xFBE0, 5), 1);
    child.Create(18, 12, 20, 20, &frame);
    child.Show();
    Draw();
    ExpectScreenGolden(m_screen, "scene-sprites.png");

    // The same tree after changes, through dirty rectangles only, equals
    // its golden picture too: nothing stale is left behind.
    keyed.MoveTo(30, 36);
    blended.Hide();
    child.MoveTo(-6, -4);
    stretched.SetZ(0);
    Draw();
    ExpectScreenGolden(m_screen, "scene-sprites-moved.png");
}

TEST_F(GoldenScene, TheEngineCursorIsPresentedNotLeftBehind)
{
    InitCursors(true, 16, PIM_LAYOUT_565);
    CxDisplayObject* root = GetRootObject();
    CxSprite background;
    background.SetSurface(Checkers(kWidth, kHeight, 16, 0x07E0, 0x03E0, 16), 1);
    background.Create(0, 0, kWidth, kHeight, root);
    background.Show();
    SetCursorPosition(CxPoint(40, 20));
    Draw();
    ExpectScreenGolden(m_screen.GetPresented(), "cursor-presented.png");
    // The back buffer holds the scene alone.
    ExpectScreenGolden(m_screen, "cursor-back-buffer.png");
}

// Text as the game draws it: TrueType grey and hard-edged, the built-in font
// plain, doubled and with a shadow, and a selection.
TEST(GoldenText, TrueTypeBitmapShadowAndSelection)
{
    const char* face = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    if (!std::filesystem::exists(face))
        GTEST_SKIP() << face << " is missing (scripts/setup installs fonts-dejavu-core)";
    RegisterDefaultImageFilters();
    ASSERT_EQ(CreateDefaultFont(), PIM_OK);
    CxFreeTypeFont grey;
    CxFreeTypeFont mono;
    ASSERT_EQ(grey.Load((std::string("<DEFAULT>") + face).c_str()), PIM_OK);
    ASSERT_EQ(mono.Load((std::string("<DEFAULT>") + face).c_str()), PIM_OK);
    mono.SetMonochrome(true);

    CxDrawSurface page;
    ASSERT_EQ(page.Create(200, 132, 24), PIM_OK);
    page.FillRect(page.GetRect(), 0xF0F0F0); // light grey (the same in either byte order)
    const uint32_t ink = 0x203050;
    DrawText(page, CxRect(4, 2, 195, 23), ink, "Hello, farm!", 0, 18, &grey, PIM_NO_KEY, PIM_NO_COLOUR, nullptr);
    DrawText(page, CxRect(4, 26, 195, 47), ink, "Hello, farm!", 0, 18, &mono, PIM_NO_KEY, PIM_NO_COLOUR, nullptr);
    DrawText(page, CxRect(4, 52, 195, 65), 0x000000, "Built-in 8x12", PIM_TEXT_SHADOW, 0, nullptr, PIM_NO_KEY,
             0xC08040, nullptr);
    DrawText(page, CxRect(4, 68, 195, 93), 0x006000, "x2 Big", 0, 24, nullptr, PIM_NO_KEY, PIM_NO_COLOUR, nullptr);
    ST_TEXT_SELECTION selection;
    selection.start = 2;
    selection.end = 5;
    selection.textColour = 0xFFFFFF;
    selection.backgroundColour = 0x3060C0;
    DrawText(page, CxRect(4, 98, 195, 129), ink, "Selected text wraps here", PIM_TEXT_WRAP, 14, &grey, PIM_NO_KEY,
             PIM_NO_COLOUR, &selection);
    ExpectGolden(page, "text.png");
    DeleteDefaultFont();
}
