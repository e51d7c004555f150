#pragma once
// The application's window and message queue, as the platform provides them.
// CxSdlWindow is the real one; CxHeadlessWindow is a memory stand-in for
// tests and replays, whose messages are queued by the test.

#include "PIM/core/CxPoint.h"
#include "PIM/core/PimMessage.h"

#include <string>

class CxScreenSurface;

// Window flags of the application's initialisation record.
enum : uint32_t
{
    PIM_WF_ACCELERATED = 0x001,
    PIM_WF_CUSTOM_CURSOR = 0x002,
    PIM_WF_RIGHT_AS_LEFT = 0x004,
    PIM_WF_DOUBLE_CLICKS = 0x008,
    PIM_WF_FULLSCREEN = 0x010,
    PIM_WF_FRAMED = 0x040,
    PIM_WF_SIZABLE = 0x080,
    PIM_WF_HIDDEN = 0x100,
    PIM_WF_CENTERED = 0x200,
    PIM_WF_SYSTEM_MENU = 0x400,
    PIM_WF_ACCEPT_FILES = 0x800,
};

struct ST_WINDOW_SETUP
{
    std::string title;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 800;  // of the client area
    int32_t height = 600;
    uint32_t flags = 0;   // PIM_WF_*
    bool fullScreen = false;
};

struct ST_DESKTOP
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0; // bits per pixel
};

class CxPlatformWindow
{
public:
    virtual ~CxPlatformWindow() = default;

    // Width, height and depth of the desktop; false when unknown.
    virtual bool QueryDesktop(ST_DESKTOP& out) = 0;

    // Creates the window (destroying any previous one); false on failure.
    virtual bool Create(const ST_WINDOW_SETUP& setup) = 0;
    virtual void Destroy() = 0;
    virtual bool IsCreated() const = 0;

    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Minimize() = 0;
    virtual void Maximize() = 0;
    virtual void Restore() = 0;
    virtual void Move(int32_t left, int32_t top) = 0;
    virtual void SetFullScreen(bool on) = 0;

    // The client area's position (desktop coordinates) and size.
    virtual void GetClientRect(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const = 0;

    // One message, without waiting; false when none is pending.
    virtual bool PollMessage(ST_MESSAGE& out) = 0;
    // Drops the pending input (IsInputMessage: keys, text, mouse), as a
    // modal panel does when it opens. Everything else stays queued in its
    // order: a close request, activation, size, move or paint must still
    // reach the application, or the player's wish to quit would be lost
    // inside a dialog.
    virtual void FlushMessages() = 0;

    // Fills the client area with black and shows it (through the attached
    // screen when there is one).
    virtual void PresentCleared() = 0;

    // A new screen for this window, not yet open (the caller opens it with
    // settings naming this window, and deletes it). `accelerated` asks for
    // the renderer's screen where the platform has one. Null when out of
    // memory.
    virtual CxScreenSurface* CreateScreen(bool accelerated) = 0;

    // The screen saver is kept off while the game runs.
    virtual void SetScreenSaver(bool enabled) = 0;
    virtual bool IsScreenSaverEnabled() const = 0;

    // The system pointer, in the attached screen's pixels (the game's
    // 800 x 600 at any window size; window units while no screen is
    // attached). A warp puts the pointer on that pixel and is followed by
    // the pointer-move message the system sends for it; a read says where
    // the pointer is now. False when there is no window.
    virtual bool WarpPointer(CxPoint point) = 0;
    virtual bool GetPointer(CxPoint& out) const = 0;
};
