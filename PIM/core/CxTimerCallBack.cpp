#include "PIM/core/CxTimerCallBack.h"

#include "PIM/core/CxTimerManager.h"
#include "PIM/core/PimClock.h"

CxTimerCallBack::CxTimerCallBack(CxTimerListener* listener, uint32_t interval, int id, int userValue)
    : m_listener(listener), m_interval(interval), m_userValue(userValue), m_id(id)
{
    m_polled = CxTimerManager::Enter(this);
}

CxTimerCallBack::~CxTimerCallBack()
{
    if (m_polled)
        CxTimerManager::Leave(this);
}

void CxTimerCallBack::Pause()
{
    const bool alreadyPaused = HasPauseCapture();
    CxTimer::Pause();
    if (alreadyPaused || !HasPauseCapture())
        return;
    // A timer never called has no phase: it still fires at its first poll.
    m_phaseKept = m_interval != PIM_INFINITE && m_called;
    if (m_phaseKept)
        m_phaseAtPause = GetPauseTick() - m_lastCall;
}

void CxTimerCallBack::Resume()
{
    if (!HasPauseCapture())
        return;
    CxTimer::Resume();
    if (m_phaseKept)
        m_lastCall = PimGetTicks() - m_phaseAtPause;
    m_phaseKept = false;
}

bool CxTimerCallBack::TakeCall(uint32_t now)
{
    if (!IsRunning() || IsPaused() || !m_listener)
        return false;
    if (IsDueAt(now)) {
        Reset();
        return true;
    }
    if (m_interval == PIM_INFINITE || (m_called && now - m_lastCall < m_interval))
        return false;
    m_lastCall = now;
    m_called = true;
    return true;
}
