#pragma once
// The fairground's first small game, the rules alone: four targets, a
// cannon and an aim that shakes. A turn gives four shots; each hit makes
// the aim shake harder and the shake come faster; four hits win the turn
// (one point, then a new turn); a shot beside a target's hit box, or a click
// outside the game's area, ends the game. Clicks inside the area that land
// on no target are nobody's business: they are ignored.
//
// It runs on the room's game clock: Step(now) says when the aim is due to
// shake; ShakeOffset draws how far, from the engine's random numbers.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"

#include <array>

constexpr int FAIR_CANNON_TARGETS = 4;
constexpr uint32_t FAIR_CANNON_FIRST_PERIOD = 400; // ms, a turn's first shake
constexpr uint32_t FAIR_CANNON_HIT_PERIOD = 200;   // ms, after a hit

enum class EFairCannonState
{
    Idle,
    Running,
    Ending,
};

// What a click came to.
enum class EFairCannonShot
{
    Ignored, // not running, on a hit target, or inside the area on no target
    Hit,     // the target is down: the cannon fires, "feed1.seq"
    TurnWon, // the fourth hit: the room waits for that target's animation
    Missed,  // beside the hit box or outside the area: the game is over
};

class CFairCannonGame
{
public:
    // `area` the game's area, `hitBox` relative to a target's position.
    void Setup(const CxRect& area, const CxRect& hitBox, const std::array<CxPoint, FAIR_CANNON_TARGETS>& targets);

    void Start(uint32_t now);
    // True when the aim is due to shake now (then the next shake is planned).
    bool Step(uint32_t now);
    // A click at `point`; `target` is the target under it (-1 for none).
    EFairCannonShot Click(CxPoint point, int target, uint32_t now);
    // In Ending: the game is lost (fewer than four hits) -> true, back to
    // Idle; with four hits, once `lastTargetDone`: one point and a new turn.
    bool FinishTurn(bool lastTargetDone, uint32_t now);

    // A random non-zero step of the aim for `hits` hits so far: dx in
    // [hits - 1, hits + 1], dy in [hits - 2, hits + 2].
    static CxPoint ShakeOffset(int hits);

    EFairCannonState GetState() const { return m_state; }
    int GetScore() const { return m_score; }
    int GetHits() const { return m_hits; }
    bool IsTargetHit(int target) const;
    bool IsInArea(CxPoint point) const { return m_area.Contains(point); }
    int GetLastHitTarget() const { return m_lastHit; }
    uint32_t GetPeriod() const { return m_period; }

private:
    void NewTurn(uint32_t now);

    CxRect m_area;
    CxRect m_hitBox;
    std::array<CxPoint, FAIR_CANNON_TARGETS> m_targets{};
    std::array<bool, FAIR_CANNON_TARGETS> m_hit{};
    EFairCannonState m_state = EFairCannonState::Idle;
    int m_score = 0;
    int m_hits = 0;
    int m_lastHit = -1;
    uint32_t m_period = FAIR_CANNON_FIRST_PERIOD;
    uint32_t m_nextShake = 0;
};
