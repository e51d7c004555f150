#include "game/physics/CxGravityBody.h"

CxPhysicsVector CxGravityBody::GetForce(CxPhysicsVector) const
{
    return m_force;
}
