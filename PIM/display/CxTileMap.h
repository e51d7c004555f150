#pragma once
// A sprite made of a grid of equal-sized tiles: a level layer, a board, a
// world map. Each cell points at a tile surface (or at nothing: an empty,
// see-through cell); many cells usually share one tile. The map does not
// own the tiles: whoever fills the table (a level layer, say) frees them.
//
// The map scrolls by moving itself inside its parent (SetView), so only the
// cells under a dirty rectangle are ever drawn.

#include "PIM/display/CxSprite.h"

class CxDrawSurface;

class CxTileMap : public CxSprite
{
public:
    CxTileMap() = default;
    ~CxTileMap() override;

    // Empties the table and makes a new one of `cellsWide` x `cellsHigh`
    // empty cells; the map becomes (cells x tile size) pixels at (0, 0) in
    // the parent it has. Tile sizes <= 0, negative cell counts and grids
    // whose size does not fit are refused with 16 and leave no cells; a
    // table that cannot be allocated leaves the size but no cells (1).
    int SetGrid(int32_t cellsWide, int32_t cellsHigh, int32_t tileWidth, int32_t tileHeight);
    int32_t GetCellsWide() const { return m_cellsWide; }
    int32_t GetCellsHigh() const { return m_cellsHigh; }
    int32_t GetTileWidth() const { return m_tileWidth; }
    int32_t GetTileHeight() const { return m_tileHeight; }

    // The table, row by row: cell (cx, cy) is entry cx + cellsWide x cy.
    // Null when there are no cells. The owner writes entries directly.
    CxDrawSurface** GetTiles() { return m_tiles; }
    // Checked access; cells outside the grid read as empty and ignore writes.
    CxDrawSurface* GetTile(int32_t cellX, int32_t cellY) const;
    void SetTile(int32_t cellX, int32_t cellY, CxDrawSurface* tile);

    // Scrolls so that map point (x, y) is at the parent's top-left: the map
    // moves to (-x, -y). x is kept in 0 .. map width - parent width - 1
    // (the last column of a larger map is never reached, as the game's
    // levels were laid out for), y likewise; a map no larger than its
    // parent in one direction stays at 0 in it.
    void SetView(int32_t x, int32_t y);
    CxPoint GetView() const { return CxPoint(-m_position.x, -m_position.y); }

    // The cell under `point` (map coordinates), floored: (-1, -1) lies in
    // cell (-1, -1), not (0, 0). True when that cell is on the grid. Either
    // output may be null.
    bool CellAt(CxPoint point, int32_t* cellX, int32_t* cellY) const;
    // The tile of the cell under `point` (map coordinates); null for an
    // empty cell or a point off the grid.
    CxDrawSurface* TileAt(CxPoint point) const;

    // Grid lines, drawn over the tiles on every cell edge.
    void SetShowGrid(bool show);
    bool GetShowGrid() const { return m_showGrid; }
    void SetGridColour(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255);
    // Red, green, blue, alpha.
    const uint8_t* GetGridColour() const { return m_gridColour; }

    void Draw(CxRenderTarget& target, const CxRect& clip) override;
    bool ContainsPoint(CxPoint point, bool pixelTest) override;
    // (x, y) in map coordinates: the tile under it decides, an empty cell
    // is never opaque.
    bool IsOpaqueAt(int32_t x, int32_t y) override;

private:
    void FreeTable();
    void DrawTiles(CxRenderTarget& target, const CxRect& area);
    void DrawGrid(CxRenderTarget& target, const CxRect& area);

    CxDrawSurface** m_tiles = nullptr;
    int32_t m_cellsWide = 0;
    int32_t m_cellsHigh = 0;
    int32_t m_tileWidth = 0;
    int32_t m_tileHeight = 0;
    bool m_showGrid = false;
    uint8_t m_gridColour[4] = {255, 255, 255, 255};
};
