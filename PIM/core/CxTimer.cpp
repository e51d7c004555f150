#include "PIM/core/CxTimer.h"

#include "PIM/core/PimClock.h"

void CxTimer::Start(uint32_t duration)
{
    Reset();
    const uint32_t now = PimGetTicks();
    m_running = true;
    m_startTick = now;
    m_endless = duration == 0 || duration == PIM_INFINITE;
    if (!m_endless)
        m_endTick = now + (duration > kMaxTimerSpan ? kMaxTimerSpan : duration);
    // Restarted while its owner holds it paused: its time starts running at
    // the resume, like the rest of a paused timer's time.
    if (m_pauseCount > 0)
        Pause();
}

uint32_t CxTimer::Reset()
{
    const uint32_t elapsed = Elapsed();
    m_running = false;
    m_endless = false;
    m_captured = false;
    m_startTick = 0;
    m_endTick = 0;
    m_pauseTick = 0;
    m_remainingAtPause = 0;
    return elapsed;
}

uint32_t CxTimer::Elapsed() const
{
    if (!m_running)
        return 0;
    return (m_captured ? m_pauseTick : PimGetTicks()) - m_startTick;
}

uint32_t CxTimer::Remaining() const
{
    if (!m_running)
        return 0;
    if (m_captured)
        return m_remainingAtPause;
    if (m_endless)
        return PIM_INFINITE;
    const int32_t left = static_cast<int32_t>(m_endTick - PimGetTicks());
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

bool CxTimer::IsDueAt(uint32_t now) const
{
    return m_running && !m_endless && static_cast<int32_t>(now - m_endTick) >= 0;
}

void CxTimer::Pause()
{
    if (!m_running || m_captured)
        return;
    m_remainingAtPause = Remaining();
    m_pauseTick = PimGetTicks();
    m_captured = true;
}

void CxTimer::Resume()
{
    if (!m_captured)
        return;
    const uint32_t now = PimGetTicks();
    m_startTick += now - m_pauseTick;
    if (!m_endless)
        m_endTick = now + m_remainingAtPause;
    m_captured = false;
    m_pauseTick = 0;
    m_remainingAtPause = 0;
}

void CxTimer::AddPause()
{
    if (m_pauseCount++ == 0)
        Pause();
}

void CxTimer::RemovePause()
{
    if (m_pauseCount > 0 && --m_pauseCount == 0)
        Resume();
}

uint32_t CxTimer::GetEndTick() const
{
    if (!m_running)
        return 0;
    return m_endless ? PIM_INFINITE : m_endTick;
}
