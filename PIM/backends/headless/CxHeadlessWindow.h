#pragma once
// A window that exists only in memory, for tests and replays: its messages
// are the ones posted to it, and it records what the application asked of it
// so a test can check it.
//
// Create queues what a real window reports when it first appears, in this
// order: ActivateApp (active), Activate (active), Size (the client size),
// Paint. Nothing else is queued by the window itself: Minimize, Move and the
// others only change the record, so a replay sees exactly the recorded
// messages and no echoes.

#include "PIM/app/CxPlatformWindow.h"
#include "PIM/core/CxQueue.h"

// What was asked of the window. Counts run from construction.
struct ST_HEADLESS_RECORD
{
    ST_WINDOW_SETUP setup;   // of the last Create
    bool created = false;
    bool visible = false;
    bool minimized = false;
    bool maximized = false;
    bool fullScreen = false;
    int32_t left = 0;      // client area, desktop coordinates
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool screenSaver = true;

    int creates = 0;
    int destroys = 0;
    int shows = 0;
    int hides = 0;
    int minimizes = 0;
    int maximizes = 0;
    int restores = 0;
    int moves = 0;
    int fullScreenChanges = 0;
    int presents = 0;
    int flushes = 0;
};

class CxHeadlessWindow : public CxPlatformWindow
{
public:
    CxHeadlessWindow() = default;
    CxHeadlessWindow(const CxHeadlessWindow&) = delete;
    CxHeadlessWindow& operator=(const CxHeadlessWindow&) = delete;

    // The desktop it pretends to sit on (1024 x 768 x 32 unless told).
    void SetDesktop(const ST_DESKTOP& desktop) { m_desktop = desktop; }

    // Appends a message for PollMessage; false when memory ran out.
    bool Post(const ST_MESSAGE& message);
    size_t GetPendingCount() const { return m_queue.GetCount(); }

    const ST_HEADLESS_RECORD& GetRecord() const { return m_record; }

    bool QueryDesktop(ST_DESKTOP& out) override;
    bool Create(const ST_WINDOW_SETUP& setup) override;
    void Destroy() override;
    bool IsCreated() const override { return m_record.created; }

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
    // A memory screen (whatever is asked: there is nothing to accelerate).
    CxScreenSurface* CreateScreen(bool accelerated) override;

    void SetScreenSaver(bool enabled) override;
    bool IsScreenSaverEnabled() const override { return m_record.screenSaver; }

    // The pointer follows every mouse message handed out (a replay's moves
    // and clicks) and every warp; a warp queues the move message for the
    // new point, as a real system does. The point is the screen's pixel:
    // the memory screen does not scale.
    bool WarpPointer(CxPoint point) override;
    bool GetPointer(CxPoint& out) const override;

private:
    void ApplyFullScreen(bool on);

    ST_DESKTOP m_desktop{1024, 768, 32};
    ST_HEADLESS_RECORD m_record;
    // The windowed client rectangle, kept while in full screen.
    int32_t m_windowedLeft = 0;
    int32_t m_windowedTop = 0;
    int32_t m_windowedWidth = 0;
    int32_t m_windowedHeight = 0;
    CxPoint m_pointer;
    CxQueue<ST_MESSAGE> m_queue;
};
