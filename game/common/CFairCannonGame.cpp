#include "game/common/CFairCannonGame.h"

#include "PIM/core/CxRandom.h"

namespace {

// A random value of [low, high] other than 0, in one draw: the k-th of the
// range's non-zero values (the range always holds one).
int NonZero(int low, int high)
{
    const bool holdsZero = low <= 0 && 0 <= high;
    const int count = high - low + 1 - (holdsZero ? 1 : 0);
    int value = low + RandomRange(0, count - 1);
    if (holdsZero && value >= 0)
        ++value;
    return value;
}

} // namespace

void CFairCannonGame::Setup(const CxRect& area, const CxRect& hitBox,
                            const std::array<CxPoint, FAIR_CANNON_TARGETS>& targets)
{
    m_area = area;
    m_hitBox = hitBox;
    m_targets = targets;
}

void CFairCannonGame::Start(uint32_t now)
{
    m_state = EFairCannonState::Running;
    m_score = 0;
    NewTurn(now);
}

void CFairCannonGame::NewTurn(uint32_t now)
{
    m_hit.fill(false);
    m_hits = 0;
    m_lastHit = -1;
    m_period = FAIR_CANNON_FIRST_PERIOD;
    m_nextShake = now + m_period;
}

bool CFairCannonGame::Step(uint32_t now)
{
    if (m_state != EFairCannonState::Running || now < m_nextShake)
        return false;
    m_nextShake = now + m_period;
    return true;
}

EFairCannonShot CFairCannonGame::Click(CxPoint point, int target, uint32_t now)
{
    if (m_state != EFairCannonState::Running)
        return EFairCannonShot::Ignored;
    if (!m_area.Contains(point)) {
        m_state = EFairCannonState::Ending;
        return EFairCannonShot::Missed;
    }
    if (target < 0 || target >= FAIR_CANNON_TARGETS || m_hit[static_cast<size_t>(target)])
        return EFairCannonShot::Ignored;
    const CxPoint at = m_targets[static_cast<size_t>(target)];
    const CxRect box = m_hitBox.Offset(at.x, at.y);
    if (!box.Contains(point)) {
        m_state = EFairCannonState::Ending;
        return EFairCannonShot::Missed;
    }
    m_hit[static_cast<size_t>(target)] = true;
    m_lastHit = target;
    ++m_hits;
    if (m_hits < FAIR_CANNON_TARGETS) {
        m_period = FAIR_CANNON_HIT_PERIOD;
        m_nextShake = now + m_period;
        return EFairCannonShot::Hit;
    }
    m_state = EFairCannonState::Ending;
    return EFairCannonShot::TurnWon;
}

bool CFairCannonGame::FinishTurn(bool lastTargetDone, uint32_t now)
{
    if (m_state != EFairCannonState::Ending)
        return false;
    if (m_hits < FAIR_CANNON_TARGETS) {
        m_state = EFairCannonState::Idle;
        return true;
    }
    if (lastTargetDone) {
        ++m_score;
        m_state = EFairCannonState::Running;
        NewTurn(now);
    }
    return false;
}

CxPoint CFairCannonGame::ShakeOffset(int hits)
{
    return CxPoint(NonZero(hits - 1, hits + 1), NonZero(hits - 2, hits + 2));
}

bool CFairCannonGame::IsTargetHit(int target) const
{
    return target >= 0 && target < FAIR_CANNON_TARGETS && m_hit[static_cast<size_t>(target)];
}
