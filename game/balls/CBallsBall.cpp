#include "game/balls/CBallsBall.h"

#include "game/balls/BallsLevel.h"
#include "game/balls/CBalls.h"

#include <algorithm>
#include <cmath>

namespace {

// Keeps a position that has run off far away a valid int (the float to int
// conversion of a value out of range is undefined).
int ToPixel(float value)
{
    constexpr float LIMIT = 1e6f;
    if (!(value > -LIMIT))
        return static_cast<int>(-LIMIT);
    return static_cast<int>(std::min(value, LIMIT));
}

} // namespace

void CBallsBall::OnHit(CxSphereBody* other)
{
    if (m_owner)
        m_owner->OnBallHit(dynamic_cast<CBallsBall*>(other), this);
}

void CBallsBall::OnMoved()
{
    PlaceSprite();
}

void CBallsBall::PlaceSprite()
{
    if (m_sprite.GetFrameCount() < 1 || !m_sprite.GetSurface())
        return;
    const int x = ToPixel(m_position.x), y = ToPixel(m_position.y);
    m_sprite.SetFrame(BallsRollFrame(x, y, m_sprite.GetFrameCount()));
    m_sprite.MoveTo(x, y, PIM_ANCHOR_CENTRE);
}

void CBallsBall::CopyFrom(CBallsBall& kind)
{
    SetBit(SPHERE_MOVABLE, kind.Has(SPHERE_MOVABLE));
    SetBit(SPHERE_CHANGE_DIR, kind.Has(SPHERE_CHANGE_DIR));
    m_breakable = kind.m_breakable;
    m_radius = kind.m_radius;
    m_mass = kind.m_mass;
    m_kind = kind.m_kind;
    if (kind.m_sprite.GetStateCount() > 0)
        m_sprite.CopyStatesFrom(kind.m_sprite);
}
