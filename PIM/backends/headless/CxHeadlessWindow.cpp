#include "PIM/backends/headless/CxHeadlessWindow.h"

#include "PIM/backends/headless/CxMemoryScreen.h"

namespace {

ST_MESSAGE Message(EMessage type)
{
    ST_MESSAGE message;
    message.type = type;
    return message;
}

} // namespace

bool CxHeadlessWindow::Post(const ST_MESSAGE& message)
{
    return m_queue.Enqueue(message);
}

bool CxHeadlessWindow::QueryDesktop(ST_DESKTOP& out)
{
    out = m_desktop;
    return true;
}

bool CxHeadlessWindow::Create(const ST_WINDOW_SETUP& setup)
{
    if (m_record.created)
        Destroy();

    m_record.setup = setup;
    m_record.created = true;
    m_record.visible = !(setup.flags & PIM_WF_HIDDEN);
    m_record.minimized = false;
    m_record.maximized = false;
    m_record.fullScreen = false;
    ++m_record.creates;

    m_windowedWidth = setup.width;
    m_windowedHeight = setup.height;
    if (setup.flags & PIM_WF_CENTERED) {
        m_windowedLeft = (m_desktop.width - setup.width) / 2;
        m_windowedTop = (m_desktop.height - setup.height) / 2;
    } else {
        m_windowedLeft = setup.left;
        m_windowedTop = setup.top;
    }
    m_record.left = m_windowedLeft;
    m_record.top = m_windowedTop;
    m_record.width = m_windowedWidth;
    m_record.height = m_windowedHeight;
    if (setup.fullScreen)
        ApplyFullScreen(true);

    ST_MESSAGE activateApp = Message(EMessage::ActivateApp);
    activateApp.active = true;
    ST_MESSAGE activate = Message(EMessage::Activate);
    activate.active = true;
    ST_MESSAGE size = Message(EMessage::Size);
    size.width = m_record.width;
    size.height = m_record.height;
    ST_MESSAGE paint = Message(EMessage::Paint);
    return Post(activateApp) && Post(activate) && Post(size) && Post(paint);
}

void CxHeadlessWindow::Destroy()
{
    if (!m_record.created)
        return;
    m_record.created = false;
    m_record.visible = false;
    ++m_record.destroys;
}

void CxHeadlessWindow::Show()
{
    m_record.visible = true;
    ++m_record.shows;
}

void CxHeadlessWindow::Hide()
{
    m_record.visible = false;
    ++m_record.hides;
}

void CxHeadlessWindow::Minimize()
{
    m_record.minimized = true;
    ++m_record.minimizes;
}

void CxHeadlessWindow::Maximize()
{
    m_record.minimized = false;
    m_record.maximized = true;
    ++m_record.maximizes;
}

void CxHeadlessWindow::Restore()
{
    m_record.minimized = false;
    m_record.maximized = false;
    ++m_record.restores;
}

void CxHeadlessWindow::Move(int32_t left, int32_t top)
{
    m_windowedLeft = left;
    m_windowedTop = top;
    if (!m_record.fullScreen) {
        m_record.left = left;
        m_record.top = top;
    }
    ++m_record.moves;
}

void CxHeadlessWindow::SetFullScreen(bool on)
{
    ApplyFullScreen(on);
    ++m_record.fullScreenChanges;
}

void CxHeadlessWindow::ApplyFullScreen(bool on)
{
    m_record.fullScreen = on;
    if (on) {
        m_record.left = 0;
        m_record.top = 0;
        m_record.width = m_desktop.width;
        m_record.height = m_desktop.height;
    } else {
        m_record.left = m_windowedLeft;
        m_record.top = m_windowedTop;
        m_record.width = m_windowedWidth;
        m_record.height = m_windowedHeight;
    }
}

void CxHeadlessWindow::GetClientRect(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const
{
    left = m_record.left;
    top = m_record.top;
    width = m_record.width;
    height = m_record.height;
}

bool CxHeadlessWindow::PollMessage(ST_MESSAGE& out)
{
    if (!m_queue.Dequeue(out))
        return false;
    if (out.type == EMessage::Mouse)
        m_pointer = out.mouse.point;
    return true;
}

bool CxHeadlessWindow::WarpPointer(CxPoint point)
{
    if (!m_record.created)
        return false;
    m_pointer = point;
    ST_MESSAGE move = Message(EMessage::Mouse);
    move.mouse = MouseEvent(EMouseAction::Move, EMouseButton::None, point);
    return Post(move);
}

bool CxHeadlessWindow::GetPointer(CxPoint& out) const
{
    if (!m_record.created)
        return false;
    out = m_pointer;
    return true;
}

void CxHeadlessWindow::FlushMessages()
{
    m_queue.RemoveIf([](const ST_MESSAGE& message) { return IsInputMessage(message.type); });
    ++m_record.flushes;
}

void CxHeadlessWindow::PresentCleared()
{
    ++m_record.presents;
}

CxScreenSurface* CxHeadlessWindow::CreateScreen(bool accelerated)
{
    (void)accelerated;
    auto* screen = new CxMemoryScreen;
    if (screen)
        screen->SetWindow(this);
    return screen;
}

void CxHeadlessWindow::SetScreenSaver(bool enabled)
{
    m_record.screenSaver = enabled;
}
