#pragma once
// Bodies for the physics engine's tests: a sphere that counts its hooks.

#include "game/physics/CxPhysicsEngine.h"

#include <cmath>

struct CountingSphere : CxSphereBody
{
    CountingSphere(float x, float y, float radius, float mass = 1.0f, bool movable = true,
                   CxPhysicsVector velocity = {})
    {
        Set({x, y, 0.0f}, radius, mass, movable, velocity);
    }
    void OnHit(CxSphereBody* other) override
    {
        ++hits;
        lastHit = other;
    }
    void OnHitOther(CxSphereBody* other) override
    {
        ++hitOthers;
        lastHitOther = other;
    }
    void OnMoved() override { ++moves; }

    int hits = 0;
    int hitOthers = 0;
    int moves = 0;
    CxSphereBody* lastHit = nullptr;
    CxSphereBody* lastHitOther = nullptr;
};

inline bool FiniteBody(const CxSphereBody& body)
{
    return std::isfinite(body.m_position.x) && std::isfinite(body.m_position.y) && std::isfinite(body.m_velocity.x) &&
           std::isfinite(body.m_velocity.y);
}

constexpr float PHYSICS_TOLERANCE = 1e-5f;

inline float Degrees(float degrees)
{
    return degrees * 3.14159265358979f / 180.0f;
}
