#include "game/croquet/CroquetModel.h"

#include "game/croquet/CroquetLevel.h"
#include "game/physics/CxPhysicsEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr float kTwoPi = 2.0f * std::numbers::pi_v<float>;
// The current's two step sizes: the small one while the pushed component
// is positive, the large one otherwise, whichever way the current flows.
constexpr float kWaterAgainst = 0.0001f;
constexpr float kWaterWith = 0.0005f;
constexpr float kWaterTopSpeed = 13.0f;
// The current gives up this close to the screen's edges, so it never
// pins a ball against the border.
constexpr float kWaterTop = 40.0f;
constexpr float kWaterBottom = 560.0f;
constexpr float kWaterLeft = 40.0f;
constexpr float kWaterRight = 760.0f;

// One speed component pushed by the current toward `sign` (+1 or -1); the
// push never carries it past the top speed (a faster ball keeps its speed).
float Push(float speed, float sign)
{
    // Gently against the current, harder along it.
    const float step = speed * sign < 0.0f ? kWaterAgainst : kWaterWith;
    const float pushed = speed + sign * step;
    if (sign > 0.0f)
        return speed >= kWaterTopSpeed ? speed : std::min(pushed, kWaterTopSpeed);
    return speed <= -kWaterTopSpeed ? speed : std::max(pushed, -kWaterTopSpeed);
}

// One step of the game when it is in `from`; false (nothing changed) else.
bool Move(ECroquetState& state, ECroquetState from, ECroquetState to)
{
    if (state != from)
        return false;
    state = to;
    return true;
}

} // namespace

void CCroquetModel::StartLevel(int numShots, int maxShots, int wickets)
{
    m_shotsAllowed = std::min(std::max(numShots, 1), std::max(maxShots, 1));
    m_shotsLeft = m_shotsAllowed;
    m_nextWicket = 0;
    m_wickets = std::max(wickets, 0);
    m_state = ECroquetState::Idle;
}

bool CCroquetModel::Aim()
{
    return Move(m_state, ECroquetState::Idle, ECroquetState::Aiming) ||
           Move(m_state, ECroquetState::Walking, ECroquetState::Aiming);
}

bool CCroquetModel::Shoot()
{
    return Move(m_state, ECroquetState::Aiming, ECroquetState::Kicking);
}

bool CCroquetModel::Kick()
{
    if (m_state != ECroquetState::Kicking || m_shotsLeft <= 0)
        return false;
    --m_shotsLeft;
    m_state = ECroquetState::Rolling;
    return true;
}

int CCroquetModel::PassWicket()
{
    if (m_state != ECroquetState::Rolling || m_nextWicket >= m_wickets)
        return 0;
    ++m_nextWicket;
    return CROQUET_WICKET_POINTS;
}

int CCroquetModel::SinkBall()
{
    if (m_state != ECroquetState::Rolling || !IsHoleOpen())
        return 0;
    m_state = ECroquetState::Won;
    return CROQUET_HOLE_POINTS + m_shotsLeft * CROQUET_SHOT_LEFT_POINTS;
}

ECroquetState CCroquetModel::BallStopped()
{
    if (m_state == ECroquetState::Rolling)
        m_state = m_shotsLeft > 0 ? ECroquetState::Walking : ECroquetState::Lost;
    return m_state;
}

bool CCroquetModel::WalkEnded()
{
    return Move(m_state, ECroquetState::Walking, ECroquetState::Aiming);
}

bool CCroquetModel::LoseAnimationDone()
{
    return Move(m_state, ECroquetState::Lost, ECroquetState::LostWait);
}

bool CCroquetModel::Finish()
{
    if (Move(m_state, ECroquetState::Won, ECroquetState::Finished))
        return true;
    Move(m_state, ECroquetState::LostWait, ECroquetState::Finished);
    return false;
}

int CroquetBallLook(int states, int shotsLeft, int shotsAllowed)
{
    // Below three states the last-shot and worn looks would be negative.
    if (states < 3)
        return -1;
    if (shotsLeft == 1)
        return states - 2;
    const int step = std::max(shotsAllowed / (states - 1) - 1, 1);
    const int look = (shotsAllowed - shotsLeft) * step;
    return look >= 0 && look < states - 2 ? look : states - 3;
}

int CroquetWalkState(float dx, float dy)
{
    const float a = std::atan2(dy, dx);
    if (std::fabs(a) > 2.748894f)
        return 14;
    if (std::fabs(a) < 0.392699f)
        return 10;
    if (a > 0.0f) {
        if (a < 1.178097f)
            return 11;
        return a < 1.963495f ? 12 : 13;
    }
    if (a > -1.178097f)
        return 9;
    return a > -1.963495f ? 8 : 15;
}

CxPoint CroquetWalkTarget(CxPoint ball, CxPoint offset)
{
    const CxPoint target = ball - offset;
    return CxPoint(std::min(target.x, CROQUET_WALK_MAX_X), std::min(target.y, CROQUET_WALK_MAX_Y));
}

void CroquetWaterPush(int direction, CxPhysicsVector position, CxPhysicsVector& velocity)
{
    switch (direction) {
    case 0:
        if (position.y > kWaterTop)
            velocity.y = Push(velocity.y, -1.0f);
        break;
    case 1:
        if (position.y < kWaterBottom)
            velocity.y = Push(velocity.y, 1.0f);
        break;
    case 2:
        if (position.x < kWaterRight)
            velocity.x = Push(velocity.x, 1.0f);
        break;
    case 3:
        if (position.x > kWaterLeft)
            velocity.x = Push(velocity.x, -1.0f);
        break;
    default:
        break;
    }
}

bool CroquetAimValid(CxPoint origin, CxPoint target)
{
    const int64_t dx = static_cast<int64_t>(target.x) - origin.x;
    const int64_t dy = static_cast<int64_t>(target.y) - origin.y;
    return dx * dx + dy * dy >= static_cast<int64_t>(CROQUET_MIN_AIM) * CROQUET_MIN_AIM;
}

int CroquetConeFrame(CxPoint origin, CxPoint target)
{
    const CxPhysicsVector aim{static_cast<float>(target.x - origin.x), static_cast<float>(target.y - origin.y), 0};
    const float heading = CxPhysicsEngine::Heading(aim);
    // The share of a turn first, so the four main directions land on
    // whole frames rather than just below them.
    const int frame = static_cast<int>((1.0f - heading / kTwoPi) * CROQUET_CONE_FRAMES);
    return ((frame % CROQUET_CONE_FRAMES) + CROQUET_CONE_FRAMES) % CROQUET_CONE_FRAMES;
}

CxPoint CroquetDotCentre(CxPoint origin, CxPoint target, int index)
{
    const int64_t dx = static_cast<int64_t>(target.x) - origin.x;
    const int64_t dy = static_cast<int64_t>(target.y) - origin.y;
    return CxPoint(origin.x + static_cast<int32_t>(index * dx / CROQUET_AIM_DOTS),
                   origin.y + static_cast<int32_t>(index * dy / CROQUET_AIM_DOTS));
}

int CroquetKickFrame(int ratHitBallFrame, int frames)
{
    return std::max(ratHitBallFrame > 0 ? ratHitBallFrame : frames - 3, 0);
}

bool CroquetInHole(CxPoint hole, int width, int height, CxPoint ball)
{
    return ball.x >= hole.x + 20 && ball.x < hole.x + width - 10 && ball.y >= hole.y + 30 &&
           ball.y < hole.y + height;
}

float CroquetMudFriction(float friction, int mudDampenSize)
{
    return std::max(friction - static_cast<float>(mudDampenSize) * 0.001f, CROQUET_MIN_FRICTION);
}

CxPhysicsVector CroquetDeflect(CxPhysicsVector velocity)
{
    const float c = std::cos(1.0f);
    const float s = std::sin(1.0f);
    return {velocity.x * c - velocity.y * s, velocity.y * c + velocity.x * s, velocity.z};
}

int CroquetFoodPlaces(int places, bool puzzles, bool stickers)
{
    return std::max(places - (puzzles ? 1 : 0) - (stickers ? 1 : 0), 0);
}
