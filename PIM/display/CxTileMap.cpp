// The tile map: a table of tile pointers drawn cell by cell, so that a
// redraw of a small dirty rectangle touches only the few cells under it.

#include "PIM/display/CxTileMap.h"

#include "PIM/core/PimIntMath.h"

#include "PIM/core/CxMemory.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/CxRenderTarget.h"
#include "PIM/graphics/PimPixelFormat.h"

#include <limits>

namespace {

// Division rounding towards minus infinity: the cell left of the map's
// first column is -1, not 0.
// The view coordinate of one axis: kept in 0 .. map - window - 1, the last
// pixel never reached (the game's levels were laid out for that); a map no
// larger than its window does not move at all.
int32_t ClampView(int64_t view, int64_t mapSize, int64_t windowSize)
{
    if (mapSize <= windowSize || view <= 0)
        return 0;
    if (view > mapSize - windowSize)
        view = mapSize - windowSize - 1;
    return static_cast<int32_t>(view);
}

} // namespace

CxTileMap::~CxTileMap()
{
    ForgetSelf();
    FreeTable();
}

void CxTileMap::FreeTable()
{
    Free(m_tiles);
    m_tiles = nullptr;
}

// --- the grid --------------------------------------------------------------------------------

int CxTileMap::SetGrid(int32_t cellsWide, int32_t cellsHigh, int32_t tileWidth, int32_t tileHeight)
{
    FreeTable();
    m_cellsWide = m_cellsHigh = 0;
    m_tileWidth = m_tileHeight = 0;
    constexpr int64_t kMaxPixels = std::numeric_limits<int32_t>::max();
    // The pixel size must fit the display tree's 32-bit rectangles; the cell
    // count then fits any table size this process can address.
    if (tileWidth <= 0 || tileHeight <= 0 || cellsWide < 0 || cellsHigh < 0 ||
        int64_t{cellsWide} * tileWidth > kMaxPixels || int64_t{cellsHigh} * tileHeight > kMaxPixels) {
        SetRect(CxRect());
        return SetError(PIM_ERR_BAD_ARG, "Tile map '%s': no grid of %d x %d cells of %d x %d pixels",
                        m_name.GetText(), cellsWide, cellsHigh, tileWidth, tileHeight);
    }
    const uint64_t cells = static_cast<uint64_t>(cellsWide) * static_cast<uint64_t>(cellsHigh);
    if (cells > std::numeric_limits<size_t>::max() / sizeof(CxDrawSurface*)) {
        SetRect(CxRect());
        return SetError(PIM_ERR_BAD_ARG, "Tile map '%s': %d x %d cells is too many", m_name.GetText(), cellsWide,
                        cellsHigh);
    }

    m_tileWidth = tileWidth;
    m_tileHeight = tileHeight;
    SetRect(CxRect::FromSize(CxPoint(), CxSize(cellsWide * tileWidth, cellsHigh * tileHeight)));
    if (cells == 0)
        return PIM_OK;
    m_tiles = static_cast<CxDrawSurface**>(
        AllocateQuietly(static_cast<size_t>(cells) * sizeof(CxDrawSurface*), __FILE__, __LINE__, true));
    if (!m_tiles)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Tile map '%s': could not allocate %d x %d cells", m_name.GetText(),
                        cellsWide, cellsHigh);
    m_cellsWide = cellsWide;
    m_cellsHigh = cellsHigh;
    return PIM_OK;
}

CxDrawSurface* CxTileMap::GetTile(int32_t cellX, int32_t cellY) const
{
    if (!m_tiles || cellX < 0 || cellY < 0 || cellX >= m_cellsWide || cellY >= m_cellsHigh)
        return nullptr;
    return m_tiles[static_cast<size_t>(cellX) + static_cast<size_t>(m_cellsWide) * static_cast<size_t>(cellY)];
}

void CxTileMap::SetTile(int32_t cellX, int32_t cellY, CxDrawSurface* tile)
{
    if (!m_tiles || cellX < 0 || cellY < 0 || cellX >= m_cellsWide || cellY >= m_cellsHigh)
        return;
    m_tiles[static_cast<size_t>(cellX) + static_cast<size_t>(m_cellsWide) * static_cast<size_t>(cellY)] = tile;
    Invalidate();
}

bool CxTileMap::CellAt(CxPoint point, int32_t* cellX, int32_t* cellY) const
{
    int64_t cx = 0, cy = 0;
    if (m_tileWidth > 0 && m_tileHeight > 0) {
        cx = PimFloorDiv(point.x, m_tileWidth);
        cy = PimFloorDiv(point.y, m_tileHeight);
    }
    // Floored quotients of 32-bit values by positive divisors fit 32 bits.
    if (cellX)
        *cellX = static_cast<int32_t>(cx);
    if (cellY)
        *cellY = static_cast<int32_t>(cy);
    return m_tiles && cx >= 0 && cy >= 0 && cx < m_cellsWide && cy < m_cellsHigh;
}

CxDrawSurface* CxTileMap::TileAt(CxPoint point) const
{
    int32_t cx = 0, cy = 0;
    return CellAt(point, &cx, &cy) ? GetTile(cx, cy) : nullptr;
}

// --- scrolling -------------------------------------------------------------------------------

void CxTileMap::SetView(int32_t x, int32_t y)
{
    const CxSize window = m_parent ? m_parent->GetSize() : CxSize();
    const CxPoint position(-ClampView(x, m_size.width, window.width), -ClampView(y, m_size.height, window.height));
    if (position == m_position)
        return;
    // MoveTo marks both the old and the new area; a hidden map just moves.
    if (IsShown())
        MoveTo(position.x, position.y, PIM_ANCHOR_TOP_LEFT);
    else
        SetPosition(position.x, position.y, PIM_ANCHOR_TOP_LEFT);
}

// --- grid lines ------------------------------------------------------------------------------

void CxTileMap::SetShowGrid(bool show)
{
    if (show == m_showGrid)
        return;
    m_showGrid = show;
    Invalidate();
}

void CxTileMap::SetGridColour(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    m_gridColour[0] = red;
    m_gridColour[1] = green;
    m_gridColour[2] = blue;
    m_gridColour[3] = alpha;
    if (m_showGrid)
        Invalidate();
}

// --- drawing ---------------------------------------------------------------------------------

void CxTileMap::Draw(CxRenderTarget& target, const CxRect& clip)
{
    if (clip.IsEmpty())
        return;
    const CxRect grid = CxRect::FromSize(
        CxPoint(), CxSize(static_cast<int32_t>(int64_t{m_cellsWide} * m_tileWidth),
                          static_cast<int32_t>(int64_t{m_cellsHigh} * m_tileHeight)));
    const CxRect area = clip.Intersection(grid);
    if (!area.IsEmpty()) {
        DrawTiles(target, area);
        if (m_showGrid)
            DrawGrid(target, area);
    }
    // A picture of its own (a backdrop, say) and the children come on top.
    CxSprite::Draw(target, clip);
}

void CxTileMap::DrawTiles(CxRenderTarget& target, const CxRect& area)
{
    // `area` lies on the grid, so the cell range is too.
    const int32_t firstX = area.left / m_tileWidth, lastX = area.right / m_tileWidth;
    const int32_t firstY = area.top / m_tileHeight, lastY = area.bottom / m_tileHeight;
    for (int32_t cy = firstY; cy <= lastY; ++cy) {
        for (int32_t cx = firstX; cx <= lastX; ++cx) {
            CxDrawSurface* tile = GetTile(cx, cy);
            if (!tile)
                continue;
            const CxPoint origin(cx * m_tileWidth, cy * m_tileHeight);
            const CxRect cell = CxRect::FromSize(origin, CxSize(m_tileWidth, m_tileHeight));
            // Tiles come from data files and may be smaller than the grid:
            // the rest of such a cell shows what lies behind the map.
            const CxRect source = area.Intersection(cell).Offset(-origin.x, -origin.y).Intersection(tile->GetRect());
            if (source.IsEmpty())
                continue;
            const CxRect destination = LocalToScreen(source.Offset(origin.x, origin.y));
            tile->DrawOnto(target, &destination, &source, PIM_NO_KEY, &m_params);
        }
    }
}

void CxTileMap::DrawGrid(CxRenderTarget& target, const CxRect& area)
{
    const uint32_t colour = target.MakeColour(m_gridColour[0], m_gridColour[1], m_gridColour[2]);
    // Only lines inside `area`: a line of a cell whose edge lies left of a
    // dirty rectangle would paint over whatever stands in front there.
    const int32_t firstX = static_cast<int32_t>(PimFloorDiv(int64_t{area.left} + m_tileWidth - 1, m_tileWidth));
    for (int64_t x = int64_t{firstX} * m_tileWidth; x <= area.right; x += m_tileWidth) {
        const CxPoint a = LocalToScreen(CxPoint(static_cast<int32_t>(x), area.top));
        const CxPoint b = LocalToScreen(CxPoint(static_cast<int32_t>(x), area.bottom));
        target.DrawLine(a.x, a.y, b.x, b.y, colour);
    }
    const int32_t firstY = static_cast<int32_t>(PimFloorDiv(int64_t{area.top} + m_tileHeight - 1, m_tileHeight));
    for (int64_t y = int64_t{firstY} * m_tileHeight; y <= area.bottom; y += m_tileHeight) {
        const CxPoint a = LocalToScreen(CxPoint(area.left, static_cast<int32_t>(y)));
        const CxPoint b = LocalToScreen(CxPoint(area.right, static_cast<int32_t>(y)));
        // Horizontal lines leave out their far end; one more covers it.
        target.DrawLine(a.x, a.y, b.x + 1, b.y, colour);
    }
}

// --- hit tests -------------------------------------------------------------------------------

bool CxTileMap::ContainsPoint(CxPoint point, bool pixelTest)
{
    const CxPoint local = ParentToLocal(point);
    if (!CxRect::FromSize(CxPoint(), m_size).Contains(local))
        return false;
    return !pixelTest || IsOpaqueAt(local.x, local.y);
}

bool CxTileMap::IsOpaqueAt(int32_t x, int32_t y)
{
    CxDrawSurface* tile = TileAt(CxPoint(x, y));
    if (!tile)
        return false;
    const int64_t tx = x - PimFloorDiv(x, m_tileWidth) * m_tileWidth;
    const int64_t ty = y - PimFloorDiv(y, m_tileHeight) * m_tileHeight;
    // A tile smaller than its cell is see-through beyond its own pixels.
    if (tx >= tile->GetWidth() || ty >= tile->GetHeight())
        return false;
    const uint8_t* bits = tile->LockBitsToRead();
    if (!bits)
        return false;
    const int depth = tile->GetDepth();
    const uint8_t* row = bits + static_cast<ptrdiff_t>(ty) * tile->GetPitch();
    // 24-bit keys are written with the first byte lowest, as the blitter reads them.
    const uint32_t value = depth == 24 ? Read24AsKey(row + static_cast<ptrdiff_t>(tx) * 3)
                                       : ReadPixel(row, static_cast<int>(tx), depth);
    tile->UnlockBits();
    if (depth == 32)
        return value > 0xFFFFFFu;
    return value != tile->GetTransparentColour();
}
