#include "PIM/app/CxDisplayApp.h"

#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/CxDisplayObject.h"
#include "PIM/display/CxScreenSurface.h"
#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"
#include "PIM/text/CxFont.h"
#include "PIM/widgets/CxCommonControls.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kVersionTitle = "Product Version";

int ModalFrameStep(void* context)
{
    return static_cast<CxDisplayApp*>(context)->ModalFrame();
}

bool ModalExitRequested(void* context)
{
    const auto* app = static_cast<const CxDisplayApp*>(context);
    return app->IsQuitting() || app->IsAborting();
}

void ModalFlushMessages(void* context)
{
    static_cast<CxDisplayApp*>(context)->FlushMessages();
}

} // namespace

CxDisplayApp::CxDisplayApp(const ST_APP_INIT& init) : CxWindowApp(init) {}

int CxDisplayApp::InitInstance()
{
    int width = -1, height = -1;
    GetPoint("Engine.Window", "InternalSize", &width, &height, -1, -1);
    // -1 (the window's size) or at least one pixel: anything else would
    // divide mouse points by nothing.
    if ((width != -1 && width < 1) || (height != -1 && height < 1))
        width = height = -1;
    m_internalSize = CxSize(width, height);
    return CxWindowApp::InitInstance();
}

int CxDisplayApp::InitApplication()
{
    CxWindowApp::InitApplication();
    // Text needs a font before anything is drawn: the built-in one.
    CreateDefaultFont();
    m_previousHandler = SetErrorHandler({&CxDisplayApp::OnError, this});
    m_handlerInstalled = true;
    // Dialogs run their loops through this application's frame. The error
    // limit is read once here: nothing reads options per frame.
    ST_MODAL_LOOP loop;
    loop.frameStep = &ModalFrameStep;
    loop.exitRequested = &ModalExitRequested;
    loop.flushMessages = &ModalFlushMessages;
    loop.errorLimit = GetInt("Engine", "MaxErrorCount", PIM_MODAL_DEFAULT_ERROR_LIMIT);
    loop.context = this;
    m_previousModalLoop = GetModalLoop();
    SetModalLoop(loop);
    m_modalLoopInstalled = true;
    return PIM_OK;
}

int CxDisplayApp::ExitApplication()
{
    if (m_handlerInstalled) {
        SetErrorHandler(m_previousHandler);
        m_handlerInstalled = false;
    }
    if (m_modalLoopInstalled) {
        SetModalLoop(m_previousModalLoop);
        m_modalLoopInstalled = false;
    }
    DeleteDefaultFont();
    ShutdownDisplay();
    return CxWindowApp::ExitApplication();
}

void CxDisplayApp::OnScreenCreated()
{
    CxScreenSurface* screen = GetScreen();
    const CxSize root = GetRootSize();
    if (screen)
        SetDisplayDepth(screen->GetDepth()); // what movie pictures are prepared for
    if (!IsDisplayInitialised()) {
        InitDisplay(root, 1);
    } else if (CxDisplayObject* top = GetRootObject(); top && top->GetSize() != root) {
        // A new screen size: the tree keeps its objects, the root takes the size.
        top->SetSize(root);
    }
    InvalidateAll();
    // The cursors were set up with the application: the screen takes them
    // as they are now, with whatever was registered and selected since.
    if (screen)
        AttachCursorsToScreen(screen->GetDepth(), screen->GetPixelLayout());
}

void CxDisplayApp::OnError(void* context, int code, const char* message)
{
    static_cast<CxDisplayApp*>(context)->ShowError(code, message);
}

bool CxDisplayApp::CanShowBox() const
{
    return m_modalLoopInstalled && !m_unattended && !m_abort && IsDisplayInitialised() && GetScreen() != nullptr;
}

int CxDisplayApp::ModalFrame()
{
    if (m_unattended)
        return 1;
    BeginModal();
    const int result = DoFrame();
    EndModal();
    // The window was closed: the game ends too, not just this box.
    if (result != 0)
        m_quit = true;
    return result;
}

void CxDisplayApp::ShowError(int code, const char* message)
{
    // The console and the log keep every error, answered or not.
    Trace("Error %d (%s): %s\n", code, ErrorText(code), message ? message : "");
    if (!CanShowBox())
        return;
    static const char* const kLabels[] = {"Continue", "Quit"};
    // -1 (the loop ended without an answer: quit, abort, error limit) is
    // taken as "Continue": whatever ended the loop decides what comes next.
    if (ShowMessageBox(ErrorText(code), message ? message : "", kLabels, 2) != 1)
        return;
    // "Quit": no exception may cross the C and Lua frames below us, so the
    // abort flag ends every modal loop and the main loop, and Run leaves in
    // order. Later errors go to whoever handled them before us.
    if (m_handlerInstalled) {
        SetErrorHandler(m_previousHandler);
        m_handlerInstalled = false;
    }
    Abort();
}

void CxDisplayApp::ShowPrintNotice(const char* text)
{
    CxWindowApp::ShowPrintNotice(text);
    if (!CanShowBox())
        return;
    static const char* const kLabels[] = {"Ok"};
    ShowMessageBox("Printout", text, kLabels, 1);
}

int CxDisplayApp::PaintScreen()
{
    CxScreenSurface* screen = GetScreen();
    if (!screen || !HasState(PIM_STATE_ACTIVE) || !IsDisplayInitialised())
        return PIM_OK;
    // Exactly the rectangles redrawn are presented.
    const int count = GetDirtyRects(m_dirty, PIM_MAX_DIRTY_RECTS);
    int code = PIM_OK;
    if (count > 0) {
        RedrawDirty(*screen);
        code = screen->Present(m_dirty, count);
    } else if (IsCursorDirty()) {
        code = screen->PresentCursor();
    }
    if (code == PIM_SCREEN_DEVICE_LOST) {
        OnDeviceLost();
        screen->ResetDevice();
        OnDeviceRestored();
        InvalidateAll();
    }
    return PIM_OK;
}

void CxDisplayApp::InvalidateRect(const CxRect* rect)
{
    if (rect)
        Invalidate(*rect);
    else
        InvalidateAll();
    CxWindowApp::InvalidateRect(rect);
}

void CxDisplayApp::OnPaint(const CxRect& rect)
{
    // The window lost part of its picture: draw it again next frame.
    InvalidateRect(&rect);
}

std::string CxDisplayApp::VersionText() const
{
    char text[512];
    std::snprintf(text, sizeof text, "%s v%d.%02d build %d\n%s", m_name.c_str(), m_major, m_minor, 0,
                  m_build.c_str());
    return text;
}

bool CxDisplayApp::OnRootKey(uint32_t key, uint32_t flags)
{
    if (!GetFocusObject())
        return false;
    DispatchKeyDown(key, flags);
    return true;
}

bool CxDisplayApp::OnRootKeyUp(uint32_t key, uint32_t flags)
{
    if (!GetFocusObject())
        return false;
    DispatchKeyUp(key, flags);
    return true;
}

void CxDisplayApp::OnKeyUp(uint32_t key, uint32_t flags)
{
    OnRootKeyUp(key, flags);
}

void CxDisplayApp::OnKeyDown(uint32_t key, uint32_t flags)
{
    OnRootKey(key, flags);
    const uint32_t base = PimKeyBase(key);
    const bool alt = (key & PIM_KEY_ALT) != 0;
    if (alt && (base == 'Q' || base == 'q' || base == PIM_KEY_F1 + 3)) {
        RequestQuit();
    } else if (alt && (base == 'V' || base == 'v')) {
        ShowVersionBox();
    }
}

bool CxDisplayApp::WaitForScreen(int maxFrames)
{
    for (int i = 0; i < maxFrames && !GetScreen() && !m_quit && !m_abort; ++i)
        if (DoFrame() != 0)
            m_quit = true;
    return GetScreen() != nullptr && IsDisplayInitialised();
}

void CxDisplayApp::ShowVersionBox()
{
    const CxCommonMessageBox* open = GetOpenMessageBox();
    if (open && std::strcmp(open->GetTitle(), kVersionTitle) == 0)
        return;
    if (!CanShowBox()) {
        Trace("%s: %s\n", kVersionTitle, VersionText().c_str());
        return;
    }
    static const char* const kLabels[] = {"Ok"};
    ShowMessageBox(kVersionTitle, VersionText().c_str(), kLabels, 1);
}

CxSize CxDisplayApp::GetPointSize() const
{
    // Points arrive in the screen's pixels (an accelerated screen maps the
    // window's points back onto its own); before a screen, the client's.
    if (const CxScreenSurface* screen = GetScreen())
        return CxSize(screen->GetWidth(), screen->GetHeight());
    return CxSize(GetClientWidth(), GetClientHeight());
}

CxSize CxDisplayApp::GetRootSize() const
{
    CxSize size = m_internalSize;
    const CxSize points = GetPointSize();
    if (size.width == -1)
        size.width = points.width;
    if (size.height == -1)
        size.height = points.height;
    return size;
}

bool CxDisplayApp::ScaleMousePoint(CxPoint& point) const
{
    const CxSize points = GetPointSize();
    const int64_t clientWidth = points.width;
    const int64_t clientHeight = points.height;
    if (clientWidth <= 0 || clientHeight <= 0)
        return false;
    const CxSize root = GetRootSize();
    if (root.width != clientWidth)
        point.x = static_cast<int32_t>(int64_t{point.x} * root.width / clientWidth);
    if (root.height != clientHeight)
        point.y = static_cast<int32_t>(int64_t{point.y} * root.height / clientHeight);
    return true;
}

void CxDisplayApp::OnMouse(const ST_MOUSE_EVENT& event)
{
    ST_MOUSE_EVENT scaled = event;
    if (ScaleMousePoint(scaled.point))
        OnRootMouse(scaled);
}

void CxDisplayApp::OnRootMouse(const ST_MOUSE_EVENT& event)
{
    SetCursorPosition(event.point);
    if (IsDisplayInitialised())
        DispatchMouse(event);
}
