#pragma once
// A scroll bar: a decrease button at one end, an increase button at the
// other and a thumb between them that shows the position within
// minimum..maximum. The horizontal form runs left to right; the vertical
// form top to bottom.
//
// Holding a button down steps the position at once, again after the first
// delay and then every repeat period until it is let go. The thumb can be
// dragged, and a click on the track moves the thumb there. A change of
// position is told to the change routine, or without one to the parent's
// OnNotify(PIM_NOTIFY_SCROLL, bar, position, 0); a bar without a parent tells
// nobody.
//
// The bar owns its buttons and its thumb; they are made the first time a
// picture is given for them.

#include "PIM/core/CxTimerCallBack.h"
#include "PIM/core/CxTimerListener.h"
#include "PIM/display/CxSprite.h"

class CxButton;
class CxScrollBar;

constexpr int PIM_NOTIFY_SCROLL = 1;
// The repeat timing until the owner sets its own.
constexpr uint32_t PIM_SCROLL_FIRST_DELAY_MS = 400;
constexpr uint32_t PIM_SCROLL_REPEAT_MS = 80;

using PimScrollRoutine = void (*)(CxScrollBar* bar, int32_t position);

class CxScrollBar : public CxSprite, public CxTimerListener
{
public:
    CxScrollBar();
    ~CxScrollBar() override;

    // --- parts ---------------------------------------------------------------------------
    // Each file is optional (null or "" skips it); the first error is returned.
    virtual int LoadParts(const char* decreaseFile, const char* increaseFile, const char* thumbFile);
    // The Set forms take ownership of `surface` when they succeed; otherwise
    // it stays the caller's. Button pictures hold five frames.
    virtual int SetDecreaseButton(CxDrawSurface* surface);
    virtual int LoadDecreaseButton(const char* fileName);
    virtual int SetIncreaseButton(CxDrawSurface* surface);
    virtual int LoadIncreaseButton(const char* fileName);
    virtual int SetThumb(CxDrawSurface* surface);
    virtual int LoadThumb(const char* fileName);

    // --- position ------------------------------------------------------------------------
    // Only while enabled; clamped to the range. The bar's own place is still
    // set with the display object's forms and read with GetRect.
    using CxSprite::SetPosition;
    virtual void SetPosition(int32_t value);
    virtual int32_t GetPosition() const { return m_position; }
    // In the bar's coordinates; empty without the button.
    virtual CxRect GetDecreaseRect() const;
    virtual CxRect GetIncreaseRect() const;
    // Places the buttons at the ends and the thumb for the position.
    virtual void LayoutParts();
    // `point` in the bar's coordinates.
    virtual bool HitThumb(CxPoint point) const;

    // A range given backwards is turned round; the position is kept within it.
    void SetRange(int32_t minimum, int32_t maximum);
    int32_t GetMinimum() const { return m_minimum; }
    int32_t GetMaximum() const { return m_maximum; }
    int64_t GetPositionCount() const { return int64_t{m_maximum} - m_minimum + 1; }
    void SetStep(int32_t step) { m_step = step; }
    int32_t GetStep() const { return m_step; }
    void SetChangeRoutine(PimScrollRoutine routine) { m_routine = routine; }
    PimScrollRoutine GetChangeRoutine() const { return m_routine; }
    // Milliseconds; 0 is taken as 1.
    void SetRepeatTiming(uint32_t firstDelay, uint32_t period);
    uint32_t GetFirstDelay() const { return m_firstDelay; }
    uint32_t GetRepeatPeriod() const { return m_repeatPeriod; }
    bool IsVertical() const { return m_vertical; }
    CxButton* GetDecreaseButton() const { return m_decrease; }
    CxButton* GetIncreaseButton() const { return m_increase; }
    CxSprite* GetThumb() const { return m_thumb; }
    bool IsRepeating() const { return m_repeating != nullptr; }

    // --- CxDisplayObject -----------------------------------------------------------------
    int Create(int32_t x, int32_t y, int32_t width, int32_t height, CxDisplayObject* parent,
               void* userData = nullptr) override;
    void OnResize(CxSize size) override;
    void Enable() override;
    void Disable() override;
    void Hide() override;
    void OnLButtonDown(uint32_t buttons, CxPoint point) override;
    void OnLButtonUp(uint32_t buttons, CxPoint point) override;
    void OnMouseMove(uint32_t buttons, CxPoint point) override;
    // The buttons' news are the bar's own business; the rest goes on.
    int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second) override;
    void OnTimer(CxTimerCallBack* timer) override;

protected:
    explicit CxScrollBar(bool vertical);

    // Along the bar's axis: x for the horizontal form, y for the vertical.
    int32_t Along(CxPoint point) const { return m_vertical ? point.y : point.x; }
    int32_t Along(CxSize size) const { return m_vertical ? size.height : size.width; }
    int32_t Across(CxSize size) const { return m_vertical ? size.width : size.height; }
    CxPoint Make(int32_t along, int32_t across) const
    {
        return m_vertical ? CxPoint(across, along) : CxPoint(along, across);
    }

    // Clamps, places the thumb and tells the owner of a change.
    void ApplyPosition(int32_t value);
    // The position whose thumb starts at `thumbStart` along the bar.
    int32_t PositionAt(int32_t thumbStart) const;
    // The room the thumb moves in: its first start and the length it travels.
    void ThumbTrack(int32_t& first, int32_t& travel) const;
    void PlaceThumb();
    void NotifyChange();
    // Makes the part the first time, gives it the picture and lays out.
    template <class T>
    int InstallPart(T*& part, CxDrawSurface* surface, int frames, const char* invalid, const char* noMemory);
    // A new surface loaded from `fileName`; `invalid` is said when it cannot be read.
    int LoadPart(const char* fileName, CxDrawSurface*& surface, const char* invalid);
    int LoadPart(const char* fileName, int (CxScrollBar::*set)(CxDrawSurface*), const char* invalid);
    void ButtonChanged(CxButton* button);
    void StopRepeat();
    void EndDrag();
    void StepBy(int32_t direction);

    bool m_vertical;
    int32_t m_minimum = 0;
    int32_t m_maximum = 100;
    int32_t m_position = 0;
    int32_t m_step = 1;
    CxButton* m_decrease = nullptr;
    CxButton* m_increase = nullptr;
    CxSprite* m_thumb = nullptr;
    PimScrollRoutine m_routine = nullptr;
    CxTimerCallBack m_repeatTimer;
    uint32_t m_firstDelay = PIM_SCROLL_FIRST_DELAY_MS;
    uint32_t m_repeatPeriod = PIM_SCROLL_REPEAT_MS;
    // The button being held, and when its next step is due.
    CxButton* m_repeating = nullptr;
    uint32_t m_nextStep = 0;
    // Where along the thumb it was grabbed; -1 while not dragging.
    int32_t m_grab = -1;
};

class CxVerticalScrollBar : public CxScrollBar
{
public:
    CxVerticalScrollBar() : CxScrollBar(true) {}
};
