// The tile map: grid geometry, scrolling inside the parent, drawing cell by
// cell (partial tiles, colour keys, grid lines inside the dirty area only)
// and pixel hit tests.
#include "PIM/core/CxMemory.h"
#include "PIM/display/CxTileMap.h"
#include "tests/display/DisplayTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace DisplayTest;

namespace {

std::unique_ptr<CxDrawSurface> Tile(int32_t width, int32_t height, int depth, uint32_t colour)
{
    return std::unique_ptr<CxDrawSurface>(MakeSurface(width, height, depth, colour));
}

} // namespace

TEST(TileMap, GridSizeCellsAndRefusedGrids)
{
    CxTileMap map;
    EXPECT_EQ(map.TileAt(CxPoint(0, 0)), nullptr); // empty until SetGrid
    map.SetPosition(40, 40);
    ASSERT_EQ(map.SetGrid(10, 5, 32, 32), PIM_OK);
    EXPECT_EQ(map.GetSize(), CxSize(320, 160));
    EXPECT_EQ(map.GetPosition(), CxPoint(0, 0));

    auto tile = Tile(32, 32, 16, 7);
    map.SetTile(2, 1, tile.get());
    map.SetTile(0, 0, tile.get());
    map.GetTiles()[9 + 10 * 4] = tile.get(); // written directly, row by row
    int32_t cx = 0, cy = 0;
    EXPECT_TRUE(map.CellAt(CxPoint(70, 40), &cx, &cy));
    EXPECT_EQ(CxPoint(cx, cy), CxPoint(2, 1));
    EXPECT_EQ(map.TileAt(CxPoint(70, 40)), tile.get());
    EXPECT_EQ(map.TileAt(CxPoint(319, 159)), tile.get());
    EXPECT_EQ(map.GetTile(9, 4), tile.get());
    EXPECT_EQ(map.TileAt(CxPoint(33, 0)), nullptr);

    // Points left of or above the map are not in cell 0: division floors.
    EXPECT_FALSE(map.CellAt(CxPoint(-1, -31), &cx, &cy));
    EXPECT_EQ(CxPoint(cx, cy), CxPoint(-1, -1));
    EXPECT_EQ(map.TileAt(CxPoint(-5, 3)), nullptr);
    EXPECT_EQ(map.TileAt(CxPoint(3, -5)), nullptr);
    EXPECT_EQ(map.TileAt(CxPoint(320, 0)), nullptr);
    EXPECT_EQ(map.TileAt(CxPoint(0, 160)), nullptr);
    EXPECT_TRUE(map.CellAt(CxPoint(0, 0), nullptr, nullptr));
    map.SetTile(10, 0, tile.get()); // off the grid: ignored
    map.SetTile(-1, 0, tile.get());

    // Refused grids leave no cells rather than a table of the wrong size.
    EXPECT_EQ(map.SetGrid(10, 5, 0, 32), PIM_ERR_BAD_ARG);
    EXPECT_EQ(map.GetCellsWide(), 0);
    EXPECT_EQ(map.GetSize(), CxSize(0, 0));
    EXPECT_EQ(map.TileAt(CxPoint(0, 0)), nullptr);
    EXPECT_EQ(map.SetGrid(10, 5, 32, -4), PIM_ERR_BAD_ARG);
    EXPECT_EQ(map.SetGrid(-1, 5, 32, 32), PIM_ERR_BAD_ARG);
    const int32_t big = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(map.SetGrid(big / 16 + 1, 1, 16, 16), PIM_ERR_BAD_ARG); // wider than 32 bits of pixels
    EXPECT_EQ(map.SetGrid(big, big, 1, 1), PIM_ERR_BAD_ARG);          // more cells than memory addresses
    EXPECT_EQ(map.GetTiles(), nullptr);

    // A table that cannot be had: the size stays, every cell reads empty.
    SetAllocationFailHook([](size_t) { return true; });
    const int code = map.SetGrid(4, 4, 8, 8);
    SetAllocationFailHook(nullptr);
    EXPECT_EQ(code, PIM_ERR_OUT_OF_MEMORY);
    EXPECT_EQ(map.GetSize(), CxSize(32, 32));
    EXPECT_FALSE(map.CellAt(CxPoint(1, 1), nullptr, nullptr));
    map.SetTile(0, 0, tile.get());
    EXPECT_EQ(map.TileAt(CxPoint(1, 1)), nullptr);
    EXPECT_FALSE(map.IsOpaqueAt(1, 1));
}

TEST(TileMap, SetViewClampsToTheParent)
{
    CxDisplayObject parent;
    parent.Create(0, 0, 300, 100, nullptr);
    CxTileMap map;
    map.Create(0, 0, 0, 0, &parent);
    ASSERT_EQ(map.SetGrid(10, 5, 32, 32), PIM_OK); // 320 x 160

    map.SetView(15, 0);
    EXPECT_EQ(map.GetPosition(), CxPoint(-15, 0));
    EXPECT_EQ(map.GetView(), CxPoint(15, 0));
    // Beyond 320 - 300 = 20 the map stops one short of its last column.
    map.SetView(25, 0);
    EXPECT_EQ(map.GetView(), CxPoint(19, 0));
    map.SetView(20, 60);
    EXPECT_EQ(map.GetView(), CxPoint(20, 60));
    map.SetView(1000, 61);
    EXPECT_EQ(map.GetView(), CxPoint(19, 59));
    map.SetView(-7, -1);
    EXPECT_EQ(map.GetView(), CxPoint(0, 0));

    // A map no larger than its parent stays put at 0 in that direction.
    parent.SetSize(CxSize(320, 400));
    map.SetView(5, 5);
    EXPECT_EQ(map.GetPosition(), CxPoint(0, 0));
    parent.SetSize(CxSize(640, 100));
    map.SetView(0, 0);
    EXPECT_EQ(map.GetPosition(), CxPoint(0, 0));
    map.SetView(3, 70);
    EXPECT_EQ(map.GetPosition(), CxPoint(0, -59));

    // Without a parent the window is empty: the whole map can be scrolled.
    CxTileMap loose;
    loose.SetGrid(2, 2, 10, 10);
    loose.SetView(50, 50);
    EXPECT_EQ(loose.GetView(), CxPoint(19, 19));
}

TEST(TileMap, ScrollingMarksOldAndNewAreasOnScreen)
{
    ASSERT_EQ(InitDisplay(CxSize(64, 48), 1), PIM_OK);
    CxTileMap map;
    map.Create(0, 0, 0, 0, GetRootObject());
    map.SetGrid(8, 8, 16, 16);
    map.Show();
    DrainDirty();
    map.SetView(16, 0);
    EXPECT_TRUE(DirtyCovers(CxRect(0, 0, 63, 47)));
    DrainDirty();
    map.SetView(16, 0); // no change: nothing to redraw
    EXPECT_EQ(GetDirtyRectCount(), 0);
    ShutdownDisplay();
}

TEST(TileMap, DrawsEachCellsPartWithKeysPartialTilesAndGrid)
{
    // 4 x 3 cells of 16 x 16 over a backdrop of colour 0x1111.
    auto full = Tile(16, 16, 16, 0x0A0A);
    auto small = Tile(8, 4, 16, 0x0B0B); // smaller than its cell
    auto keyed = Tile(16, 16, 16, 0x0C0C);
    keyed->FillRect(CxRect(0, 0, 7, 15), 0xF81F);
    keyed->SetTransparentColour(0xF81F);
    CxTileMap map;
    ASSERT_EQ(map.SetGrid(4, 3, 16, 16), PIM_OK);
    map.SetTile(0, 0, full.get());
    map.SetTile(1, 0, small.get());
    map.SetTile(2, 0, keyed.get());
    map.SetTile(3, 2, full.get());

    CxDrawSurface screen;
    screen.Create(64, 48, 16);
    screen.FillRect(screen.GetRect(), 0x1111);
    map.Draw(screen, CxRect(0, 0, 63, 47));
    EXPECT_EQ(screen.GetPixel(0, 0), 0x0A0Au);
    EXPECT_EQ(screen.GetPixel(15, 15), 0x0A0Au);
    EXPECT_EQ(screen.GetPixel(16, 0), 0x0B0Bu);
    EXPECT_EQ(screen.GetPixel(23, 3), 0x0B0Bu);
    EXPECT_EQ(screen.GetPixel(24, 3), 0x1111u); // beyond the small tile
    EXPECT_EQ(screen.GetPixel(16, 4), 0x1111u);
    EXPECT_EQ(screen.GetPixel(32, 5), 0x1111u); // keyed half
    EXPECT_EQ(screen.GetPixel(40, 5), 0x0C0Cu);
    EXPECT_EQ(screen.GetPixel(10, 20), 0x1111u); // empty cell
    EXPECT_EQ(screen.GetPixel(63, 47), 0x0A0Au);

    // Only the clip is touched; a clip inside a cell draws the tile's
    // matching part. The map stands at (-10, -20) as if scrolled.
    screen.FillRect(screen.GetRect(), 0x1111);
    map.SetPosition(-10, -20);
    map.Draw(screen, CxRect(50, 30, 57, 40)); // map coordinates
    EXPECT_EQ(screen.GetPixel(40, 12), 0x0A0Au); // map (50, 32): cell (3, 2)
    EXPECT_EQ(screen.GetPixel(47, 20), 0x0A0Au);
    EXPECT_EQ(screen.GetPixel(40, 11), 0x1111u); // the empty cell above it
    EXPECT_EQ(screen.GetPixel(39, 12), 0x1111u);
    EXPECT_EQ(screen.GetPixel(48, 12), 0x1111u);
    EXPECT_EQ(screen.GetPixel(40, 21), 0x1111u);

    // Grid lines lie on cell edges inside the clip only: a clip starting
    // at x = 20 draws the line at 32, not the one at 16 left of it.
    map.SetPosition(0, 0);
    map.SetShowGrid(true);
    map.SetGridColour(255, 0, 0);
    const uint32_t red = screen.MakeColour(255, 0, 0);
    screen.FillRect(screen.GetRect(), 0x1111);
    map.Draw(screen, CxRect(20, 0, 63, 47));
    EXPECT_EQ(screen.GetPixel(16, 5), 0x1111u);
    EXPECT_EQ(screen.GetPixel(32, 5), red);
    EXPECT_EQ(screen.GetPixel(48, 47), red);
    EXPECT_EQ(screen.GetPixel(20, 16), red); // horizontal lines from the clip's left...
    EXPECT_EQ(screen.GetPixel(63, 32), red); // ...to its right, inclusive
    EXPECT_EQ(screen.GetPixel(19, 16), 0x1111u);
    EXPECT_EQ(screen.GetPixel(40, 0), red);
    EXPECT_EQ(screen.GetPixel(40, 5), 0x0C0Cu);
    EXPECT_TRUE(map.GetShowGrid());
    EXPECT_EQ(map.GetGridColour()[0], 255);
    EXPECT_EQ(map.GetGridColour()[1], 0);
}

TEST(TileMap, PixelHitTestsReadOnlyInsideTiles)
{
    auto keyed = Tile(4, 4, 16, 0x1234);
    keyed->SetPixel(1, 1, 0xF81F);
    keyed->SetTransparentColour(0xF81F);
    auto glass = Tile(4, 4, 32, 0x80FFFFFF); // alpha above zero: opaque
    glass->SetPixel(2, 2, 0x00FFFFFF);       // alpha zero: see-through
    auto sliver = Tile(2, 1, 16, 0x4321);    // from a data file smaller than the grid
    CxTileMap map;
    map.SetGrid(3, 2, 4, 4);
    map.SetTile(0, 0, keyed.get());
    map.SetTile(1, 0, glass.get());
    map.SetTile(2, 0, sliver.get());

    EXPECT_TRUE(map.IsOpaqueAt(0, 0));
    EXPECT_FALSE(map.IsOpaqueAt(1, 1));
    EXPECT_TRUE(map.IsOpaqueAt(5, 3));
    EXPECT_FALSE(map.IsOpaqueAt(6, 2));
    EXPECT_TRUE(map.IsOpaqueAt(9, 0));
    EXPECT_FALSE(map.IsOpaqueAt(10, 0)); // beyond the sliver's pixels
    EXPECT_FALSE(map.IsOpaqueAt(8, 3));
    EXPECT_FALSE(map.IsOpaqueAt(0, 4)); // empty cell
    EXPECT_FALSE(map.IsOpaqueAt(-1, 0));
    EXPECT_FALSE(map.IsOpaqueAt(0, -3));

    // Through the display tree: an empty cell lets the hit fall through.
    ASSERT_EQ(InitDisplay(CxSize(64, 48), 1), PIM_OK);
    CxSprite behind;
    MakeSprite(behind, GetRootObject(), 0, 0, 64, 48, 1);
    behind.Show();
    map.Create(10, 10, 12, 8, GetRootObject());
    map.SetPixelHitTest(true);
    map.Show();
    EXPECT_EQ(FindObjectAt(CxPoint(10, 10)), &map);
    EXPECT_EQ(FindObjectAt(CxPoint(11, 11)), &behind); // keyed pixel
    EXPECT_EQ(FindObjectAt(CxPoint(10, 15)), &behind); // empty cell
    EXPECT_TRUE(map.ContainsPoint(CxPoint(10, 15), false));
    EXPECT_FALSE(map.ContainsPoint(CxPoint(9, 15), false));
    map.SetPixelHitTest(false);
    EXPECT_EQ(FindObjectAt(CxPoint(10, 15)), &map);
    map.Detach();
    ShutdownDisplay();
}
