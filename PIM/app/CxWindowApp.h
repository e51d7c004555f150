#pragma once
// The application's window and its messages: one message is taken and
// dispatched per main-loop iteration, then (unless the window is minimised)
// the main-loop callbacks and the frame run.

#include "PIM/app/CxApp.h"
#include "PIM/app/CxPlatformWindow.h"
#include "PIM/app/PimBackend.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"

#include <memory>

class CxDrawSurface;
class CxOSPalette;
class CxPrinter;
class CxScreenSurface;

// Run-time state bits.
enum : uint32_t
{
    PIM_STATE_CAPTURED = 0x01,
    PIM_STATE_ACTIVE = 0x02,
    PIM_STATE_WINDOWED = 0x04,
    PIM_STATE_ACCELERATED = 0x08,
    PIM_STATE_MOUSE = 0x10,
    PIM_STATE_SUSPENDED = 0x20,
};

class CxWindowApp : public CxApp
{
public:
    explicit CxWindowApp(const ST_APP_INIT& init);
    ~CxWindowApp() override;

    // Before Run: the platform back end whose window (and sound) the
    // application runs on. Without one the window does not start (an error).
    void SetBackend(const ST_PLATFORM_BACKEND& backend);
    // Null until SetBackend.
    const ST_PLATFORM_BACKEND* GetBackend() const { return m_hasBackend ? &m_backend : nullptr; }
    bool IsHeadless() const { return m_hasBackend && m_backend.headless; }
    // The back end's window (null before InitInstance).
    CxPlatformWindow* GetPlatformWindow() const { return m_window.get(); }

    virtual int QueryDesktop();
    virtual void ShowMainWindow();
    virtual void HideMainWindow();
    virtual void MinimizeMainWindow();
    virtual void MaximizeMainWindow();
    virtual void RestoreMainWindow();
    virtual void CenterMainWindow();
    virtual void MoveMainWindow(int32_t x, int32_t y);
    // Width and height of the client; recreates the window when a full-screen
    // screen is active.
    virtual int SetMainWindowRect(const CxRect& client, int depth);
    virtual int PaintScreen();
    // Drops the pending input; window messages and a close request stay.
    virtual void FlushMessages();
    // The system pointer in game pixels (see CxPlatformWindow::WarpPointer):
    // a warp is followed by its pointer-move message. False without a window.
    bool WarpMouse(int32_t x, int32_t y);
    bool GetMousePosition(int32_t& x, int32_t& y) const;
    virtual void ValidateRect(const CxRect* rect);
    virtual void InvalidateRect(const CxRect* rect);
    virtual int WindowProc(const ST_MESSAGE& message);
    virtual void OnDeviceRestored() {}
    virtual void OnDeviceLost() {}
    virtual int CreateMainWindow(const CxRect& rect);
    virtual void DestroyMainWindow();
    // Chooses and opens the screen, always of the game's size (screens fit
    // the picture to the window): the accelerated one when the accelerated
    // flag (the key "Engine" / "UseDirectDraw") is set, "Engine" / "UseDirect3D" is
    // non-zero or the game runs full screen; otherwise the windowed software
    // one. A headless window gives the memory screen.
    virtual int CreateScreen(int32_t width, int32_t height, int32_t depth);
    virtual void DestroyScreen();
    // The screen, or null before it is made.
    CxScreenSurface* GetScreen() const { return m_screen.get(); }
    // Saves what the screen shows through the image writers; the default
    // name is "<default>YYYY-MM-DD-HH-MM-SS.tga" from the local time.
    int ScreenCapture(const char* fileName = nullptr) override;
    // Prints `surface` as the document "Printout": the busy cursor shows
    // meanwhile, a picture of 16 bits or fewer is turned into 24 bits first,
    // and it is fitted into the page less half an inch, centred (a positive
    // `scale` shrinks or grows the page it is fitted into). Failures are
    // reported as error 19 with the step that failed ("GetPrinterDC()
    // Failed", "StartDoc() Failed!", "StartPage() Failed!", "EndPage()
    // Failed!"). PIM_OK or the code.
    int PrintSurface(CxDrawSurface& surface, bool landscape, bool withDialog, double scale);
    int PrintScreen(bool landscape) override;
    // Loads the picture through the file systems, then prints it.
    int PrintFile(const char* fileName, bool landscape) override;
    // The printer every printout goes to (tests give a fake one); null
    // (the default) asks the system for one at each printout.
    void SetPrinter(std::unique_ptr<CxPrinter> printer);
    // Where printouts are saved when there is no printer: a root tag such
    // as "<AppData>" or a path of the system. By default the program's
    // folder in the user's data folder.
    void SetPrintFolder(const std::string& folder) { m_printFolder = folder; }
    std::string GetPrintFolder() const;
    // Before Run: the window is this multiple of the game's size (1 to 8),
    // for the accelerated screen.
    void SetWindowScale(int scale) { m_scale = scale < 1 ? 1 : (scale > 8 ? 8 : scale); }
    int GetWindowScale() const { return m_scale; }
    // Before Run: the last frame shown is saved to `fileName` when the run
    // ends (before the screen goes); the result is kept for the caller.
    void SetExitScreenshot(const std::string& fileName) { m_exitScreenshot = fileName; }
    int GetExitScreenshotResult() const { return m_exitScreenshotResult; }
    // Saves the exit screenshot now, once: the game does it before its rooms
    // close (and its picture formats go); otherwise it is taken on the way out.
    void TakeExitScreenshot();
    virtual void OnKeyDown(uint32_t key, uint32_t flags);
    virtual void OnKeyUp(uint32_t key, uint32_t flags);
    virtual void OnTimer(int32_t id);
    // Every mouse event, at its point of the window's client area.
    virtual void OnMouse(const ST_MOUSE_EVENT& event);
    virtual void OnMove(int32_t x, int32_t y);
    virtual void OnSize(int32_t width, int32_t height);
    virtual void OnPaint(const CxRect& rect);
    virtual void OnCommand(int32_t command);
    virtual void OnUserMessage(int32_t code);
    virtual void OnActivate();
    virtual void OnDeactivate();
    virtual void OnMciNotify();
    virtual void OnActivateApp(bool active);
    virtual void OnDropFiles(const std::vector<std::string>& files);
    // After every CreateScreen that made a screen (the display layer sizes
    // its tree to it).
    virtual void OnScreenCreated() {}

    int DoFrame() override;
    int InitInstance() override;
    // Sets up the cursors (custom or the system's, at the window's depth)
    // with cursor 0 selected, before anything registers or selects one; the
    // screen attaches to them when it comes.
    int InitApplication() override;
    int ExitApplication() override;
    int ExitInstance() override;

    const CxRect& GetWindowRect() const { return m_windowRect; }
    const CxRect& GetClientRect() const { return m_clientRect; }
    int32_t GetClientWidth() const { return static_cast<int32_t>(m_clientRect.Width()); }
    int32_t GetClientHeight() const { return static_cast<int32_t>(m_clientRect.Height()); }
    int32_t GetDepth() const { return m_depth; }
    const ST_DESKTOP& GetDesktop() const { return m_desktop; }
    uint32_t GetWindowFlags() const { return m_flags; }
    uint32_t GetState() const { return m_state; }
    bool HasState(uint32_t bits) const { return (m_state & bits) == bits; }
    bool HasScreen() const { return m_hasScreen; }
    bool IsFullScreen() const { return m_fullScreen; }
    bool UsesCustomCursor() const { return m_customCursor; }

    // Command-line choice of full screen (1) or a window (0); -1 leaves it to
    // the configuration.
    void SetFullScreenOverride(int fullScreen) { m_fullScreenOverride = fullScreen; }

protected:
    void SetState(uint32_t bits, bool on) { m_state = on ? (m_state | bits) : (m_state & ~bits); }
    // Sleeps so that idle frames come at most every kIdleFrameMilliseconds.
    void PaceIdleFrame();
    // Tells the player where a printout went (a page saved as a file): the
    // trace here; the display layer also shows it in a box.
    virtual void ShowPrintNotice(const char* text);
    static constexpr int kIdleFrameMilliseconds = 5;

    CxRect m_windowRect;
    CxRect m_clientRect;
    int32_t m_depth;
    uint32_t m_flags;
    uint32_t m_state = 0;
    ST_DESKTOP m_desktop;
    bool m_customCursor = false;
    bool m_fullScreen = false;
    bool m_hasScreen = false;
    int m_fullScreenOverride = -1;
    ST_PLATFORM_BACKEND m_backend;
    bool m_hasBackend = false;
    int m_scale = 1;
    std::string m_exitScreenshot;
    int m_exitScreenshotResult = PIM_OK;
    bool m_exitScreenshotTaken = false;
    // The game's own size: the window's client size as first asked for,
    // which an accelerated screen keeps whatever the window's size.
    CxSize m_gameSize;
    std::unique_ptr<CxPlatformWindow> m_window;
    std::unique_ptr<CxScreenSurface> m_screen;
    std::unique_ptr<CxOSPalette> m_palette; // what 8-bit screens present with
    std::unique_ptr<CxPrinter> m_printer;
    std::string m_printFolder;
    uint32_t m_lastIdleFrame = 0; // ticks
};
