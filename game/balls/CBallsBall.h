#pragma once
// A ball of a ball room: its body in the physics engine and its sprite. The
// room owns both; the engine only points at the body. A hit is passed on to
// the room's hook (CBalls::OnBallHit); a move places the sprite centred on
// the body and turns its frame one step every 10 px rolled.

#include "DAX/sprites/CDaxSprite.h"
#include "game/physics/CxSphereBody.h"

class CBalls;

class CBallsBall : public CxSphereBody
{
public:
    explicit CBallsBall(CBalls* owner = nullptr) : m_owner(owner) {}

    // other is the ball that hit this one, or null for a line.
    void OnHit(CxSphereBody* other) override;
    void OnMoved() override;

    // Movability, breakability, radius, mass, kind and the sprite's states
    // from a kind's template.
    void CopyFrom(CBallsBall& kind);
    // The sprite centred on the body, at the rolling frame.
    void PlaceSprite();

    CDaxSprite& Sprite() { return m_sprite; }
    CBalls* GetOwner() const { return m_owner; }
    void SetOwner(CBalls* owner) { m_owner = owner; }
    bool IsMovable() const { return Has(SPHERE_MOVABLE); }

    int m_breakable = 1;
    int m_kind = -1;
    // In the engine: a ball that overlapped an earlier one is drawn but not
    // simulated.
    bool m_simulated = false;
    // Breaking: taken out once its break animation has run.
    bool m_breaking = false;

private:
    CBalls* m_owner;
    CDaxSprite m_sprite;
};
