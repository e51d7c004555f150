#pragma once
// A ball body of the physics engine. The owner (a ball room) keeps it and
// hands the engine a pointer; the engine never deletes it. The hooks run
// inside CxPhysicsEngine::Step and must not delete or remove bodies: an owner
// that wants a ball gone marks it and removes it after the step.

#include "game/physics/CxPhysicsVector.h"

// Bits of the flag word.
constexpr unsigned SPHERE_MOVABLE = 1; // the engine moves it; else an obstacle
constexpr unsigned SPHERE_RESTING = 2; // stopped, skipped while resting is enabled
constexpr unsigned SPHERE_COLLIDED = 4; // touched something in this sub-step
constexpr unsigned SPHERE_CHANGE_DIR = 8; // kept for the owner; the engine ignores it
constexpr unsigned SPHERE_GRAVITY = 16; // gravity bodies pull it

class CxSphereBody
{
public:
    CxSphereBody() = default;
    virtual ~CxSphereBody() = default;
    CxSphereBody(const CxSphereBody&) = default;
    CxSphereBody& operator=(const CxSphereBody&) = default;

    // Places the body, clearing its resting and collided bits.
    void Set(CxPhysicsVector position, float radius, float mass, bool movable, CxPhysicsVector velocity = {});

    bool Has(unsigned bit) const { return (m_flags & bit) != 0; }
    void SetBit(unsigned bit, bool on) { m_flags = on ? (m_flags | bit) : (m_flags & ~bit); }

    // other is null when a line was hit.
    virtual void OnHit(CxSphereBody* other);
    // Called on the sphere being stepped when it hits another sphere.
    virtual void OnHitOther(CxSphereBody* other);
    // Called after each sub-step in which the engine moved the body.
    virtual void OnMoved();

    CxPhysicsVector m_position;
    CxPhysicsVector m_velocity;
    float m_radius = 0.0f;
    float m_mass = 0.0f;
    unsigned m_flags = SPHERE_CHANGE_DIR | SPHERE_GRAVITY;
};
