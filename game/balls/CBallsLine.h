#pragma once
// A wall of a ball room: the engine's line and, when it has a colour, its
// drawing: a sprite as big as the part of the line on screen, placed at that
// part's top-left corner, with the line drawn from the corner its slope
// starts in. Whatever lies off the screen is not drawn, so a wall from a
// hostile file never asks for a huge picture.

#include "PIM/core/CxRect.h"
#include "PIM/display/CxSprite.h"
#include "game/physics/CxRigidLineBody.h"

class CxDisplayObject;

constexpr int32_t BALLS_LINE_Z = 0x7FFFFFFE;

class CBallsLine : public CxRigidLineBody
{
public:
    // Draws the line in `color` (0xRRGGBB) into the sprite, within `screen`,
    // attached to `parent`; nothing when no part of it is on screen.
    // PIM_OK or the surface's code.
    int Draw(int color, const CxRect& screen, CxDisplayObject* parent);
    void HideDrawing();

    CxSprite& Sprite() { return m_sprite; }
    int m_color = -1;

private:
    CxSprite m_sprite;
};

// Cuts the segment (x1, y1) - (x2, y2) to `box` (inclusive, as every CxRect);
// false when nothing of it is inside.
bool BallsClipLine(const CxRect& box, float& x1, float& y1, float& x2, float& y2);
