#include "DAX/sequences/CTimerEvent.h"

CTimerEvent::CTimerEvent(uint32_t duration, uint32_t flags) : CxEvent(flags), m_duration(duration)
{
}

void CTimerEvent::Reset()
{
    Resume();
    m_timer.Reset();
    m_stopped = false;
    CxEvent::Reset();
}

void CTimerEvent::Start()
{
    SetState(kStarted);
    m_stopped = false;
    m_timer.Start(m_duration);
}

void CTimerEvent::Stop()
{
    m_timer.Reset();
    m_stopped = true;
}

bool CTimerEvent::IsDone() const
{
    return m_stopped || (m_timer.IsRunning() && !m_timer.IsEndless() && m_timer.Remaining() == 0);
}

void CTimerEvent::Pause()
{
    if (IsPaused())
        return;
    SetState(kPaused);
    m_timer.AddPause();
}

void CTimerEvent::Resume()
{
    if (!IsPaused())
        return;
    ClearState(kPaused);
    m_timer.RemovePause();
}
