#pragma once
// Drives one display object through a list of actions: place it, move it
// toward a target at a speed, set its z, step its frames at a frame rate
// between a start and an end frame, last a given time, repeat. The list is
// played in order and repeated a number of loops; a listener hears every
// finished action and, when asked, every frame or movement step. Every
// playing animation is advanced from one main-loop callback, at most once
// every 10 ms.

#include "PIM/core/CxError.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxPauseResume.h"
#include "PIM/core/CxTimer.h"

class CxDisplayObject;
class CxAnimation;

// Action flags.
enum : uint32_t
{
    PIM_ANIM_START = 0x1,
    PIM_ANIM_TARGET = 0x2,
    PIM_ANIM_ANCHOR = 0x4,
    PIM_ANIM_Z = 0x8,
    PIM_ANIM_SPEED = 0x10,
    PIM_ANIM_REPEAT = 0x20,
    PIM_ANIM_DURATION = 0x40,
    PIM_ANIM_FRAME_RATE = 0x80,
    PIM_ANIM_START_FRAME = 0x100,
    PIM_ANIM_END_FRAME = 0x200,
    PIM_ANIM_NOTIFY_FRAME = 0x10000000u,
    PIM_ANIM_ABSOLUTE_FRAMES = 0x20000000u,
    PIM_ANIM_NOTIFY_MOVE = 0x40000000u,
    PIM_ANIM_LAST = 0x80000000u,
};

struct ST_ANIM_ACTION
{
    uint32_t flags = 0;
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t targetX = 0;
    int32_t targetY = 0;
    int32_t anchor = 0;
    int32_t z = 0;
    float speed = 1.0f; // pixels per second
    int32_t repeatCount = 1;
    int32_t duration = 0; // ms
    float frameRate = 0.0f; // frames per second
    int32_t startFrame = 0;
    int32_t endFrame = 0;
};

class CxAnimationListener
{
public:
    virtual ~CxAnimationListener() = default;
    // May delete the animation or its display object.
    virtual void OnAnimationEvent(CxAnimation* animation) = 0;
};

// How often the playing animations are advanced, at most.
constexpr uint32_t PIM_ANIMATION_UPDATE_MS = 10;

class CxAnimation : public CxObject, public CxError, public CxPauseResume
{
public:
    CxAnimation();
    ~CxAnimation() override;
    CxAnimation(const CxAnimation&) = delete;
    CxAnimation& operator=(const CxAnimation&) = delete;

    virtual void Play(int firstAction = 0);
    virtual void Stop();
    virtual bool IsPlaying() const { return m_playing; }
    virtual void SetRelative(bool on) { m_relative = on; }
    virtual bool IsRelative() const { return m_relative; }
    virtual void SetIgnorePositions(bool on) { m_ignorePositions = on; }
    virtual bool IgnoresPositions() const { return m_ignorePositions; }
    // Values of 0 or less behave like 1.
    virtual void SetLoopCount(int loops);
    virtual int GetLoopCount() const { return m_loopCount; }
    virtual void SetDisplayObject(CxDisplayObject* object) { m_object = object; }
    virtual CxDisplayObject* GetDisplayObject() const { return m_object; }
    virtual void SetListener(CxAnimationListener* listener) { m_listener = listener; }
    virtual CxAnimationListener* GetListener() const { return m_listener; }

    // Copies; before the action at `index` (at the end when past it).
    virtual int InsertActions(int index, const ST_ANIM_ACTION* actions, int count);
    virtual int RemoveAction(int index);
    virtual void RemoveAllActions();
    virtual int AddActions(const ST_ANIM_ACTION* actions, int count);
    virtual int InsertAction(int index, const ST_ANIM_ACTION& action);
    virtual int SetCurAction(int index, bool resetRepeats);
    virtual int GetCurActionIndex() const { return m_current; }
    virtual int GetActionCount() const { return static_cast<int>(m_actions.GetCount()); }
    // -1 for the current one; null when there is none.
    virtual const ST_ANIM_ACTION* GetAction(int index = -1) const;
    virtual int GetRepeatsLeft() const { return m_repeatsLeft; }
    // The frame rate of the action at `index`, which then steps frames; the
    // running period ends as it was. 16 for no such action.
    virtual int SetActionFrameRate(int index, float rate);

    // One step (the main-loop callback calls it for every playing animation).
    virtual void Update();
    virtual void NextAction();

    // Pausing nests; the first pause freezes the three timers, the last
    // resume lets them run on.
    void Pause() override;
    void Resume() override;
    int GetPauseCount() const { return m_pauseCount; }

    // The playing animations (tests).
    static int GetPlayingCount();
    // Every animation driving `object` lets go of it (an object-gone hook of
    // the display system, installed with the first animation).
    static void ForgetDisplayObject(const CxDisplayObject* object);
    // The callback's body: every playing animation, at most every 10 ms.
    static void UpdateAll();

private:
    ST_ANIM_ACTION* ActionAt(int index) const;
    // False when the listener destroyed this animation: the caller must not
    // touch any member afterwards.
    [[nodiscard]] bool Notify();
    // The frame step of Update; false when the update must end there (a
    // notified frame change, or the animation gone).
    [[nodiscard]] bool StepFrames(const ST_ANIM_ACTION& action);
    void ResetTimers();
    void ClearPauses();
    void JoinPlayingList();
    void LeavePlayingList();

    // Every animation, playing or not, so that the object-gone hook finds
    // those driving a destroyed object without a list of its own to allocate.
    CxAnimation* m_previousAll = nullptr;
    CxAnimation* m_nextAll = nullptr;

    CxLinkedList<ST_ANIM_ACTION*> m_actions;
    CxDisplayObject* m_object = nullptr;
    CxAnimationListener* m_listener = nullptr;
    int m_current = 0;
    int m_repeatsLeft = 0;
    int m_loopCount = 1;
    int m_loopsLeft = 1;
    bool m_playing = false;
    bool m_relative = false;
    bool m_ignorePositions = false;
    int m_pauseCount = 0;
    CxTimer m_frameTimer;
    CxTimer m_moveTimer;
    CxTimer m_durationTimer;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    // Set by the destructor so that a listener deleting this animation
    // during a notification is noticed by the caller.
    bool* m_deletedFlag = nullptr;
    // Counts SetCurAction calls, so that NextAction can tell when its
    // listener already moved on (switched lists and played again).
    uint32_t m_actionStarts = 0;
};
