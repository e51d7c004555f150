#include "DAX/buttons/CDaxButton.h"

#include "DAX/base/CDaxServices.h"
#include "PIM/core/Pimstr.h"
#include "PIM/display/PimCursors.h"
#include "PIM/graphics/CxDrawSurface.h"

namespace {

// Every reset action stops at its end frame, the last of the list.
constexpr uint32_t kResetFlags = PIM_ANIM_LAST | PIM_ANIM_END_FRAME;
constexpr uint32_t kStateFlags = PIM_ANIM_REPEAT | PIM_ANIM_FRAME_RATE | PIM_ANIM_START_FRAME | PIM_ANIM_END_FRAME;

bool IsValidState(int state)
{
    return state >= PIM_BUTTON_NORMAL && state < PIM_BUTTON_STATE_COUNT;
}

// Watches the button's gone flag over a call that may destroy the button.
// The outer watch (a text run from inside an event) learns of it too.
class LifeWatch
{
public:
    explicit LifeWatch(bool*& slot) : m_slot(slot), m_outer(slot) { slot = &m_gone; }
    ~LifeWatch()
    {
        if (!m_gone)
            m_slot = m_outer;
        else if (m_outer)
            *m_outer = true;
    }
    LifeWatch(const LifeWatch&) = delete;
    LifeWatch& operator=(const LifeWatch&) = delete;

    bool Gone() const { return m_gone; }

private:
    bool*& m_slot;
    bool* m_outer;
    bool m_gone = false;
};

} // namespace

CDaxButton::CDaxButton(int kind) : CxAnimatedButton(kind), m_flashTimer(this)
{
    SetName("NoName");
    m_flashParams.mode = DAX_BUTTON_FLASH_MODE;
    m_flashParams.argument1 = 0;
    m_flashParams.argument2 = 50;
    m_flashParams.argument3 = 50;
}

CDaxButton::~CDaxButton()
{
    if (m_goneFlag)
        *m_goneFlag = true;
    ForgetSelf();
}

// --- the picture -----------------------------------------------------------------------------

int CDaxButton::SetSurface(CxDrawSurface* surface, int frameCount)
{
    // Past CxButton's form, which would cut every picture into five frames.
    const int code = CxSprite::SetSurface(surface, frameCount);
    if (code == PIM_OK)
        TakePicture();
    return code;
}

int CDaxButton::LoadPicture(const char* fileName, int frameCount)
{
    // Still pictures come through SetSurface; movies are installed directly.
    const int code = CxSprite::LoadPicture(fileName, frameCount);
    if (code == PIM_OK && IsMovie())
        TakePicture();
    return code;
}

void CDaxButton::TakePicture()
{
    const bool alpha = m_surface && m_surface->GetDepth() == 32;
    m_normalParams.mode = alpha ? DAX_BUTTON_ALPHA_MODE : PIM_DRAW_COPY;
    m_flashParams.mode = alpha ? DAX_BUTTON_ALPHA_FLASH_MODE : DAX_BUTTON_FLASH_MODE;
    SetDrawParams(&m_normalParams);
    // The sprite's own count: a requested one the width did not divide was
    // not taken, and the actions must name frames that exist.
    BuildActions(GetFrameCount());
}

// --- the state actions -----------------------------------------------------------------------

void CDaxButton::BuildActions(int frameCount)
{
    for (ST_ANIM_ACTION& action : m_actions) {
        action = ST_ANIM_ACTION{};
        action.flags = kResetFlags;
        action.frameRate = DAX_BUTTON_FRAME_RATE;
        action.repeatCount = 1;
    }
    if (frameCount == PIM_BUTTON_STATE_COUNT) {
        SetStateFrames(PIM_BUTTON_NORMAL, 0, 0, false);
        SetStateFrames(PIM_BUTTON_CHECKED, 1, 1, false);
        SetStateFrames(PIM_BUTTON_DISABLED, 4, 4, false);
        SetStateFrames(PIM_BUTTON_HIGHLIGHTED, 2, 2, false);
        SetStateFrames(PIM_BUTTON_PRESSED, 3, 3, false);
        return;
    }
    SetStateFrames(PIM_BUTTON_NORMAL, 0, 0, false);
    for (int state : {PIM_BUTTON_CHECKED, PIM_BUTTON_DISABLED, PIM_BUTTON_HIGHLIGHTED, PIM_BUTTON_PRESSED})
        SetStateFrames(state, 1, -1, false);
}

void CDaxButton::SetStateFrames(int state, int firstFrame, int lastFrame, bool once)
{
    if (!IsValidState(state))
        return;
    const int frames = GetFrameCount();
    if (firstFrame < 0 || firstFrame >= frames)
        firstFrame = 0;
    if (lastFrame < 0 || lastFrame >= frames)
        lastFrame = frames - 1;
    ST_ANIM_ACTION& action = m_actions[state];
    action.flags = kStateFlags;
    action.startFrame = firstFrame;
    action.endFrame = lastFrame;
    if (once || firstFrame == lastFrame) {
        action.repeatCount = 1;
        action.flags |= PIM_ANIM_LAST;
    } else {
        action.repeatCount = DAX_BUTTON_LOOP_FOREVER;
    }
    SetActions(m_actions, PIM_BUTTON_STATE_COUNT);
}

const ST_ANIM_ACTION& CDaxButton::GetStateAction(int state) const
{
    return m_actions[IsValidState(state) ? state : PIM_BUTTON_NORMAL];
}

// --- events and texts ------------------------------------------------------------------------

void CDaxButton::Notify(int event)
{
    if (m_quiet)
        return;
    LifeWatch watch(m_goneFlag);
    CxAnimatedButton::Notify(event);
    if (watch.Gone())
        return;
    switch (event) {
    case PIM_BUTTON_EVENT_HIGHLIGHTED:
        OnEnterScript();
        break;
    case PIM_BUTTON_EVENT_CLICKED:
        OnClickScript();
        break;
    case PIM_BUTTON_EVENT_LEFT:
        OnLeaveScript();
        break;
    case PIM_BUTTON_EVENT_DISABLED:
        // A disabled button hears no leave: its cursor goes now.
        RestoreCursor();
        break;
    default:
        break;
    }
    // A click or leave text may have destroyed the button: nothing of it
    // is touched from here on.
}

bool CDaxButton::RunText(const CxString& text)
{
    if (text.IsEmpty())
        return true;
    LifeWatch watch(m_goneFlag);
    // The engine compiles the text before running it, so the text going
    // with the button while it runs does no harm.
    DaxServices().RunScript(text.GetText());
    return !watch.Gone();
}

void CDaxButton::OnClickScript()
{
    (void)RunText(m_clickText);
}

void CDaxButton::OnEnterScript()
{
    if (!RunText(m_enterText))
        return;
    if (m_cursor < 0) {
        m_rememberedCursor = -1;
        m_hovered = false;
        return;
    }
    // Entering again without leaving (a hover worked out anew after a
    // click) keeps the cursor of the first entry: the one up now is ours.
    if (!m_hovered)
        m_rememberedCursor = GetCursor();
    m_hovered = true;
    SetCursor(m_cursor);
}

void CDaxButton::OnLeaveScript()
{
    // Taken before the text runs, which may destroy the button.
    const int remembered = m_hovered ? m_rememberedCursor : -1;
    m_hovered = false;
    m_rememberedCursor = -1;
    (void)RunText(m_leaveText);
    if (remembered >= 0)
        SetCursor(remembered);
}

void CDaxButton::ResetState()
{
    ReleaseCapture();
    RestoreCursor();
    if (!IsEnabled())
        return;
    m_quiet = true;
    SetVisualState(PIM_BUTTON_NORMAL);
    m_quiet = false;
}

bool CDaxButton::IsClickNotice(int code, const CxDisplayObject* sender, intptr_t first, char* name, size_t size)
{
    if (code != PIM_NOTIFY_BUTTON || first != PIM_BUTTON_EVENT_CLICKED || !sender || !name || size == 0)
        return false;
    PimStrCopy(name, sender->GetName(), size);
    return true;
}

void CDaxButton::RestoreCursor()
{
    if (m_hovered && m_rememberedCursor >= 0)
        SetCursor(m_rememberedCursor);
    m_hovered = false;
    m_rememberedCursor = -1;
}

void CDaxButton::OnMouseMove(uint32_t buttons, CxPoint point)
{
    LifeWatch watch(m_goneFlag);
    CxAnimatedButton::OnMouseMove(buttons, point);
    if (watch.Gone())
        return;
    if (m_hovered && m_cursor >= 0)
        SetCursor(m_cursor);
}

// --- flashing --------------------------------------------------------------------------------

void CDaxButton::StartFlash(uint32_t period)
{
    m_highlighted = false;
    m_flashTimer.SetInterval(period == 0 ? 1 : period);
    m_flashTimer.Start(0);
}

void CDaxButton::StopFlash()
{
    if (!m_flashTimer.IsRunning())
        return;
    m_highlighted = false;
    m_flashTimer.Reset();
    SetDrawParams(&m_normalParams);
}

void CDaxButton::ShowSteadyLook(bool highlighted)
{
    if (m_flashTimer.IsRunning())
        m_flashTimer.Reset();
    m_highlighted = highlighted;
    SetDrawParams(highlighted ? &m_flashParams : &m_normalParams);
}

void CDaxButton::OnTimer(CxTimerCallBack* timer)
{
    if (timer != &m_flashTimer)
        return;
    // SetDrawParams marks the button for redrawing; showing it, as a
    // redraw by Show would, must not bring up a button that is hidden.
    SetDrawParams(GetDrawMode() == m_flashParams.mode ? &m_normalParams : &m_flashParams);
}
