#pragma once
// A screen: the one surface the display tree draws into (its back buffer)
// and the means to show it in the game's window. Screens are draw surfaces;
// Present copies the listed rectangles of the back buffer to the window with
// the engine cursor drawn into them, repairing where the cursor was before.
//
// Subclasses supply the copy to the window (CopyToWindow); this class does
// the cursor and rectangle bookkeeping so that every screen presents alike.
// The screens themselves belong to the platform's back ends: the SDL screens
// in PIM/backends/sdl, the memory screen in PIM/backends/headless.

#include "PIM/graphics/CxDrawSurface.h"

class CxPlatformWindow;

struct ST_SCREEN_SETTINGS
{
    CxPlatformWindow* window = nullptr;
    int32_t width = 800;
    int32_t height = 600;
    int depth = 16;
    int refreshRate = 0;
    bool windowed = true;
    // Windowed screens open with a window of this multiple of the game's
    // size (1 or more).
    int scale = 1;
};

// Present's answer when the device must be reset.
constexpr int PIM_SCREEN_DEVICE_LOST = 21;
// Rectangles one Present takes; longer lists are merged to their bounding rectangle.
constexpr int PIM_MAX_PRESENT_RECTS = 260;

class CxScreenSurface : public CxDrawSurface
{
public:
    CxScreenSurface() = default;
    // Subclasses close themselves (CloseWindow is theirs); this only lets go
    // of the back buffer's bits.
    ~CxScreenSurface() override;

    // Creates the back buffer of the settings' size and depth (16-bit screens
    // are 5-6-5 and set the preferred 16-bit layout to 2), then binds the
    // window through OpenWindow. The back buffer's bits stay in memory while
    // the screen is open. An open screen is closed first.
    virtual int Open(const ST_SCREEN_SETTINGS& settings);
    virtual void Close();
    // Null or empty list: the whole screen. Allocates nothing. 16 (quietly)
    // when the screen is not open.
    virtual int Present(const CxRect* rects, int count);
    int PresentRect(const CxRect& rect) { return Present(&rect, 1); }
    // The cursor's rectangle (and the old one) only.
    virtual int PresentCursor();
    virtual int ResetDevice() { return PIM_OK; }
    virtual int EnumerateModes(void (*routine)(int32_t width, int32_t height, int depth, void* user), void* user)
    {
        (void)routine;
        (void)user;
        return 0;
    }
    CxDrawSurface* GetDrawSurface() { return this; }
    void SetWindow(CxPlatformWindow* window) { m_settings.window = window; }
    CxPlatformWindow* GetWindow() const { return m_settings.window; }
    const ST_SCREEN_SETTINGS& GetSettings() const { return m_settings; }
    bool IsOpen() const { return m_open; }
    // Windowed screens may be toggled to full screen and back at run time.
    virtual bool SetFullScreen(bool on)
    {
        (void)on;
        return false;
    }
    virtual bool IsFullScreen() const { return !m_settings.windowed; }
    // Maps a point of the window's client area to the back buffer's pixel
    // (screens that scale the picture override it).
    virtual CxPoint WindowToScreen(CxPoint point) const { return point; }
    // The inverse: the window point showing a back buffer pixel.
    virtual CxPoint ScreenToWindow(CxPoint point) const { return point; }
    // Short name for traces and the README ("memory", "software", "accelerated").
    virtual const char* GetKindName() const = 0;

protected:
    // Binds the window; the back buffer exists already.
    virtual int OpenWindow() = 0;
    virtual void CloseWindow() {}
    // Shows `count` rectangles (clipped to the screen, never empty) of the
    // back buffer in the window.
    virtual int CopyToWindow(const CxRect* rects, int count) = 0;

    ST_SCREEN_SETTINGS m_settings;
    bool m_open = false;

private:
    // Adds `rect` to `list` as Present collects them: nothing when a listed
    // rectangle holds it, listed ones it holds are dropped, and a full list
    // becomes one bounding rectangle.
    static void AddPresentRect(CxRect* list, int& count, const CxRect& rect);
    // Present and PresentCursor: the cursor drawn, the rectangles (none for
    // the cursor alone) joined with the cursor's and the old cursor's, one
    // copy to the window, the cursor taken out again.
    int Compose(const CxRect* rects, int count, bool cursorOnly);
};
