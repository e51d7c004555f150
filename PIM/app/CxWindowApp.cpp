#include "PIM/app/CxWindowApp.h"
#include "PIM/app/CxPrinter.h"
#include "PIM/app/PimPageLayout.h"
#include "PIM/core/PimClock.h"
#include "PIM/os/PimSystemClock.h"
#include "PIM/os/PimWallClock.h"

#include "PIM/core/CxError.h"
#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/PimTrace.h"
#include "PIM/display/CxScreenSurface.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxPal.h"
#include "PIM/graphics/PimPixelFormat.h"
#include "PIM/os/PimShellFolders.h"
#include "PIM/os/PimSystemInfo.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <new>

CxWindowApp::CxWindowApp(const ST_APP_INIT& init)
    : CxApp(init), m_windowRect(CxRect::FromSize(CxPoint(init.left, init.top), CxSize(init.width, init.height))),
      m_clientRect(m_windowRect), m_depth(init.depth), m_flags(init.windowFlags)
{
}

CxWindowApp::~CxWindowApp()
{
    DestroyScreen();
    DestroyMainWindow();
}

void CxWindowApp::SetBackend(const ST_PLATFORM_BACKEND& backend)
{
    m_backend = backend;
    m_hasBackend = true;
}

int CxWindowApp::QueryDesktop()
{
    if (!m_window || !m_window->QueryDesktop(m_desktop))
        return SetAppError(PIM_ERR_UNKNOWN, "Call to ::GetDC(NULL) failed");
    return PIM_OK;
}

int CxWindowApp::InitInstance()
{
    CxApp::InitInstance();
    if (!m_hasBackend || !m_backend.makeWindow)
        return SetAppError(PIM_ERR_BAD_ARG, "No platform back end was chosen: %s has no window to open",
                           m_name.c_str());
    if (!m_window)
        m_window.reset(m_backend.makeWindow());
    QueryDesktop();
    m_customCursor = GetInt("Engine", "UseCustomCursor", (m_flags & PIM_WF_CUSTOM_CURSOR) ? 1 : 0) != 0;

    // The rectangle, then position and size, each defaulting to what came before.
    const ST_APP_INIT& init = GetInit();
    int left = init.left, top = init.top, right = init.left + init.width, bottom = init.top + init.height;
    GetRect("Engine.Window", "Rect", &left, &top, &right, &bottom, left, top, right, bottom);
    int x = left, y = top, width = right - left, height = bottom - top;
    GetPoint("Engine.Window", "Position", &x, &y, x, y);
    GetPoint("Engine.Window", "Size", &width, &height, width, height);
    // A window needs at least one pixel each way; hostile sizes fall back.
    if (width < 1 || height < 1) {
        width = init.width;
        height = init.height;
    }
    int depth = GetInt("Engine.Window", "Depth", init.depth);
    m_depth = depth < 1 ? m_desktop.depth : depth;

    CreateMainWindow(CxRect::FromSize(CxPoint(x, y), CxSize(width, height)));
    if (!(m_flags & PIM_WF_HIDDEN))
        ShowMainWindow();
    return PIM_OK;
}

void CxWindowApp::TakeExitScreenshot()
{
    if (m_exitScreenshot.empty() || m_exitScreenshotTaken)
        return;
    m_exitScreenshotTaken = true;
    m_exitScreenshotResult = m_screen ? ScreenCapture(m_exitScreenshot.c_str()) : PIM_ERR_BAD_ARG;
}

int CxWindowApp::ExitInstance()
{
    TakeExitScreenshot();
    DestroyScreen();
    DestroyMainWindow();
    m_window.reset();
    m_palette.reset();
    return CxApp::ExitInstance();
}

int CxWindowApp::CreateMainWindow(const CxRect& rect)
{
    DestroyMainWindow();
    if (!m_palette) {
        m_palette.reset(new (std::nothrow) CxOSPalette);
        if (!m_palette)
            return SetAppError(PIM_ERR_UNKNOWN, "Could not allocate a new CxOSPalette");
    }
    if (m_gameSize.IsEmpty())
        m_gameSize = CxSize(static_cast<int32_t>(rect.Width()), static_cast<int32_t>(rect.Height()));

    const bool accelerated = GetInt("Engine", "UseDirectDraw", (m_flags & PIM_WF_ACCELERATED) ? 1 : 0) != 0;
    SetState(PIM_STATE_ACCELERATED, accelerated);

    m_fullScreen = GetInt("Engine", "FullScreen", (m_flags & PIM_WF_FULLSCREEN) ? 1 : 0) != 0;
    if (m_fullScreenOverride >= 0)
        m_fullScreen = m_fullScreenOverride != 0;

    ST_WINDOW_SETUP setup;
    setup.title = m_name;
    setup.left = rect.left;
    setup.top = rect.top;
    setup.width = static_cast<int32_t>(rect.Width());
    setup.height = static_cast<int32_t>(rect.Height());
    setup.flags = m_flags;
    setup.fullScreen = m_fullScreen;
    if (!m_window || !m_window->Create(setup))
        return SetAppError(PIM_ERR_UNKNOWN, "Unable to CreateWindow(%s)", m_name.c_str());

    int32_t l = 0, t = 0, w = 0, h = 0;
    m_window->GetClientRect(l, t, w, h);
    m_clientRect = CxRect::FromSize(CxPoint(l, t), CxSize(w, h));
    m_windowRect = m_clientRect;
    SetState(PIM_STATE_MOUSE, true);
    return PIM_OK;
}

void CxWindowApp::DestroyMainWindow()
{
    if (m_window && m_window->IsCreated())
        m_window->Destroy();
    SetState(PIM_STATE_ACTIVE | PIM_STATE_MOUSE, false);
}

int CxWindowApp::CreateScreen(int32_t width, int32_t height, int32_t depth)
{
    DestroyScreen();
    if (!m_window)
        return SetAppError(PIM_ERR_UNKNOWN, "There is no window to show the screen in");
    // The screens' keys (named after the libraries the game was first made
    // for), read with their defaults so that an exported configuration lists
    // them. Every hardware choice maps to the accelerated screen;
    // "UseDirect3D" 2 asks for it in a window.
    const int direct3D = GetInt("Engine", "UseDirect3D", 0);
    GetInt("Engine.DirectDraw", "UseSystemRAM", 0);
    const bool accelerated = HasState(PIM_STATE_ACCELERATED) || direct3D != 0 || m_fullScreen;

    ST_SCREEN_SETTINGS settings;
    settings.window = m_window.get();
    settings.depth = depth;
    settings.scale = m_scale;
    settings.windowed = !m_fullScreen || direct3D == 2;
    // Screens keep the game's size and scale the picture to the window.
    settings.width = !m_gameSize.IsEmpty() ? m_gameSize.width : width;
    settings.height = !m_gameSize.IsEmpty() ? m_gameSize.height : height;

    std::unique_ptr<CxScreenSurface> screen(m_window->CreateScreen(accelerated));
    int code = screen ? screen->Open(settings) : PIM_ERR_OUT_OF_MEMORY;
    if (code != PIM_OK && accelerated) {
        // No renderer: the software screen still shows the game, in a window.
        Trace("The accelerated screen could not open (%s); using the software screen\n", ErrorText(code));
        settings.windowed = true;
        screen.reset(m_window->CreateScreen(false));
        code = screen ? screen->Open(settings) : PIM_ERR_OUT_OF_MEMORY;
    }
    if (!screen)
        return SetAppError(PIM_ERR_OUT_OF_MEMORY, "Could not create a CxDibScreen");
    if (code != PIM_OK)
        return SetAppError(code, "Could not open the screen (%d x %d, %d bits)", settings.width, settings.height,
                           settings.depth);
    m_screen = std::move(screen);
    m_hasScreen = true;
    SetState(PIM_STATE_WINDOWED, !m_screen->IsFullScreen());
    Trace("Screen: %s, %d x %d, %d bits%s\n", m_screen->GetKindName(), m_screen->GetWidth(), m_screen->GetHeight(),
          m_screen->GetDepth(), m_screen->IsFullScreen() ? ", full screen" : "");
    // Clear it and show it once.
    m_screen->FillRect(m_screen->GetRect(), 0);
    m_screen->Present(nullptr, 0);
    OnScreenCreated();
    return PIM_OK;
}

void CxWindowApp::DestroyScreen()
{
    if (m_screen)
        m_screen->Close();
    m_screen.reset();
    m_hasScreen = false;
}

int CxWindowApp::ScreenCapture(const char* fileName)
{
    if (!m_screen)
        return SetAppError(PIM_ERR_BAD_ARG, "There is no screen to capture");
    char name[64];
    if (!fileName || !*fileName) {
        std::tm local{};
        PimLocalTime(PimWallClockSeconds(), local);
        std::snprintf(name, sizeof name, "<default>%4d-%02d-%02d-%02d-%02d-%02d.tga", local.tm_year + 1900,
                      local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
        fileName = name;
    }
    // The writers convert a copy: the back buffer is never touched.
    const int code = m_screen->Save(fileName, 0);
    m_screen->ClearError();
    return code;
}

// --- printing ---------------------------------------------------------------------

namespace {

constexpr const char* kPrintDocument = "Printout";

// The busy cursor while a printout is made, whatever way it ends.
class BusyCursor
{
public:
    BusyCursor() : m_previous(GetCursor()) { SetCursor(PIM_CURSOR_WAIT); }
    ~BusyCursor() { SetCursor(m_previous); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    int m_previous;
};

} // namespace

void CxWindowApp::SetPrinter(std::unique_ptr<CxPrinter> printer)
{
    m_printer = std::move(printer);
}

std::string CxWindowApp::GetPrintFolder() const
{
    if (!m_printFolder.empty())
        return m_printFolder;
    char data[1024];
    const int length = GetShellFolder("AppData", false, data, static_cast<int>(sizeof data));
    if (length <= 0 || length >= static_cast<int>(sizeof data))
        return m_startFolder; // no data folder: beside where the game started
    std::string folder = data;
    if (folder.back() != '/')
        folder.push_back('/');
    return folder + m_name;
}

void CxWindowApp::ShowPrintNotice(const char* text)
{
    Trace("%s: %s\n", kPrintDocument, text);
}

int CxWindowApp::PrintSurface(CxDrawSurface& surface, bool landscape, bool withDialog, double scale)
{
    if (!surface.IsCreated() || surface.GetWidth() <= 0 || surface.GetHeight() <= 0)
        return ReportError(PIM_ERR_BAD_ARG, "Nothing to print: the picture is empty");
    BusyCursor busy;

    // Printers take true colour: a copy of anything less is converted.
    CxDrawSurface converted;
    CxDrawSurface* picture = &surface;
    if (surface.GetDepth() < 24) {
        if (converted.CreateCopy(surface) != PIM_OK || converted.ConvertFormat(24, PIM_LAYOUT_DEFAULT) != PIM_OK)
            return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not convert the picture to print it");
        converted.ClearError();
        picture = &converted;
    }

    std::unique_ptr<CxPrinter> systemPrinter;
    CxPrinter* printer = m_printer.get();
    if (!printer) {
        systemPrinter = CxPrinter::CreateSystemPrinter(GetPrintFolder());
        printer = systemPrinter.get();
    }

    // Each step that fails is reported as the step it is.
    const char* failed = nullptr;
    ST_PAGE_SETUP page;
    ST_PAGE_LAYOUT layout;
    if (!printer->Open(withDialog, landscape, page) ||
        !PimLayoutPage(page, landscape, picture->GetSize(), scale, layout))
        failed = "GetPrinterDC() Failed";
    else if (!printer->StartDoc(kPrintDocument))
        failed = "StartDoc() Failed!";
    else if (!printer->StartPage())
        failed = "StartPage() Failed!";
    else if (!printer->DrawPicture(*picture, layout.picture) || !printer->EndPage() || !printer->EndDoc())
        failed = "EndPage() Failed!";
    const std::string problem = failed ? printer->GetLastProblem() : std::string();
    const std::string notice = failed ? std::string() : printer->GetNotice();
    printer->Close();

    if (failed) {
        if (!problem.empty())
            Trace("Printing failed: %s\n", problem.c_str());
        return ReportError(PIM_ERR_PRINTER, "%s", failed);
    }
    if (!notice.empty())
        ShowPrintNotice(notice.c_str());
    return PIM_OK;
}

int CxWindowApp::PrintScreen(bool landscape)
{
    if (!m_screen)
        return ReportError(PIM_ERR_BAD_ARG, "There is no screen to print");
    // What the screen shows now, without the cursor (the back buffer never keeps it).
    CxDrawSurface shown;
    if (shown.CreateCopy(*m_screen) != PIM_OK)
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not copy the screen to print it");
    shown.ClearError();
    return PrintSurface(shown, landscape, false, 0.0);
}

int CxWindowApp::PrintFile(const char* fileName, bool landscape)
{
    if (!fileName || !*fileName)
        return ReportError(PIM_ERR_BAD_ARG, "PrintFile: no picture file was named");
    CxDrawSurface picture;
    // The readers report what was wrong with the file.
    const int code = picture.Load(fileName);
    if (code != PIM_OK)
        return code;
    picture.ClearError();
    return PrintSurface(picture, landscape, false, 0.0);
}

int CxWindowApp::InitApplication()
{
    CxApp::InitApplication();
    InitCursors(m_customCursor, m_depth, GetPreferredLayout16());
    return PIM_OK;
}

int CxWindowApp::ExitApplication()
{
    ShutdownCursors();
    return CxApp::ExitApplication();
}

int CxWindowApp::PaintScreen()
{
    return PIM_OK;
}

void CxWindowApp::ShowMainWindow()
{
    if (m_window)
        m_window->Show();
}

void CxWindowApp::HideMainWindow()
{
    if (m_window)
        m_window->Hide();
}

void CxWindowApp::MinimizeMainWindow()
{
    if (m_window)
        m_window->Minimize();
}

void CxWindowApp::MaximizeMainWindow()
{
    if (m_window)
        m_window->Maximize();
}

void CxWindowApp::RestoreMainWindow()
{
    if (m_window)
        m_window->Restore();
}

void CxWindowApp::CenterMainWindow()
{
    int32_t width = static_cast<int32_t>(m_windowRect.Width());
    int32_t height = static_cast<int32_t>(m_windowRect.Height());
    MoveMainWindow((m_desktop.width - width) / 2, (m_desktop.height - height) / 2);
}

void CxWindowApp::MoveMainWindow(int32_t x, int32_t y)
{
    if (m_window)
        m_window->Move(x, y);
    m_windowRect = CxRect::FromSize(CxPoint(x, y), CxSize(static_cast<int32_t>(m_windowRect.Width()),
                                                          static_cast<int32_t>(m_windowRect.Height())));
    m_clientRect = m_windowRect;
}

int CxWindowApp::SetMainWindowRect(const CxRect& client, int depth)
{
    if (client.IsEmpty())
        return PIM_ERR_BAD_ARG;
    if (depth >= 1)
        m_depth = depth;
    if (HasState(PIM_STATE_ACCELERATED) && m_hasScreen) {
        DestroyScreen();
        CreateMainWindow(client);
        return CreateScreen(static_cast<int32_t>(client.Width()), static_cast<int32_t>(client.Height()), m_depth);
    }
    m_clientRect = client;
    m_windowRect = client;
    if (m_window)
        m_window->Move(client.left, client.top);
    return PIM_OK;
}

void CxWindowApp::FlushMessages()
{
    if (m_window)
        m_window->FlushMessages();
}

bool CxWindowApp::WarpMouse(int32_t x, int32_t y)
{
    return m_window && m_window->WarpPointer(CxPoint(x, y));
}

bool CxWindowApp::GetMousePosition(int32_t& x, int32_t& y) const
{
    CxPoint point;
    if (!m_window || !m_window->GetPointer(point))
        return false;
    x = point.x;
    y = point.y;
    return true;
}

void CxWindowApp::ValidateRect(const CxRect*) {}

void CxWindowApp::InvalidateRect(const CxRect*) {}

int CxWindowApp::DoFrame()
{
    ST_MESSAGE message;
    const bool busy = m_window && m_window->PollMessage(message);
    if (busy) {
        if (message.type == EMessage::Quit)
            return 1;
        WindowProc(message);
    }
    // A minimised game stands still: no callbacks, timers or updates.
    if (!HasState(PIM_STATE_SUSPENDED))
        CxApp::DoFrame();
    // With nothing to handle, a real window need not spin at thousands of
    // frames a second: idle frames are spaced out. Messages are never kept
    // waiting, and headless runs keep their virtual time.
    if (!busy && !IsHeadless())
        PaceIdleFrame();
    return 0;
}

void CxWindowApp::PaceIdleFrame()
{
    // Only real windows pace, on the system's clock; the difference is taken
    // in 32 bits, so the tick count may wrap.
    const uint32_t now = PimGetTicks();
    const uint32_t waited = now - m_lastIdleFrame;
    if (waited < static_cast<uint32_t>(kIdleFrameMilliseconds)) {
        PimSleep(kIdleFrameMilliseconds - waited);
        m_lastIdleFrame += kIdleFrameMilliseconds;
    } else {
        m_lastIdleFrame = now;
    }
}

int CxWindowApp::WindowProc(const ST_MESSAGE& m)
{
    const CxPoint point(m.x, m.y);
    const bool mouse = HasState(PIM_STATE_MOUSE);
    switch (m.type) {
    case EMessage::Move:
        OnMove(m.x, m.y);
        break;
    case EMessage::Size:
        if (m.minimized || m.hidden) {
            SetState(PIM_STATE_SUSPENDED, true);
        } else {
            SetState(PIM_STATE_SUSPENDED, false);
            if (HasState(PIM_STATE_WINDOWED) && m.width > 0 && m.height > 0)
                OnSize(m.width, m.height);
        }
        break;
    case EMessage::Activate:
        SetState(PIM_STATE_SUSPENDED, m.minimized);
        if (m.active)
            OnActivate();
        else
            OnDeactivate();
        break;
    case EMessage::Paint:
        OnPaint(m.width > 0 && m.height > 0 ? CxRect::FromSize(point, CxSize(m.width, m.height)) : m_clientRect);
        break;
    case EMessage::Close:
        RequestQuit();
        break;
    case EMessage::ActivateApp:
        SetState(PIM_STATE_ACTIVE, m.active);
        OnActivateApp(m.active);
        break;
    case EMessage::KeyDown:
        OnKeyDown(m.key, (m.buttons & PIM_MK_SHIFT) ? uint32_t{PIM_KEY_SHIFT} : 0u);
        break;
    case EMessage::KeyUp:
        OnKeyUp(m.key, (m.buttons & PIM_MK_SHIFT) ? uint32_t{PIM_KEY_SHIFT} : 0u);
        break;
    case EMessage::Mouse:
        if (mouse)
            OnMouse(m.mouse);
        break;
    case EMessage::DropFiles:
        OnDropFiles(m.files);
        break;
    case EMessage::User:
        OnUserMessage(m.code);
        break;
    case EMessage::None:
    case EMessage::Quit:
        break;
    }
    return PIM_OK;
}

void CxWindowApp::OnActivateApp(bool active)
{
    if (active && !m_hasScreen)
        CreateScreen(GetClientWidth(), GetClientHeight(), m_depth);
    else if (!active && m_fullScreen)
        MinimizeMainWindow();
}

void CxWindowApp::OnKeyDown(uint32_t, uint32_t) {}
void CxWindowApp::OnKeyUp(uint32_t, uint32_t) {}
void CxWindowApp::OnTimer(int32_t) {}
void CxWindowApp::OnMouse(const ST_MOUSE_EVENT&) {}
void CxWindowApp::OnMove(int32_t x, int32_t y)
{
    m_clientRect = CxRect::FromSize(CxPoint(x, y), CxSize(GetClientWidth(), GetClientHeight()));
}
void CxWindowApp::OnSize(int32_t width, int32_t height)
{
    // The screen keeps the game's size and fits its picture to the window
    // by itself: nothing is recreated.
    m_clientRect = CxRect::FromSize(m_clientRect.TopLeft(), CxSize(width, height));
}
void CxWindowApp::OnPaint(const CxRect&)
{
    // The window lost its picture: show the back buffer again.
    if (m_screen)
        m_screen->Present(nullptr, 0);
}
void CxWindowApp::OnCommand(int32_t) {}
void CxWindowApp::OnUserMessage(int32_t) {}
void CxWindowApp::OnActivate() {}
void CxWindowApp::OnDeactivate() {}
void CxWindowApp::OnMciNotify() {}
void CxWindowApp::OnDropFiles(const std::vector<std::string>&) {}
