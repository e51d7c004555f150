#include "game/physics/CxPhysicsEngine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// How close (beyond touching) counts as contact, in pixels.
constexpr float CONTACT_MARGIN = 0.5f;
// Below this speed on both axes a ball with nothing pulling it rests.
constexpr float REST_SPEED = 0.8f;
// Share of the tangential speed kept in a bounce.
constexpr float TANGENT_KEEP = 0.99f;
constexpr float MIN_FRICTION = 1e-6f;
// Keeps MaxSpeed squared and the speeds it caps far inside float range.
constexpr float MAX_SPEED_LIMIT = 1e6f;
// A world friction above 1 speeds balls up; this bounds the factor per
// sub-step so a tiny dt cannot overflow it.
constexpr float MAX_FRICTION_FACTOR = 1e3f;

// Pointing up: the normal for bodies on top of each other.
constexpr CxPhysicsVector UP{0.0f, -1.0f, 0.0f};

bool Slow(CxPhysicsVector v)
{
    return v.x > -REST_SPEED && v.x < REST_SPEED && v.y > -REST_SPEED && v.y < REST_SPEED;
}

bool Finite(CxPhysicsVector v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// (a - b) / |a - b| in x and y, or straight up when they coincide.
CxPhysicsVector Normal(CxPhysicsVector a, CxPhysicsVector b, float distance)
{
    if (!(distance > 0.0f))
        return UP;
    return {(a.x - b.x) / distance, (a.y - b.y) / distance, 0.0f};
}

// True when the segment's box, grown by the ball's reach, misses the centre
// along one axis.
bool BoxMisses(float p1, float p2, float centre, float reach)
{
    if (p1 > centre)
        return std::min(p1, p2) > centre + reach;
    return std::max(p1, p2) < centre - reach;
}

} // namespace

CxPhysicsEngine::CxPhysicsEngine()
{
    m_spheres.reserve(MAX_SPHERES);
    m_lines.reserve(MAX_LINES);
    m_gravity.reserve(MAX_GRAVITY);
}

bool CxPhysicsEngine::AddSphere(CxSphereBody* sphere)
{
    if (!sphere || m_spheres.size() >= static_cast<size_t>(MAX_SPHERES))
        return false;
    if (!Finite(sphere->m_position) || !Finite(sphere->m_velocity) || !(sphere->m_radius >= 0.0f) ||
        !std::isfinite(sphere->m_radius) || !(sphere->m_mass >= 0.0f) || !std::isfinite(sphere->m_mass))
        return false;
    for (const CxSphereBody* other : m_spheres) {
        const float dx = sphere->m_position.x - other->m_position.x;
        const float dy = sphere->m_position.y - other->m_position.y;
        const float reach = sphere->m_radius + other->m_radius;
        if (dx * dx + dy * dy < reach * reach)
            return false;
    }
    m_spheres.push_back(sphere);
    return true;
}

bool CxPhysicsEngine::AddLine(CxRigidLineBody* line)
{
    if (!line || m_lines.size() >= static_cast<size_t>(MAX_LINES))
        return false;
    // One NaN end or friction would spread to every ball that touches it.
    if (!Finite(line->m_p1) || !Finite(line->m_p2) || !std::isfinite(line->m_bounceFriction) ||
        !std::isfinite(line->m_passLo) || !std::isfinite(line->m_passHi))
        return false;
    // The length is kept beside the ends; make sure it matches them.
    line->SetEnds(line->m_p1, line->m_p2);
    if (!std::isfinite(line->m_length))
        return false;
    m_lines.push_back(line);
    return true;
}

bool CxPhysicsEngine::AddGravity(CxGravityBody* gravity)
{
    if (!gravity || m_gravity.size() >= static_cast<size_t>(MAX_GRAVITY) || !gravity->IsFinite())
        return false;
    m_gravity.push_back(gravity);
    return true;
}

bool CxPhysicsEngine::RemoveSphere(CxSphereBody* sphere)
{
    const auto found = std::find(m_spheres.begin(), m_spheres.end(), sphere);
    if (found == m_spheres.end())
        return false;
    // Erasing keeps the order the pairs are tested in.
    m_spheres.erase(found);
    return true;
}

void CxPhysicsEngine::Clear()
{
    // clear() keeps the reserved capacity, so stepping stays allocation-free.
    m_spheres.clear();
    m_lines.clear();
    m_gravity.clear();
}

void CxPhysicsEngine::SetMode(int mode)
{
    struct Mode
    {
        float e, j, k;
        bool resting, dampen;
    };
    static constexpr Mode modes[] = {
        {0.5f, 1.0f, 0.1f, true, false},
        {0.8f, 0.3f, 0.6f, true, true},
        {0.6f, 0.0f, 1.0f, false, false},
    };
    if (mode < 1 || mode > 3)
        return;
    const Mode& chosen = modes[mode - 1];
    m_restitution = chosen.e;
    m_lossThreshold = chosen.j;
    m_slowFactor = chosen.k;
    m_restingEnabled = chosen.resting;
    m_dampenOnContact = chosen.dampen;
}

void CxPhysicsEngine::SetMaxSpeed(float maxSpeed)
{
    m_maxSpeed = std::isnan(maxSpeed) ? MAX_SPEED_LIMIT : std::clamp(maxSpeed, 0.0f, MAX_SPEED_LIMIT);
}

void CxPhysicsEngine::SetCollisionDampen(float dampen)
{
    if (std::isfinite(dampen))
        m_collisionDampen = dampen;
}

void CxPhysicsEngine::SetWorldFriction(float friction)
{
    m_worldFriction = (friction > MIN_FRICTION) ? friction : MIN_FRICTION;
    if (!std::isfinite(m_worldFriction))
        m_worldFriction = 1.0f;
}

float CxPhysicsEngine::Heading(CxPhysicsVector velocity)
{
    float angle = std::atan2(-velocity.x, -velocity.y);
    if (angle < 0.0f)
        angle += 2.0f * std::numbers::pi_v<float>;
    // -0 and rounding can land on 2pi itself.
    if (!(angle < 2.0f * std::numbers::pi_v<float>))
        angle = 0.0f;
    return angle;
}

CxPhysicsVector CxPhysicsEngine::GravityAt(CxPhysicsVector position) const
{
    CxPhysicsVector sum;
    for (const CxGravityBody* body : m_gravity) {
        const CxPhysicsVector force = body->GetForce(position);
        sum.x += force.x;
        sum.y += force.y;
        sum.z += force.z;
    }
    return sum;
}

bool CxPhysicsEngine::AnyGravityAt(CxPhysicsVector position) const
{
    for (const CxGravityBody* body : m_gravity) {
        const CxPhysicsVector force = body->GetForce(position);
        if (force.x != 0.0f || force.y != 0.0f)
            return true;
    }
    return false;
}

bool CxPhysicsEngine::Resting(const CxSphereBody& sphere) const
{
    return m_restingEnabled && sphere.Has(SPHERE_RESTING);
}

float CxPhysicsEngine::DampNormal(float speed) const
{
    if (speed > m_lossThreshold)
        return speed - m_lossThreshold;
    if (speed < -m_lossThreshold)
        return speed + m_lossThreshold;
    return speed * m_slowFactor;
}

void CxPhysicsEngine::Step(float dt)
{
    if (!(dt > 0.0f) || !std::isfinite(dt))
        return;
    ++m_subSteps;
    m_time += dt;

    for (CxSphereBody* a : m_spheres) {
        if (!a->Has(SPHERE_MOVABLE))
            continue;
        for (const CxRigidLineBody* line : m_lines)
            if (SphereLine(*a, *line) != Contact::None)
                a->SetBit(SPHERE_COLLIDED, true);
        // The reach test runs here, in line, as most pairs are far apart.
        // A's place is read afresh: a separation may just have moved it.
        for (CxSphereBody* b : m_spheres) {
            const float dx = a->m_position.x - b->m_position.x, dy = a->m_position.y - b->m_position.y;
            const float reach = a->m_radius + b->m_radius + CONTACT_MARGIN;
            if (dx * dx + dy * dy > reach * reach || b == a)
                continue;
            if (SphereSphere(*a, *b) != Contact::None)
                a->SetBit(SPHERE_COLLIDED, true);
        }
        if (m_restingEnabled && !a->Has(SPHERE_COLLIDED)) {
            a->SetBit(SPHERE_RESTING, false);
            if (Slow(a->m_velocity) && !AnyGravityAt(a->m_position)) {
                a->SetBit(SPHERE_RESTING, true);
                a->m_velocity.x = 0.0f;
                a->m_velocity.y = 0.0f;
            }
        }
    }

    // WorldFriction to the power 1/dt; the setter keeps it above zero.
    const float friction = std::min(std::exp(std::log(m_worldFriction) / dt), MAX_FRICTION_FACTOR);
    for (CxSphereBody* sphere : m_spheres)
        if (sphere->Has(SPHERE_MOVABLE) && !Resting(*sphere))
            Integrate(*sphere, dt, friction);
    for (CxSphereBody* sphere : m_spheres)
        if (sphere->Has(SPHERE_MOVABLE) && !Resting(*sphere))
            sphere->OnMoved();
}

void CxPhysicsEngine::Integrate(CxSphereBody& sphere, float dt, float friction)
{
    CxPhysicsVector g;
    if (sphere.Has(SPHERE_GRAVITY))
        g = GravityAt(sphere.m_position);
    CxPhysicsVector& v = sphere.m_velocity;
    sphere.m_position.x += dt * v.x;
    sphere.m_position.y += dt * v.y;

    float share = dt;
    if (m_dampenOnContact && sphere.Has(SPHERE_COLLIDED)) {
        share *= m_collisionDampen;
        sphere.SetBit(SPHERE_COLLIDED, false);
    }
    v.x += g.x * share;
    v.y += g.y * share;

    // The ratio of the squares (not its root): a ball far over the cap comes
    // out well under it.
    const float speed2 = v.x * v.x + v.y * v.y;
    const float max2 = m_maxSpeed * m_maxSpeed;
    if (max2 < speed2) {
        const float scale = max2 / speed2;
        v.x *= scale;
        v.y *= scale;
    }
    v.x *= friction;
    v.y *= friction;
}

CxPhysicsEngine::Contact CxPhysicsEngine::SphereSphere(CxSphereBody& a, CxSphereBody& b, bool lineEnd) const
{
    const float dx = a.m_position.x - b.m_position.x, dy = a.m_position.y - b.m_position.y;
    const float distance2 = dx * dx + dy * dy;
    const float reach = a.m_radius + b.m_radius;
    // Step has already rejected pairs beyond reach + CONTACT_MARGIN.
    const float distance = std::sqrt(distance2);
    if (distance >= reach || (Resting(a) && Resting(b)))
        return Contact::Touch;

    const CxPhysicsVector n = Normal(a.m_position, b.m_position, distance);
    bool moveA;
    if (!a.Has(SPHERE_MOVABLE))
        moveA = false;
    else if (!b.Has(SPHERE_MOVABLE))
        moveA = true;
    else if (m_restingEnabled && (a.Has(SPHERE_RESTING) || b.Has(SPHERE_RESTING)))
        moveA = !a.Has(SPHERE_RESTING);
    else
        moveA = b.m_position.y > a.m_position.y;
    const float overlap = reach - distance;
    if (moveA) {
        a.m_position.x += overlap * n.x;
        a.m_position.y += overlap * n.y;
    } else {
        b.m_position.x -= overlap * n.x;
        b.m_position.y -= overlap * n.y;
    }

    const CxPhysicsVector t{-n.y, n.x, 0.0f};
    const CxPhysicsVector va = a.m_velocity, vb = b.m_velocity;
    const float aN = va.x * n.x + va.y * n.y, bN = vb.x * n.x + vb.y * n.y;
    if (bN < aN)
        return Contact::Hit; // already moving apart

    CxPhysicsVector newA = va, newB = vb;
    if (!b.Has(SPHERE_MOVABLE)) {
        const float k = DampNormal(aN * m_restitution);
        const float aT = (va.x * t.x + va.y * t.y) * TANGENT_KEEP;
        newA = {aT * t.x - k * n.x, aT * t.y - k * n.y, va.z};
    } else {
        const float mass = a.m_mass + b.m_mass;
        // Two massless balls have nothing to exchange.
        if (mass > 0.0f) {
            const float w = 2.0f * (aN - bN) / mass;
            newA.x = va.x - b.m_mass * w * n.x;
            newA.y = va.y - b.m_mass * w * n.y;
            newB.x = vb.x + a.m_mass * w * n.x;
            newB.y = vb.y + a.m_mass * w * n.y;
        }
    }

    if (m_restingEnabled) {
        if (a.Has(SPHERE_RESTING)) {
            if (Slow(newA))
                newA.x = newA.y = 0.0f;
            else
                a.SetBit(SPHERE_RESTING, false);
        } else if (b.Has(SPHERE_RESTING)) {
            if (Slow(newB))
                newB.x = newB.y = 0.0f;
            else
                b.SetBit(SPHERE_RESTING, false);
        }
    }
    a.m_velocity = newA;
    b.m_velocity = newB;
    if (lineEnd) {
        // The end point is a stand-in that lives only for this test: the
        // ball is told it hit a line, as in the middle of one.
        a.OnHit(nullptr);
    } else {
        a.OnHitOther(&b);
        b.OnHit(&a);
    }
    return Contact::Hit;
}

CxPhysicsEngine::Contact CxPhysicsEngine::SphereLine(CxSphereBody& sphere, const CxRigidLineBody& line) const
{
    CxPhysicsVector& s = sphere.m_position;
    const float r = sphere.m_radius;
    const float reach = 2.0f * r + CONTACT_MARGIN;
    if (BoxMisses(line.m_p1.x, line.m_p2.x, s.x, reach) || BoxMisses(line.m_p1.y, line.m_p2.y, s.y, reach))
        return Contact::None;

    CxPhysicsVector& v = sphere.m_velocity;
    // A standing ball has no heading and never slips through.
    if ((v.x != 0.0f || v.y != 0.0f) && line.Passes(Heading(v)))
        return Contact::None;

    // A zero-length line is its one point.
    const float length = line.m_length;
    if (!(length > 0.0f))
        return LineEnd(sphere, line.m_p1);

    const CxPhysicsVector u{(line.m_p2.x - line.m_p1.x) / length, (line.m_p2.y - line.m_p1.y) / length, 0.0f};
    const float rx = s.x - line.m_p1.x, ry = s.y - line.m_p1.y;
    CxPhysicsVector n{u.y, -u.x, 0.0f};
    float dist = n.x * rx + n.y * ry;
    if (dist < 0.0f) {
        n = {-n.x, -n.y, 0.0f};
        dist = -dist;
    }
    const float m = u.x * rx + u.y * ry;
    if (dist > r + CONTACT_MARGIN)
        return Contact::None;

    if (m < 0.0f)
        return (m > -r - CONTACT_MARGIN) ? LineEnd(sphere, line.m_p1) : Contact::None;
    if (m > length)
        return (m < length + r + CONTACT_MARGIN) ? LineEnd(sphere, line.m_p2) : Contact::None;
    if (dist > r)
        return Contact::Touch;

    s.x += (r - dist) * n.x;
    s.y += (r - dist) * n.y;
    const float a = v.x * n.x + v.y * n.y; // negative when moving into the line
    if (a <= 0.0f) {
        const float damped = (a < -m_lossThreshold) ? a + m_lossThreshold : a * m_slowFactor;
        const float along = TANGENT_KEEP * (v.x * u.x + v.y * u.y);
        v.x = along * u.x - line.m_bounceFriction * damped * n.x;
        v.y = along * u.y - line.m_bounceFriction * damped * n.y;
    }
    sphere.OnHit(nullptr);
    return Contact::Hit;
}

CxPhysicsEngine::Contact CxPhysicsEngine::LineEnd(CxSphereBody& sphere, CxPhysicsVector point) const
{
    // A line's end behaves like a fixed ball of no size at that point.
    CxSphereBody end;
    end.Set(point, 0.0f, 0.0f, false);
    const float dx = sphere.m_position.x - point.x, dy = sphere.m_position.y - point.y;
    const float reach = sphere.m_radius + CONTACT_MARGIN;
    if (dx * dx + dy * dy > reach * reach)
        return Contact::None;
    return SphereSphere(sphere, end, true);
}
