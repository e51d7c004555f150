// The wrapping panorama: scroll positions, the strip's picture copies read
// back pixel by pixel, objects on the picture (drawn, found and marked
// dirty at the copy in view), freezing, and a golden picture of a scrolled
// tile map beside a wrapped panorama.
#include "PIM/core/CxMemory.h"
#include "PIM/display/CxPanorama.h"
#include "PIM/display/CxTileMap.h"
#include "PIM/image/PimImageFilters.h"
#include "tests/display/DisplayTestSupport.h"
#include "tests/support/Golden.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace DisplayTest;

namespace {

// A 16-bit picture whose pixel value says where it came from: x + 1 (or
// y + 1 when `byRow`), so that 0 on the screen means "nothing drawn".
CxDrawSurface* Ruler(int32_t width, int32_t height, bool byRow = false)
{
    auto* surface = new CxDrawSurface;
    surface->Create(width, height, 16);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            surface->SetPixel(x, y, static_cast<uint32_t>((byRow ? y : x) + 1));
    return surface;
}

constexpr uint32_t kChild = 0xABCD;

// A root of 1000 x 8 holding a panorama window of 800 x 4 at (100, 2) onto a
// 1000 x 4 ruler.
class Panorama : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(InitDisplay(CxSize(1000, 8), 1), PIM_OK);
        ASSERT_EQ(m_panorama.SetSurface(Ruler(1000, 4)), PIM_OK);
        m_panorama.Create(100, 2, 800, 4, GetRootObject());
        m_panorama.Show();
        m_screen.Create(1000, 8, 16);
    }
    void TearDown() override
    {
        m_panorama.Detach();
        ShutdownDisplay();
    }
    // The window's pixel `x` after a full redraw.
    uint32_t Shown(int32_t x, int32_t y = 0)
    {
        return m_screen.GetPixel(100 + x, 2 + y);
    }
    void Redraw()
    {
        m_screen.FillRect(m_screen.GetRect(), 0);
        RedrawAll(m_screen);
    }
    // Every window pixel of row 0 shows picture x (scroll + x) mod width.
    void ExpectWrappedView(int32_t scroll, int32_t width)
    {
        Redraw();
        int wrong = 0;
        for (int32_t x = 0; x < 800 && wrong < 3; ++x) {
            const auto expected = static_cast<uint32_t>((scroll + x) % width + 1);
            if (Shown(x) != expected) {
                ++wrong;
                ADD_FAILURE() << "window x " << x << " shows " << Shown(x) << ", not " << expected;
            }
        }
    }

    CxPanorama m_panorama;
    CxDrawSurface m_screen;
};

} // namespace

TEST_F(Panorama, ScrollingWrapsOneWayAndClampsTheOther)
{
    EXPECT_EQ(m_panorama.GetStrip().GetSize(), CxSize(1800, 4));
    EXPECT_EQ(m_panorama.GetPictureWidth(), 1000);
    m_panorama.ScrollTo(-1, 0);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(999, 0));
    EXPECT_EQ(m_panorama.GetStrip().GetPosition(), CxPoint(-999, 0));
    m_panorama.ScrollTo(1500, 0);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(500, 0));
    m_panorama.ScrollLeft(600);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(900, 0));
    m_panorama.ScrollRight(250);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(150, 0));
    m_panorama.ScrollToPoint(CxPoint(-2001, 0));
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(999, 0));
    m_panorama.ScrollRight(std::numeric_limits<int32_t>::max());
    m_panorama.ScrollLeft(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(m_panorama.GetScrollPosition().x, (999 + 2 * int64_t{2147483647} + 1) % 1000);
    // As tall as the window: no vertical scrolling at all.
    m_panorama.ScrollTo(0, 3);
    m_panorama.ScrollDown(1);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(0, 0));

    // A taller picture scrolls between 0 and its height - the window's.
    ASSERT_EQ(m_panorama.SetSurface(Ruler(1000, 10)), PIM_OK);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(0, 0));
    m_panorama.ScrollTo(0, 7);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(0, 6));
    m_panorama.ScrollUp(4);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(0, 2));
    m_panorama.ScrollTo(0, -3);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(0, 0));
    // A picture shorter than the window stays at the top, not pushed down.
    ASSERT_EQ(m_panorama.SetSurface(Ruler(1000, 2)), PIM_OK);
    m_panorama.ScrollTo(3, 1);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(3, 0));
    // Growing the window keeps the strip one window longer than the picture.
    m_panorama.Resize(CxSize(900, 4));
    EXPECT_EQ(m_panorama.GetStrip().GetSize(), CxSize(1900, 2));

    // Vertical: y wraps, x is clamped.
    m_panorama.SetOrientation(EPanoramaOrientation::Vertical);
    ASSERT_EQ(m_panorama.SetSurface(Ruler(1000, 30)), PIM_OK);
    EXPECT_EQ(m_panorama.GetStrip().GetSize(), CxSize(1000, 34));
    m_panorama.ScrollTo(150, -1);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(100, 29));
    m_panorama.ScrollDown(2);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(100, 1));

    // Without a picture nothing scrolls, draws, hits or freezes.
    m_panorama.Unload();
    EXPECT_EQ(m_panorama.GetSurface(), nullptr);
    m_panorama.ScrollTo(-1, -1);
    m_panorama.ScrollRight(5);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(0, 0));
    EXPECT_FALSE(m_panorama.IsOpaqueAt(0, 0));
    EXPECT_EQ(m_panorama.Freeze(), PIM_OK);
    EXPECT_FALSE(m_panorama.IsFrozen());
    Redraw();
    EXPECT_EQ(Shown(0), 0u);
    EXPECT_EQ(m_panorama.SetSurface(nullptr), PIM_ERR_UNKNOWN);
}

TEST_F(Panorama, TheWindowShowsThePictureWrappedAndRepeated)
{
    for (int32_t scroll : {0, 200, 201, 900, 999}) {
        m_panorama.ScrollTo(scroll, 0);
        ExpectWrappedView(scroll, 1000);
    }
    EXPECT_EQ(m_screen.GetPixel(99, 2), 0u); // nothing outside the window
    EXPECT_EQ(m_screen.GetPixel(900, 2), 0u);

    // Redrawing a dirty rectangle across the seam only.
    m_panorama.ScrollTo(900, 0);
    m_screen.FillRect(m_screen.GetRect(), 0);
    DrainDirty();
    Invalidate(CxRect(195, 0, 204, 7));
    RedrawDirty(m_screen);
    EXPECT_EQ(Shown(94), 0u);
    EXPECT_EQ(Shown(95), 996u);
    EXPECT_EQ(Shown(99), 1000u);
    EXPECT_EQ(Shown(100), 1u);
    EXPECT_EQ(Shown(104), 5u);
    EXPECT_EQ(Shown(105), 0u);

    // A picture narrower than the window repeats as often as needed.
    ASSERT_EQ(m_panorama.SetSurface(Ruler(300, 4)), PIM_OK);
    for (int32_t scroll : {0, 250, 299}) {
        m_panorama.ScrollTo(scroll, 0);
        ExpectWrappedView(scroll, 300);
    }

    // Vertical, with a picture shorter than the window: rows repeat.
    m_panorama.SetOrientation(EPanoramaOrientation::Vertical);
    ASSERT_EQ(m_panorama.SetSurface(Ruler(800, 3, true)), PIM_OK);
    m_panorama.ScrollTo(0, 2);
    Redraw();
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(Shown(10, y), static_cast<uint32_t>((2 + y) % 3 + 1)) << "row " << y;
}

TEST_F(Panorama, ObjectsOnThePictureWrapWithIt)
{
    CxSprite child;
    MakeSprite(child, nullptr, 10, 0, 20, 4, kChild);
    ASSERT_EQ(m_panorama.AddChild(&child), PIM_OK);
    child.Show();
    EXPECT_EQ(child.GetParent(), &m_panorama.GetStrip());

    // View at 900: the child at picture x 10 shows at window x 110.
    m_panorama.ScrollTo(900, 0);
    Redraw();
    EXPECT_EQ(Shown(109), 10u);
    EXPECT_EQ(Shown(110), kChild);
    EXPECT_EQ(Shown(129), kChild);
    EXPECT_EQ(Shown(130), 31u);
    EXPECT_EQ(child.LocalToScreen(CxPoint(0, 0)), CxPoint(210, 2));
    EXPECT_EQ(child.GetScreenExtent(), CxRect(210, 2, 229, 5));
    EXPECT_EQ(FindObjectAt(CxPoint(215, 3)), &child);
    EXPECT_EQ(child.ScreenToLocal(CxPoint(215, 3)), CxPoint(5, 1));
    // The bare picture is the panorama's, not its inner strip's.
    EXPECT_EQ(FindObjectAt(CxPoint(150, 3)), &m_panorama);
    EXPECT_EQ(FindObjectAt(CxPoint(50, 3)), GetRootObject());

    // Moving it marks its old and new places in the window.
    DrainDirty();
    child.MoveTo(12, 0);
    EXPECT_TRUE(DirtyCovers(CxRect(210, 2, 231, 5)));
    for (const CxRect& r : DirtyRects())
        EXPECT_TRUE(CxRect(100, 2, 899, 5).Contains(r)) << r.left << ".." << r.right;
    child.MoveTo(10, 0);

    // View at 500 (no seam in view): the picture's start shows again at
    // window 500, and the child with it.
    m_panorama.ScrollTo(500, 0);
    Redraw();
    EXPECT_EQ(Shown(510), kChild);
    EXPECT_EQ(FindObjectAt(CxPoint(100 + 515, 3)), &child);

    // Across the seam: x 990..1009 shows its head at the picture's end and
    // its tail at the picture's start.
    child.MoveTo(990, 0);
    m_panorama.ScrollTo(900, 0);
    Redraw();
    EXPECT_EQ(Shown(89), 990u);
    EXPECT_EQ(Shown(90), kChild);
    EXPECT_EQ(Shown(109), kChild);
    EXPECT_EQ(Shown(110), 11u);
    m_panorama.ScrollTo(0, 0);
    Redraw();
    EXPECT_EQ(Shown(0), kChild);
    EXPECT_EQ(Shown(9), kChild);
    EXPECT_EQ(Shown(10), 11u);
    EXPECT_EQ(FindObjectAt(CxPoint(105, 3)), &child);

    // A picture narrower than the window: the object shows on every copy,
    // is found on each but not between them, and a move marks them all.
    child.MoveTo(10, 0);
    ASSERT_EQ(m_panorama.SetSurface(Ruler(300, 4)), PIM_OK);
    Redraw();
    for (int32_t at : {10, 310, 610}) {
        EXPECT_EQ(Shown(at), kChild) << at;
        EXPECT_EQ(Shown(at + 19), kChild) << at;
        EXPECT_EQ(Shown(at + 20), static_cast<uint32_t>((at + 20) % 300 + 1)) << at;
    }
    EXPECT_EQ(FindObjectAt(CxPoint(100 + 315, 3)), &child);
    EXPECT_EQ(FindObjectAt(CxPoint(100 + 200, 3)), &m_panorama);
    DrainDirty();
    child.MoveTo(11, 0);
    EXPECT_TRUE(DirtyCovers(CxRect(110, 2, 730, 5)));

    // Taken off through the panorama; a panorama destroyed first lets its
    // objects go.
    m_panorama.RemoveChild(&child);
    EXPECT_EQ(child.GetParent(), nullptr);
    {
        CxPanorama other;
        other.SetSurface(Ruler(50, 4));
        other.Create(0, 0, 40, 4, GetRootObject());
        other.AddChild(&child);
        other.Show();
    }
    EXPECT_EQ(child.GetParent(), nullptr);
}

TEST_F(Panorama, PixelHitTestsReadTheWrappedPicture)
{
    CxDrawSurface* picture = Ruler(1000, 4);
    picture->FillRect(CxRect(50, 0, 59, 3), 0xF81F);
    picture->SetTransparentColour(0xF81F);
    ASSERT_EQ(m_panorama.SetSurface(picture), PIM_OK);
    // Handing the same picture again keeps it alive.
    ASSERT_EQ(m_panorama.SetSurface(picture), PIM_OK);
    CxSprite behind;
    MakeSprite(behind, nullptr, 0, 0, 1000, 8, 1);
    behind.SetZ(PIM_Z_BACK);
    GetRootObject()->AddChild(&behind);
    behind.Show();
    m_panorama.SetPixelHitTest(true);
    m_panorama.ScrollTo(900, 0);
    EXPECT_FALSE(m_panorama.IsOpaqueAt(150, 0));
    EXPECT_FALSE(m_panorama.IsOpaqueAt(159, 3));
    EXPECT_TRUE(m_panorama.IsOpaqueAt(160, 0));
    EXPECT_TRUE(m_panorama.IsOpaqueAt(99, 0));
    EXPECT_EQ(FindObjectAt(CxPoint(255, 3)), &behind);
    EXPECT_EQ(FindObjectAt(CxPoint(265, 3)), &m_panorama);
    m_panorama.ScrollTo(0, 0);
    EXPECT_TRUE(m_panorama.IsOpaqueAt(150, 0));
    EXPECT_FALSE(m_panorama.IsOpaqueAt(55, 0));
    behind.Detach();
}

TEST_F(Panorama, FreezeHoldsTheViewWhileTheStripMoves)
{
    CxSprite child;
    MakeSprite(child, nullptr, 120, 0, 10, 4, kChild);
    m_panorama.AddChild(&child);
    child.Show();
    m_panorama.ScrollTo(100, 0);
    ASSERT_EQ(m_panorama.Freeze(), PIM_OK);
    ASSERT_TRUE(m_panorama.IsFrozen());
    ASSERT_NE(m_panorama.CxSprite::GetSurface(), nullptr);
    EXPECT_EQ(m_panorama.CxSprite::GetSurface()->GetSize(), CxSize(800, 4));
    m_panorama.ScrollTo(500, 0);
    EXPECT_EQ(m_panorama.GetScrollPosition(), CxPoint(500, 0));
    Redraw();
    EXPECT_EQ(Shown(0), 101u);
    EXPECT_EQ(Shown(20), kChild);
    EXPECT_EQ(Shown(799), 900u);
    // Frozen twice: the newer view replaces the older.
    ASSERT_EQ(m_panorama.Freeze(), PIM_OK);
    m_panorama.ScrollTo(0, 0);
    Redraw();
    EXPECT_EQ(Shown(0), 501u);

    m_panorama.Unfreeze();
    EXPECT_FALSE(m_panorama.IsFrozen());
    Redraw();
    EXPECT_EQ(Shown(119), 120u);
    EXPECT_EQ(Shown(120), kChild);
    m_panorama.RemoveChild(&child);

    // No memory for the frozen view: error 1, and the panorama stays live.
    SetAllocationFailHook([](size_t) { return true; });
    const int code = m_panorama.Freeze();
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(code, PIM_ERR_OUT_OF_MEMORY);
    EXPECT_FALSE(m_panorama.IsFrozen());
    m_panorama.ScrollTo(300, 0);
    ExpectWrappedView(300, 1000);
}

// A scrolled tile map with grid lines beside a wrapped panorama whose
// objects straddle the picture's seam, through the display tree.
TEST(PanoramaGolden, TileMapBesideAWrappedPanorama)
{
    RegisterDefaultImageFilters();
    ASSERT_EQ(InitDisplay(CxSize(160, 96), 1), PIM_OK);
    CxDisplayObject* root = GetRootObject();

    // Left: a 128 x 128 map of 16-pixel tiles in an 80 x 96 window.
    CxSprite window;
    MakeSprite(window, root, 0, 0, 80, 96, 0x2104, 1);
    window.Show();
    auto tile565 = [](int32_t size, uint32_t colour) {
        auto tile = std::make_unique<CxDrawSurface>();
        tile->Create(size, size, 16, -1, nullptr, PIM_LAYOUT_565);
        tile->FillRect(tile->GetRect(), colour);
        return tile;
    };
    auto grass = tile565(16, 0x2C44);
    auto sand = tile565(16, 0xC5AD);
    auto rock = tile565(16, 0xF81F); // a grey boulder, keyed around
    rock->FillCircle(8, 8, 6, 0x8410);
    rock->SetTransparentColour(0xF81F);
    auto pebble = tile565(6, 0xFFFF); // smaller than its cell
    CxTileMap map;
    map.Create(0, 0, 0, 0, &window);
    ASSERT_EQ(map.SetGrid(8, 8, 16, 16), PIM_OK);
    for (int32_t cy = 0; cy < 8; ++cy)
        for (int32_t cx = 0; cx < 8; ++cx) {
            CxDrawSurface* tiles[] = {grass.get(), sand.get(), rock.get(), nullptr, pebble.get()};
            map.SetTile(cx, cy, tiles[(cx * 3 + cy) % 5]);
        }
    map.SetShowGrid(true);
    map.SetGridColour(255, 255, 0);
    map.Show();
    map.SetView(13, 7);

    // Right: an 80 x 96 panorama onto a 120 x 96 picture of bands, scrolled
    // to 100 so that the seam is 20 pixels in.
    auto* picture = new CxDrawSurface;
    picture->Create(120, 96, 16, -1, nullptr, PIM_LAYOUT_565);
    for (int32_t x = 0; x < 120; ++x)
        picture->FillRect(CxRect(x, 0, x, 95), static_cast<uint32_t>((x / 8) % 2 ? 0x001F : 0x0010) |
                                                    static_cast<uint32_t>(x / 4) << 11);
    picture->FillRect(CxRect(0, 0, 3, 95), 0xFFFF); // the picture's first columns
    CxPanorama panorama;
    ASSERT_EQ(panorama.SetSurface(picture), PIM_OK);
    panorama.Create(80, 0, 80, 96, root);
    panorama.Show();
    auto* ball = new CxDrawSurface;
    ball->Create(20, 20, 16, -1, nullptr, PIM_LAYOUT_565);
    ball->FillRect(ball->GetRect(), 0xF81F);
    ball->FillCircle(10, 10, 9, 0xFFE0);
    ball->SetTransparentColour(0xF81F);
    CxSprite across, wrapped;
    across.SetSurface(ball, 1);
    across.Create(110, 30, 20, 20, nullptr);
    wrapped.CopyFrom(across);
    wrapped.Create(40, 60, 20, 20, nullptr);
    panorama.AddChild(&across);
    panorama.AddChild(&wrapped);
    across.Show();
    wrapped.Show();
    panorama.ScrollTo(100, 0);

    CxDrawSurface screen;
    screen.Create(160, 96, 16, -1, nullptr, PIM_LAYOUT_565);
    RedrawAll(screen);
    ExpectScreenGolden(screen, "tilemap-panorama.png");
    ShutdownDisplay();
}
