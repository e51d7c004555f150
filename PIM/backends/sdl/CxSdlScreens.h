#pragma once
// The screens of the SDL window (CxSdlWindow::CreateScreen makes them):
//
//  - CxSdlSoftwareScreen ("software"): the window's own surface. Presenting
//    converts the 5-6-5 back buffer's rectangles into the surface's format
//    and updates just those rectangles of the window. The picture is shown
//    at the largest whole multiple of its size that fits, centred.
//  - CxSdlRendererScreen ("accelerated"): an SDL renderer (accelerated when
//    the system has one, else SDL's software renderer) with a 5-6-5
//    streaming texture of the game's size, updated rectangle by rectangle,
//    then drawn over the whole window keeping the aspect ratio (black bars).
//
// Both work for any window size, full screen included, and on high-DPI
// displays, where the window's size (in which the pointer is reported)
// differs from its size in pixels. WindowToScreen maps a pointer position to
// the back buffer's pixel shown under it; the window uses it for every mouse
// message while a screen is attached. The placement is our own rather than
// the renderer's logical size, whose event conversion truncates toward zero
// and so maps the bar pixels just left of and above the picture onto its
// first column and row.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"
#include "PIM/display/CxScreenSurface.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Surface;
class CxSdlWindow;

// Where the picture lies in a window. Pure arithmetic on sizes.
struct ST_SCREEN_PLACEMENT
{
    CxSize window;   // the window's size in its own units (the pointer's)
    CxSize drawable; // the same area in pixels
    CxRect picture;  // the back buffer's picture, in drawable pixels
};

// The largest picture of the screen's aspect ratio that fits the drawable,
// centred, with bars on two sides when the ratios differ.
ST_SCREEN_PLACEMENT PlaceLetterboxed(CxSize screen, CxSize window, CxSize drawable);
// The largest whole multiple of the screen (at least 1) that fits, centred;
// a window smaller than the screen crops its right and bottom.
ST_SCREEN_PLACEMENT PlaceWholeMultiple(CxSize screen, CxSize window, CxSize drawable);
// The screen pixel shown at the centre of the window point. Points over the
// bars map outside the screen's rectangle (nothing there is under them).
CxPoint MapWindowPoint(const ST_SCREEN_PLACEMENT& placement, CxSize screen, CxPoint windowPoint);
// The other way: the window point under the centre of a screen pixel, so
// that MapWindowPoint of it gives the pixel back whenever the picture is
// shown at least at its own size (smaller, neighbours share a point).
CxPoint MapScreenPoint(const ST_SCREEN_PLACEMENT& placement, CxSize screen, CxPoint screenPoint);

class CxSdlScreen : public CxScreenSurface
{
public:
    ~CxSdlScreen() override;
    CxSdlScreen(const CxSdlScreen&) = delete;
    CxSdlScreen& operator=(const CxSdlScreen&) = delete;

    // Desktop-sized full screen, or back to the window; false when the
    // screen is not open or the system refused.
    bool SetFullScreen(bool on) override;
    bool IsFullScreen() const override;
    CxPoint WindowToScreen(CxPoint point) const override;
    CxPoint ScreenToWindow(CxPoint point) const override;
    // The placement for the window's size now.
    ST_SCREEN_PLACEMENT GetPlacement() const;

    // Shows the picture again after the window changed size or was uncovered.
    virtual void Redisplay() = 0;
    // Paints the whole window black and shows it.
    virtual void ClearWindow() = 0;
    // What the window shows now, as a 32-bit surface of the drawable's size
    // (screen captures and tests).
    virtual int CaptureWindow(CxDrawSurface& out) = 0;

    CxSdlWindow* GetOwner() const { return m_owner; }
    // The window is going away: closes the screen and forgets the window.
    void ForgetWindow();

protected:
    explicit CxSdlScreen(CxSdlWindow* owner);

    SDL_Window* GetSdlWindow() const;
    // Attaches to the window, applies the window size (game size x scale)
    // or full screen, then OpenDevice.
    int OpenWindow() override;
    void CloseWindow() override;
    virtual int OpenDevice() = 0;
    virtual void CloseDevice() = 0;
    virtual ST_SCREEN_PLACEMENT Place(CxSize window, CxSize drawable) const = 0;
    // The drawable's size in pixels.
    virtual CxSize GetDrawableSize() const = 0;

    CxSdlWindow* m_owner;
};

class CxSdlSoftwareScreen : public CxSdlScreen
{
public:
    explicit CxSdlSoftwareScreen(CxSdlWindow* owner);
    ~CxSdlSoftwareScreen() override;

    const char* GetKindName() const override { return "software"; }
    void Redisplay() override;
    void ClearWindow() override;
    int CaptureWindow(CxDrawSurface& out) override;

protected:
    int OpenDevice() override;
    void CloseDevice() override;
    int CopyToWindow(const CxRect* rects, int count) override;
    ST_SCREEN_PLACEMENT Place(CxSize window, CxSize drawable) const override;
    CxSize GetDrawableSize() const override;

private:
    // The window surface's value of every 5-6-5 channel value, so that a
    // pixel converts with three lookups; rebuilt when the format changes.
    void BuildChannelTables(const SDL_Surface& surface);
    uint32_t Convert(uint16_t pixel) const;
    // Converts `rect` of the back buffer into `surface` at the placement;
    // the rectangle covered in the window (empty when none).
    CxRect ConvertRect(SDL_Surface& surface, const ST_SCREEN_PLACEMENT& placement, const CxRect& rect);

    // The surface met last: another one (a resize, a new format) is
    // repainted whole.
    SDL_Surface* m_surface = nullptr;
    CxSize m_surfaceSize;
    uint32_t m_surfaceFormat = 0;
    bool m_repaint = true;
    bool m_indexed = false;
    uint32_t m_red[32] = {};
    uint32_t m_green[64] = {};
    uint32_t m_blue[32] = {};
};

class CxSdlRendererScreen : public CxSdlScreen
{
public:
    explicit CxSdlRendererScreen(CxSdlWindow* owner);
    ~CxSdlRendererScreen() override;

    const char* GetKindName() const override { return "accelerated"; }
    // Builds the renderer and texture again and uploads the whole picture.
    int ResetDevice() override;
    void Redisplay() override;
    void ClearWindow() override;
    int CaptureWindow(CxDrawSurface& out) override;
    // Draws with SDL's software renderer even where an accelerated one
    // exists (drivers that misbehave, virtual displays); from the next open.
    void SetSoftwareRendering(bool on) { m_softwareOnly = on; }
    // False when SDL fell back to its software renderer.
    bool IsAccelerated() const { return m_accelerated; }
    // SDL's name of the renderer ("" when none).
    const char* GetRendererName() const;

protected:
    int OpenDevice() override;
    void CloseDevice() override;
    int CopyToWindow(const CxRect* rects, int count) override;
    ST_SCREEN_PLACEMENT Place(CxSize window, CxSize drawable) const override;
    CxSize GetDrawableSize() const override;

private:
    // Clears the window and draws the texture at its placement.
    int Render();

    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    bool m_accelerated = false;
    bool m_softwareOnly = false;
};
