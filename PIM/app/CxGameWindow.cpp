#include "PIM/app/CxGameWindow.h"

#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"

namespace {
uint32_t g_nextHandle = 1;
}

CxGameWindow::CxGameWindow() : m_handle(g_nextHandle++), m_timers(this)
{
    m_view.SetName("room");
}

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

void CxGameWindow::AttachToScreen()
{
    CxDisplayObject* root = GetRootObject();
    if (!root)
        return;
    if (m_view.GetParent() != root) {
        m_view.SetZ(PIM_ROOM_Z);
        root->AddChild(&m_view);
    }
    m_view.SetSize(root->GetSize());
    m_view.MoveTo(0, 0);
}

void CxGameWindow::DetachFromScreen()
{
    m_view.Hide();
    m_view.Detach();
}

int CxGameWindow::LoadBackground(const char* fileName)
{
    const int code = m_view.Load(fileName, 1);
    // The view keeps the root's size whatever the picture's.
    if (CxDisplayObject* root = GetRootObject())
        m_view.SetSize(root->GetSize());
    m_view.Invalidate();
    return code;
}
