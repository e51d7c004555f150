#pragma once
// Moves balls in the plane of the screen: spheres bounce off each other and
// off rigid lines, gravity bodies pull them, a world friction slows them, and
// a ball that has come to a stop may rest until something moves it. Plain
// 32-bit float arithmetic; it draws nothing.
//
// The engine owns none of its bodies: the caller keeps them alive while they
// are in the engine. Lists are reserved to their caps up front, so Step never
// allocates. Hooks (CxSphereBody::OnHit ...) run inside Step and must not add,
// remove or delete bodies.

#include "game/physics/CxGravityBody.h"
#include "game/physics/CxRigidLineBody.h"
#include "game/physics/CxSphereBody.h"

#include <vector>

class CxPhysicsEngine
{
public:
    // Level data decides the counts; beyond these, adding is refused.
    static constexpr int MAX_SPHERES = 1000;
    static constexpr int MAX_LINES = 1000;
    static constexpr int MAX_GRAVITY = 1000;

    CxPhysicsEngine();

    // False when the sphere overlaps one already in the engine, has a
    // non-finite or negative size or mass, or the engine is full.
    bool AddSphere(CxSphereBody* sphere);
    // False when the list is full, or for a null pointer or a line with a
    // non-finite end, window or friction.
    bool AddLine(CxRigidLineBody* line);
    // False when the list is full, or for a null or non-finite body.
    bool AddGravity(CxGravityBody* gravity);
    // Takes a sphere out (not during Step); false when it is not in.
    bool RemoveSphere(CxSphereBody* sphere);
    void Clear();

    // 1: soft, 2: the default, 3: lively and never resting. Others are ignored.
    void SetMode(int mode);
    // One sub-step of dt engine time; dt <= 0 (or NaN) does nothing.
    void Step(float dt);

    CxPhysicsVector GravityAt(CxPhysicsVector position) const;
    bool AnyGravityAt(CxPhysicsVector position) const;

    // Angle of a velocity in [0, 2pi), counter-clockwise on screen from
    // straight up: up 0, left pi/2, down pi, right 3pi/2.
    static float Heading(CxPhysicsVector velocity);

    // Clamped to [0, 1e6], so its square stays far inside float range.
    void SetMaxSpeed(float maxSpeed);
    // Below 1e-6 (NaN too) becomes 1e-6; infinity becomes 1.
    void SetWorldFriction(float friction);
    // A non-finite value is ignored.
    void SetCollisionDampen(float dampen);

    float MaxSpeed() const { return m_maxSpeed; }
    float WorldFriction() const { return m_worldFriction; }
    float Restitution() const { return m_restitution; }
    float LossThreshold() const { return m_lossThreshold; }
    float SlowFactor() const { return m_slowFactor; }
    bool RestingEnabled() const { return m_restingEnabled; }
    bool DampenOnContact() const { return m_dampenOnContact; }
    int SubSteps() const { return m_subSteps; }
    float Time() const { return m_time; }

    const std::vector<CxSphereBody*>& Spheres() const { return m_spheres; }
    const std::vector<CxRigidLineBody*>& Lines() const { return m_lines; }
    const std::vector<CxGravityBody*>& Gravity() const { return m_gravity; }

private:
    enum class Contact { None, Touch, Hit };

    // lineEnd: b is the stand-in for a line's end point, so only a hears of
    // the hit, as OnHit(nullptr).
    Contact SphereSphere(CxSphereBody& a, CxSphereBody& b, bool lineEnd = false) const;
    Contact SphereLine(CxSphereBody& sphere, const CxRigidLineBody& line) const;
    Contact LineEnd(CxSphereBody& sphere, CxPhysicsVector point) const;
    // A normal speed after losing J (or scaled by k when at most J).
    float DampNormal(float speed) const;
    bool Resting(const CxSphereBody& sphere) const;
    void Integrate(CxSphereBody& sphere, float dt, float friction);

    std::vector<CxSphereBody*> m_spheres;
    std::vector<CxRigidLineBody*> m_lines;
    std::vector<CxGravityBody*> m_gravity;
    int m_subSteps = 0;
    float m_time = 0.0f;

    float m_maxSpeed = 99999.0f;
    float m_worldFriction = 1.0f;
    float m_collisionDampen = 0.7f;
    float m_restitution = 0.8f;
    float m_lossThreshold = 0.3f;
    float m_slowFactor = 0.6f;
    bool m_restingEnabled = true;
    bool m_dampenOnContact = true;
};
