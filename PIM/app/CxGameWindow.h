#pragma once
// The engine's room: one screen of the game, with the life cycle the room
// stack drives (before-load, load, start when entered; stop, unload,
// after-leave when left), a pause count, and its own timers. The room is a
// sprite of the display tree while it is current: its picture is the
// background, its children are what it shows (buttons, sprites, texts), so
// that their notices, and the mouse and keys nothing inside it takes, reach
// the room like any display object.
//
// Load and Unload are the room's life cycle; the room's picture changes
// through LoadBackground (and the sprite's LoadPicture and UnloadPicture),
// never through them.
//
// Pausing the room (the application's PauseRoom, on its count's 0 -> 1)
// holds every room timer until the matching resume; a derived room that
// pauses more of its own calls these first.

#include "PIM/core/CxPauseResume.h"
#include "PIM/core/CxRoomTimers.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxSprite.h"

constexpr size_t PIM_ROOM_NAME_LENGTH = 32;

// Where rooms sit among the root's children: behind anything else put there.
constexpr int32_t PIM_ROOM_Z = static_cast<int32_t>(0xBFFFFFFEu);

class CxGameWindow : public CxSprite, public CxPauseResume, public CxTimerListener
{
public:
    CxGameWindow();
    ~CxGameWindow() override;
    CxGameWindow(const CxGameWindow&) = delete;
    CxGameWindow& operator=(const CxGameWindow&) = delete;

    // The sprite's name, at most PIM_ROOM_NAME_LENGTH bytes.
    const char* GetRoomName() const { return GetName(); }
    // The number scripts know the room by: unique for the run, never reused.
    uint32_t GetHandle() const { return m_handle; }
    void SetRoomName(const char* name);

    // The life cycle; each returns an error code.
    virtual int BeforeLoad() { return 0; }
    virtual int Load() { return 0; }
    virtual int Start() { return 0; }
    virtual int Stop() { return 0; }
    // Kills every timer and deletes the killed ones. The background stays:
    // it is the room's until a new one is loaded.
    int Unload() override;
    virtual int AfterLeave() { return 0; }
    // Once per frame while the room is current and not paused.
    virtual int Update();
    // 1 when the game may quit now.
    virtual int QueryQuit() { return 1; }
    virtual void OnDeviceRestored() {}
    virtual void OnDeviceLost() {}

    void Pause() override;
    void Resume() override;
    void OnTimer(CxTimerCallBack* timer) override;

    // The application's PauseRoom/ResumeRoom count.
    int GetPauseCount() const { return m_pauseCount; }
    void AddPause();
    void ReleasePause();
    // Back to 0, resuming the room when it was paused.
    void ClearPauseCount();

    CxRoomTimers& GetTimers() { return m_timers; }
    // What waits for the room's next per-frame update (or its unloading) to
    // be deleted: an object whose own handler asks for it to go is handed
    // here instead of being deleted under that handler.
    CxCleaner& GetCleaner() { return m_timers.GetCleaner(); }
    template <class T>
    void DeleteLater(T* object)
    {
        m_timers.GetCleaner().Add(object);
    }

    // Entered: the room covers the root, behind anything else there, and
    // shows. Left: it hides and leaves the tree. Both do nothing without a
    // display tree. A room that keeps its own size (a background of its
    // own size, a size of its data) is placed at the root's origin as it is.
    void AttachToScreen();
    void SetKeepOwnSize(bool keep) { m_keepOwnSize = keep; }
    bool GetKeepOwnSize() const { return m_keepOwnSize; }
    void DetachFromScreen();
    // The background: a picture loaded through the image filters, drawn at
    // once. The room keeps the root's size whatever the picture's.
    int LoadBackground(const char* fileName);

private:
    uint32_t m_handle;
    int m_pauseCount = 0;
    bool m_keepOwnSize = false;
    CxRoomTimers m_timers;
};
