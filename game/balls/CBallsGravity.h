#pragma once
// An attractor of a ball room and its marker: a 32 x 32 plus sign for a pull,
// a minus sign for a push, centred on the attractor.

#include "PIM/display/CxSprite.h"
#include "game/physics/CxPointGravityBody.h"

class CxDisplayObject;

constexpr int BALLS_MARKER_SIZE = 32;
constexpr int32_t BALLS_MARKER_Z = 0x7FFFFFFE;

class CBallsGravity : public CxPointGravityBody
{
public:
    // The marker in `color` (0xRRGGBB), attached to `parent`. PIM_OK or the
    // surface's code.
    int DrawMarker(int color, CxDisplayObject* parent);
    void HideMarker();

    CxSprite& Sprite() { return m_sprite; }
    int m_color = -1;

private:
    CxSprite m_sprite;
};
