#include "DAX/sequences/CxLuaEvent.h"

#include "DAX/base/CDaxServices.h"

CxLuaEvent::CxLuaEvent(const char* text, uint32_t flags) : CxEvent(flags), m_text(text ? text : "")
{
}

void CxLuaEvent::Reset()
{
    m_done = false;
    CxEvent::Reset();
}

void CxLuaEvent::Start()
{
    SetState(kStarted);
    m_done = true;
    DaxServices().RunScript(m_text.GetText());
}

// A paused Lua event holds its channel until resumed, as a notice does.
void CxLuaEvent::Pause()
{
    SetState(kPaused);
}

void CxLuaEvent::Resume()
{
    ClearState(kPaused);
}
