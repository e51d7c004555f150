#pragma once
// The engine's room: one screen of the game, with the life cycle the room
// stack drives (before-load, load, start when entered; stop, unload,
// after-leave when left), a pause count, and its own timers. What a room
// shows hangs under its view: a sprite whose picture is the room's
// background and which covers the root of the display tree while the room
// is current. (The view is a member rather than a base: the life cycle's
// Load and Unload mean something else than a sprite's.)

#include "PIM/core/CxObject.h"
#include "PIM/core/CxPauseResume.h"
#include "PIM/core/CxRoomTimers.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxSprite.h"

constexpr size_t PIM_ROOM_NAME_LENGTH = 32;

// Where rooms sit among the root's children: behind anything else put there.
constexpr int32_t PIM_ROOM_Z = static_cast<int32_t>(0xBFFFFFFEu);

class CxGameWindow : public CxObject, public CxPauseResume, public CxTimerListener
{
public:
    CxGameWindow();
    ~CxGameWindow() override;
    CxGameWindow(const CxGameWindow&) = delete;
    CxGameWindow& operator=(const CxGameWindow&) = delete;

    const char* GetRoomName() const { return m_name; }
    // The number scripts know the room by: unique for the run, never reused.
    uint32_t GetHandle() const { return m_handle; }
    void SetRoomName(const char* name);

    // The life cycle; each returns an error code.
    virtual int BeforeLoad() { return 0; }
    virtual int Load() { return 0; }
    virtual int Start() { return 0; }
    virtual int Stop() { return 0; }
    // Kills every timer and deletes the killed ones.
    virtual int Unload();
    virtual int AfterLeave() { return 0; }
    // Once per frame while the room is current and not paused.
    virtual int Update();
    // 1 when the game may quit now.
    virtual int QueryQuit() { return 1; }
    virtual void OnDeviceRestored() {}
    virtual void OnDeviceLost() {}

    void Pause() override {}
    void Resume() override {}
    void OnTimer(CxTimerCallBack* timer) override;

    // The application's PauseRoom/ResumeRoom count.
    int GetPauseCount() const { return m_pauseCount; }
    void AddPause();
    void ReleasePause();

    CxRoomTimers& GetTimers() { return m_timers; }

    // Entered: the view covers the root and shows. Left: it hides and leaves
    // the tree. Both do nothing without a display tree.
    void AttachToScreen();
    void DetachFromScreen();
    // The background: a picture loaded through the image filters, drawn at once.
    int LoadBackground(const char* fileName);
    CxSprite& GetView() { return m_view; }

private:
    char m_name[PIM_ROOM_NAME_LENGTH + 1] = {};
    uint32_t m_handle;
    int m_pauseCount = 0;
    CxRoomTimers m_timers;
    CxSprite m_view;
};
