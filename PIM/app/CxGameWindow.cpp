#include "PIM/app/CxGameWindow.h"

#include "PIM/core/Pimstr.h"

namespace {
uint32_t g_nextHandle = 1;
}

CxGameWindow::CxGameWindow() : m_handle(g_nextHandle++), m_timers(this) {}

CxGameWindow::~CxGameWindow() = default;

void CxGameWindow::SetRoomName(const char* name)
{
    PimStrCopy(m_name, name, sizeof m_name);
}

int CxGameWindow::Unload()
{
    m_timers.KillAllTimers();
    m_timers.Flush();
    return 0;
}

int CxGameWindow::Update()
{
    m_timers.Flush();
    return 0;
}

void CxGameWindow::OnTimer(CxTimerCallBack*) {}

void CxGameWindow::AddPause()
{
    if (++m_pauseCount == 1)
        Pause();
}

void CxGameWindow::ReleasePause()
{
    // The count never goes below 0: an extra resume does nothing.
    if (m_pauseCount == 0)
        return;
    if (--m_pauseCount == 0)
        Resume();
}
