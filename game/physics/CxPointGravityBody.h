#pragma once
// An attractor: within its range it pulls with the constant strength toward
// its centre (a negative strength pushes away); beyond the range, nothing.

#include "game/physics/CxGravityBody.h"

class CxPointGravityBody : public CxGravityBody
{
public:
    CxPointGravityBody() = default;
    CxPointGravityBody(CxPhysicsVector centre, float strength, float range)
        : m_strength(strength), m_range(range), m_centre(centre)
    {}

    CxPhysicsVector GetForce(CxPhysicsVector position) const override;
    bool IsFinite() const override;

    float m_strength = 0.0f;
    float m_range = 0.0f;
    CxPhysicsVector m_centre;
};
