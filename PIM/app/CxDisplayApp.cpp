#include "PIM/app/CxDisplayApp.h"

#include "PIM/core/PimTrace.h"
#include "PIM/platform/PimKeyCodes.h"

#include <cstdio>

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
    // Seam: the built-in default font is built and registered here, and the
    // screen is given its palette, once fonts and palettes exist.
    m_previousHandler = SetErrorHandler({&CxDisplayApp::OnError, this});
    m_handlerInstalled = true;
    return PIM_OK;
}

int CxDisplayApp::ExitApplication()
{
    if (m_handlerInstalled) {
        SetErrorHandler(m_previousHandler);
        m_handlerInstalled = false;
    }
    // Seam: the default font and the cursor resources are freed here.
    return CxWindowApp::ExitApplication();
}

void CxDisplayApp::OnError(void* context, int code, const char* message)
{
    static_cast<CxDisplayApp*>(context)->ShowError(code, message);
}

void CxDisplayApp::ShowError(int code, const char* message)
{
    // Seam: the modal Continue/Quit box arrives with the widgets; "Quit" will
    // call Abort(). Until then the error goes to the trace and the game goes on.
    Trace("%s: %s\n", ErrorText(code), message ? message : "");
}

int CxDisplayApp::PaintScreen()
{
    // Seam: the display tree draws its dirty rectangles into the screen
    // surface and the screen driver presents them, once they exist.
    return PIM_OK;
}

void CxDisplayApp::InvalidateRect(const CxRect* rect)
{
    // Seam: the area is also marked dirty in the display tree.
    CxWindowApp::InvalidateRect(rect);
}

std::string CxDisplayApp::VersionText() const
{
    char text[512];
    std::snprintf(text, sizeof text, "%s v%d.%02d build %d\n%s", m_name.c_str(), m_major, m_minor, 0,
                  m_build.c_str());
    return text;
}

bool CxDisplayApp::OnRootKey(uint32_t)
{
    // Seam: the display tree routes the key to the focused object.
    return false;
}

void CxDisplayApp::OnKeyDown(uint32_t key, uint32_t flags)
{
    (void)flags;
    OnRootKey(key);
    const uint32_t base = PimKeyBase(key);
    const bool alt = (key & PIM_KEY_ALT) != 0;
    if (alt && (base == 'Q' || base == 'q' || base == PIM_KEY_F1 + 3)) {
        RequestQuit();
    } else if (alt && (base == 'V' || base == 'v')) {
        // Seam: the engine's message box titled "Product Version" with "Ok".
        Trace("Product Version: %s\n", VersionText().c_str());
    }
}

CxSize CxDisplayApp::GetRootSize() const
{
    CxSize size = m_internalSize;
    if (size.width == -1)
        size.width = GetClientWidth();
    if (size.height == -1)
        size.height = GetClientHeight();
    return size;
}

bool CxDisplayApp::ScaleMousePoint(CxPoint& point) const
{
    const int64_t clientWidth = GetClientWidth();
    const int64_t clientHeight = GetClientHeight();
    if (clientWidth <= 0 || clientHeight <= 0)
        return false;
    const CxSize root = GetRootSize();
    if (root.width != clientWidth)
        point.x = static_cast<int32_t>(int64_t{point.x} * root.width / clientWidth);
    if (root.height != clientHeight)
        point.y = static_cast<int32_t>(int64_t{point.y} * root.height / clientHeight);
    return true;
}

void CxDisplayApp::ForwardMouse(EMouse kind, uint32_t keys, CxPoint point, int32_t notches)
{
    if (ScaleMousePoint(point))
        OnRootMouse(kind, keys, point, notches);
}

void CxDisplayApp::OnRootMouse(EMouse, uint32_t, CxPoint, int32_t)
{
    // Seam: the display tree hit-tests and routes the event.
}

void CxDisplayApp::OnMouseMove(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::Move, keys, point, 0);
}
void CxDisplayApp::OnMouseWheel(uint32_t keys, CxPoint point, int32_t notches)
{
    ForwardMouse(EMouse::Wheel, keys, point, notches);
}
void CxDisplayApp::OnLButtonDown(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::LDown, keys, point, 0);
}
void CxDisplayApp::OnLButtonUp(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::LUp, keys, point, 0);
}
void CxDisplayApp::OnLButtonDblClk(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::LDouble, keys, point, 0);
}
void CxDisplayApp::OnMButtonDown(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::MDown, keys, point, 0);
}
void CxDisplayApp::OnMButtonUp(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::MUp, keys, point, 0);
}
void CxDisplayApp::OnMButtonDblClk(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::MDouble, keys, point, 0);
}
void CxDisplayApp::OnRButtonDown(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::RDown, keys, point, 0);
}
void CxDisplayApp::OnRButtonUp(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::RUp, keys, point, 0);
}
void CxDisplayApp::OnRButtonDblClk(uint32_t keys, CxPoint point)
{
    ForwardMouse(EMouse::RDouble, keys, point, 0);
}
