#include "game/common/CGameClock.h"

#include <algorithm>

void CGameClock::Reset(uint32_t now)
{
    m_last = now;
    m_elapsed = 0;
    m_step = 0;
}

uint32_t CGameClock::Tick(uint32_t now, bool paused)
{
    // Unsigned: the engine's 32-bit ticks wrap after 49 days.
    const uint32_t since = now - m_last;
    m_last = now;
    m_step = paused ? 0 : std::min(since, GAME_CLOCK_MAX_STEP);
    m_elapsed += m_step;
    return m_step;
}
