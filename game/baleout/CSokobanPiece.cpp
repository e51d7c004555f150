#include "game/baleout/CSokobanPiece.h"

#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimDrawParams.h"

#include <algorithm>

void CSokobanPiece::PlaceAt(CxPoint at)
{
    cell = at;
    m_remaining = 0;
    const CxPoint origin = BaleCellOrigin(at);
    // Moving a shown piece marks where it was and where it goes; a hidden
    // one (the hint cell) stays hidden.
    if (IsShown())
        MoveTo(origin.x, origin.y, PIM_ANCHOR_TOP_LEFT);
    else
        SetPosition(origin.x, origin.y);
}

void CSokobanPiece::StartMove(int direction, int speed)
{
    const CxPoint next = BaleNext(cell, direction);
    m_delta = CxPoint(next.x - cell.x, next.y - cell.y);
    m_speed = std::max(1, speed);
    m_remaining = (m_delta.x != 0 || m_delta.y != 0) ? BALE_CELL_PIXELS : 0;
}

bool CSokobanPiece::Tick()
{
    if (m_remaining <= 0)
        return false;
    const int step = std::min(m_speed, m_remaining);
    const CxPoint at = GetPosition();
    MoveTo(at.x + m_delta.x * step, at.y + m_delta.y * step, PIM_ANCHOR_TOP_LEFT);
    m_remaining -= step;
    if (m_remaining > 0)
        return false;
    cell = cell + m_delta;
    return true;
}

void CSokobanPiece::UseAlphaWhenItHasIt()
{
    if (GetSurface() && GetSurface()->GetDepth() == 32)
        SetDrawMode(PIM_DRAW_SOURCE_ALPHA);
}
