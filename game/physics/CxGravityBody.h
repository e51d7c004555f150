#pragma once
// A source of gravity. The base pulls the same everywhere (its force vector);
// CxPointGravityBody pulls toward a centre. The owner keeps the body.

#include "game/physics/CxPhysicsVector.h"

class CxGravityBody
{
public:
    CxGravityBody() = default;
    explicit CxGravityBody(CxPhysicsVector force) : m_force(force) {}
    virtual ~CxGravityBody() = default;
    CxGravityBody(const CxGravityBody&) = default;
    CxGravityBody& operator=(const CxGravityBody&) = default;

    virtual CxPhysicsVector GetForce(CxPhysicsVector position) const;
    // False when a value is NaN or infinite: such a body would spread it to
    // every ball it pulls.
    virtual bool IsFinite() const;

    CxPhysicsVector m_force;
};
