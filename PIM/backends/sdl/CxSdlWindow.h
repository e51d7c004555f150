#pragma once
// The real window, over SDL2. What the system reports is translated into
// ST_MESSAGE and queued; PollMessage hands them out one at a time.
//
// Only the video (and events) subsystem is started, when the window is
// created or the desktop is first asked about, and it is stopped again by
// Destroy, so a process that never opens a window never needs a display.
//
// What Create queues, like the headless window: ActivateApp (active),
// Activate (active), Size (the client size), Paint; the system's own reports
// of the same follow when it sends them, and say the same.
//
// Keys follow PimKeyTranslate.h: printable characters come from text input,
// everything else from key events. Closing the window from the window
// manager (or a termination signal) gives Close, never Quit: the
// application decides whether to end.
//
// Screens (CreateScreen) draw into the window; while one is attached, mouse
// messages carry the back buffer's pixel under the pointer rather than the
// window's point, Alt+Enter toggles full screen (and reaches nobody as a
// key), and a resized or uncovered window shows the picture again at once.
//
// The window installs the engine's system-cursor hook (arrow, hourglass,
// text beam, not-allowed, hand); with custom cursors (PIM_WF_CUSTOM_CURSOR
// or the engine's own setting) the system cursor is hidden over the window.

#include "PIM/app/CxPlatformWindow.h"
#include "PIM/core/CxQueue.h"

#include <string>
#include <vector>

struct SDL_Window;
union SDL_Event;
class CxSdlScreen;

class CxSdlWindow : public CxPlatformWindow
{
public:
    CxSdlWindow() = default;
    ~CxSdlWindow() override;
    CxSdlWindow(const CxSdlWindow&) = delete;
    CxSdlWindow& operator=(const CxSdlWindow&) = delete;

    bool QueryDesktop(ST_DESKTOP& out) override;
    bool Create(const ST_WINDOW_SETUP& setup) override;
    void Destroy() override;
    bool IsCreated() const override { return m_window != nullptr; }

    void Show() override;
    void Hide() override;
    void Minimize() override;
    void Maximize() override;
    void Restore() override;
    void Move(int32_t left, int32_t top) override;
    void SetFullScreen(bool on) override;

    void GetClientRect(int32_t& left, int32_t& top, int32_t& width, int32_t& height) const override;

    bool PollMessage(ST_MESSAGE& out) override;
    void FlushMessages() override;
    void PresentCleared() override;
    // A renderer screen when `accelerated`, else a software screen.
    CxScreenSurface* CreateScreen(bool accelerated) override;

    // Applied when the video subsystem starts if it is not running yet.
    void SetScreenSaver(bool enabled) override;
    bool IsScreenSaverEnabled() const override;

    // Through the attached screen's placement, so the pixel is the game's
    // at any window size; SDL reports the warp as an ordinary motion.
    bool WarpPointer(CxPoint point) override;
    bool GetPointer(CxPoint& out) const override;

    // Why the last Create or QueryDesktop failed ("" when it did not).
    const char* GetLastError() const { return m_lastError.c_str(); }

    // Resizes the client area (the window reports Size when it has).
    void SetClientSize(int32_t width, int32_t height);
    // Queues a pointer move to a point of the client area as the system
    // reports one, through the same translation (tests and replays of raw
    // input).
    bool SimulateMouseMove(int32_t x, int32_t y);
    // Queues a key press or release (a PIM_HOSTKEY_* code with PIM_HOSTMOD_*
    // modifiers) the same way.
    bool SimulateKey(int32_t hostKey, uint32_t hostModifiers, bool down);

    // --- for the screens ----------------------------------------------------------------------
    SDL_Window* GetSdlWindow() const { return m_window; }
    // The open screen drawing into the window (one at a time: attaching
    // another closes the first).
    CxSdlScreen* GetScreen() const { return m_screen; }
    void AttachScreen(CxSdlScreen* screen);
    void DetachScreen(CxSdlScreen* screen);
    // A screen this window made is being deleted.
    void ForgetScreen(CxSdlScreen* screen);

private:
    bool StartVideo();
    void StopVideo();
    void CloseWindow();
    void FailWith(const char* what);

    void Queue(const ST_MESSAGE& message);
    void TranslateEvent(SDL_Event& event);
    void TranslateWindowEvent(const SDL_Event& event);
    void TranslateKey(const SDL_Event& event);
    void TranslateMouse(const SDL_Event& event);
    void TranslateDrop(SDL_Event& event);
    void QueueSize(bool minimized);
    void QueueActivation(bool active, bool minimized, bool application);
    uint32_t MouseFlags() const;
    // One mouse message, the window point taken as the screen's pixel while
    // a screen is attached.
    void QueueMouse(EMouseAction action, EMouseButton button, int32_t x, int32_t y, int32_t notches);
    // Alt+Enter with a screen: toggles full screen; true when it was that.
    bool ToggleFullScreenKey(const SDL_Event& event);

    SDL_Window* m_window = nullptr;
    uint32_t m_windowId = 0;
    CxSdlScreen* m_screen = nullptr;
    // Every screen made by this window and not yet deleted: they must
    // forget the window when it goes first.
    std::vector<CxSdlScreen*> m_screens;
    // The Enter of an Alt+Enter toggle: its release is no key either.
    bool m_swallowEnterUp = false;
    uint32_t m_flags = 0; // PIM_WF_* of the setup
    bool m_videoStarted = false;
    bool m_screenSaverWanted = true;
    // Modifier state (PIM_HOSTMOD_*) as of the last key event translated:
    // text input follows the key event that typed it, and must be judged by
    // that state, not by the keyboard's state when the queue is read.
    uint32_t m_keyModifiers = 0;
    uint32_t m_mouseButtons = 0; // PIM_MK_*, mouse buttons only
    bool m_dropping = false;     // between the start and the end of a drop
    std::vector<std::string> m_drops;
    std::string m_lastError;
    CxQueue<ST_MESSAGE> m_queue;
};
