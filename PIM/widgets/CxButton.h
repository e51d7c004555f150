#pragma once
// Buttons: a push button, a radio-style button (a click checks it, it never
// unchecks itself) and a check box (a click toggles). The picture is cut
// into five frames, one per visual state through the frame map.
//
// Every visual state change is told to the owner: the installed routine, or
// without one the parent's OnNotify(PIM_NOTIFY_BUTTON, button, event, 0).
// A button without a parent tells nobody. The parent may delete the button
// only while hearing a click or a leave (the last thing a release says).

#include "PIM/display/CxAnimation.h"
#include "PIM/display/CxSprite.h"

// Button kinds.
enum : int
{
    PIM_BUTTON_PUSH = 0,
    PIM_BUTTON_RADIO = 1,
    PIM_BUTTON_CHECK = 2,
};

// Visual states.
enum : int
{
    PIM_BUTTON_NORMAL = 0,
    PIM_BUTTON_CHECKED = 1,
    PIM_BUTTON_HIGHLIGHTED = 2,
    PIM_BUTTON_PRESSED = 3, // also checked and highlighted
    PIM_BUTTON_DISABLED = 4,
    PIM_BUTTON_STATE_COUNT = 5,
};

// Events.
enum : int
{
    PIM_BUTTON_EVENT_NORMAL = 0,
    PIM_BUTTON_EVENT_CHECKED = 1,
    PIM_BUTTON_EVENT_HIGHLIGHTED = 2,
    PIM_BUTTON_EVENT_DISABLED = 4,
    PIM_BUTTON_EVENT_CLICKED = 10,
    PIM_BUTTON_EVENT_LEFT = 11, // the pointer left, or a press was released outside
};

constexpr int PIM_NOTIFY_BUTTON = 0;
constexpr uint32_t PIM_BUTTON_HIT_MASK = 9;

class CxButton;
using PimButtonRoutine = void (*)(CxButton* button, int event);

class CxButton : public CxSprite
{
public:
    explicit CxButton(int kind = PIM_BUTTON_PUSH);
    ~CxButton() override;

    int GetKind() const { return m_kind; }
    // Kinds outside 0..2 are taken as push buttons.
    void SetKind(int kind);

    // --- CxDisplayObject / CxSprite ------------------------------------------------------
    void Enable() override;
    void Disable() override;
    void Hide() override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    // Both cut the picture into five frames, whatever `frameCount` says.
    int SetSurface(CxDrawSurface* surface, int frameCount = PIM_BUTTON_STATE_COUNT) override;
    int LoadPicture(const char* fileName, int frameCount) override;

    // --- the button's own ----------------------------------------------------------------
    // Shows the mapped frame; a change is told to the owner. States outside
    // 0..4 are ignored.
    virtual void SetVisualState(int state);
    virtual int GetVisualState() const { return m_state; }
    // To the routine, else to the parent; nothing without a parent.
    virtual void Notify(int event);
    virtual void SetChecked(bool checked);
    virtual bool IsChecked() const { return m_state == PIM_BUTTON_CHECKED || m_state == PIM_BUTTON_PRESSED; }

    // What is shown for each state (initially 0..4); the current state is shown again.
    void SetFrameMap(int state, int value);
    int GetFrameMap(int state) const;
    void SetRoutine(PimButtonRoutine routine) { m_routine = routine; }
    PimButtonRoutine GetRoutine() const { return m_routine; }
    // True while the button holds the pointer capture.
    bool HasCapture() const { return IsModal(); }

    // After a push button's release the pointer move is sent again at the
    // pointer's position, so that whatever is under it now lights up. On
    // unless a caller turns it off (for the whole process).
    static void SetRecheckHoverOnRelease(bool on) { s_recheckHover = on; }
    static bool GetRecheckHoverOnRelease() { return s_recheckHover; }

protected:
    // Puts up the picture for `state`; the animated form plays instead.
    virtual void ShowState(int state);
    void ReleaseCapture();
    // The state the button shows with the hover or press taken away.
    int RestingState() const;
    // The event sequence a change from `from` to `to` sends.
    void NotifyChange(int from, int to);

    int m_kind;
    int m_state = PIM_BUTTON_NORMAL;
    int m_savedState = PIM_BUTTON_NORMAL;
    int m_frameMap[PIM_BUTTON_STATE_COUNT] = {0, 1, 2, 3, 4};
    PimButtonRoutine m_routine = nullptr;

private:
    void MoveOverPush(CxPoint point);
    void MoveOverToggle(CxPoint point);

    static inline bool s_recheckHover = true;
};

// A button whose states are animations: the frame map holds, per state, the
// action the embedded animation plays from. The animation drives the button.
class CxAnimatedButton : public CxButton
{
public:
    explicit CxAnimatedButton(int kind = PIM_BUTTON_PUSH);
    ~CxAnimatedButton() override;

    void SetVisualState(int state) override;
    void Show() override;
    void Hide() override;

    CxAnimation& GetAnimation() { return m_animation; }
    // Replaces the actions; the current state's action plays from now on.
    int SetActions(const ST_ANIM_ACTION* actions, int count);

protected:
    void ShowState(int state) override;

private:
    void PlayState();

    CxAnimation m_animation;
    // The state whose action last started; -1 when none did.
    int m_playedState = -1;
};
