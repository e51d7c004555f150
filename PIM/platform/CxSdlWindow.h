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

#include "PIM/core/CxQueue.h"
#include "PIM/platform/CxPlatformWindow.h"

#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;

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

    // Applied when the video subsystem starts if it is not running yet.
    void SetScreenSaver(bool enabled) override;
    bool IsScreenSaverEnabled() const override;

    // Why the last Create or QueryDesktop failed ("" when it did not).
    const char* GetLastError() const { return m_lastError.c_str(); }

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

    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    uint32_t m_windowId = 0;
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
