#pragma once
// A straight rigid wall between two points. A ball heading within the
// pass-through window [lo, hi] (radians, see CxPhysicsEngine::Heading) goes
// through it; lo and hi both 0 means the wall stops every ball. A window with
// lo above hi wraps through straight up.

#include "game/physics/CxPhysicsVector.h"

class CxRigidLineBody
{
public:
    CxRigidLineBody() = default;
    CxRigidLineBody(CxPhysicsVector p1, CxPhysicsVector p2, float passLo = 0.0f, float passHi = 0.0f,
                    float bounceFriction = 0.8f);

    // Moves the ends and recomputes the length.
    void SetEnds(CxPhysicsVector p1, CxPhysicsVector p2);
    bool HasPassWindow() const { return m_passLo != 0.0f || m_passHi != 0.0f; }
    bool Passes(float heading) const;

    CxPhysicsVector m_p1;
    CxPhysicsVector m_p2;
    float m_length = 0.0f;
    float m_passLo = 0.0f;
    float m_passHi = 0.0f;
    // Share of the normal speed a ball keeps when it bounces off.
    float m_bounceFriction = 0.8f;
};
