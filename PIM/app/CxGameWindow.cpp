#include "PIM/app/CxGameWindow.h"

#include "PIM/core/Pimstr.h"
#include "PIM/display/PimDisplay.h"

namespace {
uint32_t g_nextHandle = 1;
}

CxGameWindow::CxGameWindow() : m_handle(g_nextHandle++), m_timers(this)
{
    SetName("room");
}

CxGameWindow::~CxGameWindow()
{
    // The display system's hooks hear of the room while it is whole.
    ForgetSelf();
}

void CxGameWindow::SetRoomName(const char* name)
{
    char cut[PIM_ROOM_NAME_LENGTH + 1];
    PimStrCopy(cut, name, sizeof cut);
    SetName(cut);
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

void CxGameWindow::Pause()
{
    m_timers.Pause();
}

void CxGameWindow::Resume()
{
    m_timers.Resume();
}

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

void CxGameWindow::ClearPauseCount()
{
    if (m_pauseCount == 0)
        return;
    m_pauseCount = 0;
    Resume();
}

void CxGameWindow::AttachToScreen()
{
    CxDisplayObject* root = GetRootObject();
    if (!root)
        return;
    if (GetParent() != root) {
        SetZ(PIM_ROOM_Z);
        root->AddChild(this);
    }
    if (!m_keepOwnSize)
        SetSize(root->GetSize());
    MoveTo(0, 0);
}

void CxGameWindow::DetachFromScreen()
{
    Hide();
    Detach();
}

int CxGameWindow::LoadBackground(const char* fileName)
{
    const int code = CxSprite::Load(fileName, 1);
    if (CxDisplayObject* root = GetRootObject())
        SetSize(root->GetSize());
    Invalidate();
    return code;
}
