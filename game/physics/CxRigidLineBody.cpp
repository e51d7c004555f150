#include "game/physics/CxRigidLineBody.h"

#include <cmath>

CxRigidLineBody::CxRigidLineBody(CxPhysicsVector p1, CxPhysicsVector p2, float passLo, float passHi,
                                 float bounceFriction)
    : m_passLo(passLo), m_passHi(passHi), m_bounceFriction(bounceFriction)
{
    SetEnds(p1, p2);
}

void CxRigidLineBody::SetEnds(CxPhysicsVector p1, CxPhysicsVector p2)
{
    m_p1 = p1;
    m_p2 = p2;
    const float dx = p2.x - p1.x, dy = p2.y - p1.y;
    m_length = std::sqrt(dx * dx + dy * dy);
}

bool CxRigidLineBody::Passes(float heading) const
{
    if (!HasPassWindow())
        return false;
    if (m_passLo <= m_passHi)
        return heading >= m_passLo && heading <= m_passHi;
    return heading >= m_passLo || heading <= m_passHi;
}
