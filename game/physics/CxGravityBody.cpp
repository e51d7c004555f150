#include "game/physics/CxGravityBody.h"

#include <cmath>

CxPhysicsVector CxGravityBody::GetForce(CxPhysicsVector) const
{
    return m_force;
}

bool CxGravityBody::IsFinite() const
{
    return std::isfinite(m_force.x) && std::isfinite(m_force.y) && std::isfinite(m_force.z);
}
