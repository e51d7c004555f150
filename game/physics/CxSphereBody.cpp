#include "game/physics/CxSphereBody.h"

void CxSphereBody::Set(CxPhysicsVector position, float radius, float mass, bool movable, CxPhysicsVector velocity)
{
    m_position = position;
    m_velocity = velocity;
    m_radius = radius;
    m_mass = mass;
    SetBit(SPHERE_MOVABLE, movable);
    SetBit(SPHERE_RESTING, false);
    SetBit(SPHERE_COLLIDED, false);
}

void CxSphereBody::OnHit(CxSphereBody*) {}

void CxSphereBody::OnHitOther(CxSphereBody*) {}

void CxSphereBody::OnMoved() {}
