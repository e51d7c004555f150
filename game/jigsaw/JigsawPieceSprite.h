#pragma once
// One piece of the jigsaw on screen: its cut picture (JigsawCutter.h, the
// piece with its margin) and where it belongs. The room keeps the sprite's
// place, depth and placed flag in step with the model's piece.

#include "PIM/core/CxPoint.h"
#include "PIM/display/CxSprite.h"

class JigsawPieceSprite : public CxSprite
{
public:
    JigsawPieceSprite() = default;

    // The solution: the top-left at which the piece is in place.
    void SetSolution(CxPoint solution) { m_solution = solution; }
    CxPoint GetSolution() const { return m_solution; }
    void SetPlaced(bool placed) { m_placed = placed; }
    bool IsPlaced() const { return m_placed; }

private:
    CxPoint m_solution{0, 0};
    bool m_placed = false;
};
