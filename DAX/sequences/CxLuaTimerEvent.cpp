#include "DAX/sequences/CxLuaTimerEvent.h"

#include "DAX/base/CDaxServices.h"

CxLuaTimerEvent::CxLuaTimerEvent(uint32_t duration, uint32_t interval, const char* text, uint32_t flags)
    : CTimerEvent(duration, flags), m_text(text ? text : ""), m_interval(interval), m_calls(this, interval)
{
}

// CTimerEvent::Reset resumes first (through Resume here), which gives the
// calls' pause back too.
void CxLuaTimerEvent::Reset()
{
    m_calls.Reset();
    CTimerEvent::Reset();
}

void CxLuaTimerEvent::Start()
{
    m_calls.SetInterval(m_interval);
    m_calls.Start(0);
    m_calls.SetLastCallTick(m_calls.GetStartTick());
    CTimerEvent::Start();
}

void CxLuaTimerEvent::Stop()
{
    m_calls.Reset();
    CTimerEvent::Stop();
}

void CxLuaTimerEvent::Pause()
{
    if (!IsPaused())
        m_calls.AddPause();
    CTimerEvent::Pause();
}

void CxLuaTimerEvent::Resume()
{
    if (IsPaused())
        m_calls.RemovePause();
    CTimerEvent::Resume();
}

void CxLuaTimerEvent::OnDone()
{
    m_calls.Reset();
}

void CxLuaTimerEvent::OnTimer(CxTimerCallBack*)
{
    if (IsDone())
        return;
    DaxServices().RunScript(m_text.GetText());
}
