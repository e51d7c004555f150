// Buttons: the five visual states, the events each change sends, and the
// pointer rules of push buttons against radio-style buttons and check boxes.
//
// The capture is the modal stack: a button that is hovered or pressed pushes
// itself so that it hears the pointer leave or the press end even outside
// its rectangle, and pops itself off again as soon as that happened.

#include "PIM/widgets/CxButton.h"

#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"

namespace {

bool IsValidState(int state)
{
    return state >= PIM_BUTTON_NORMAL && state < PIM_BUTTON_STATE_COUNT;
}

} // namespace

CxButton::CxButton(int kind) : m_kind(PIM_BUTTON_PUSH)
{
    SetKind(kind);
    m_hitMask = PIM_BUTTON_HIT_MASK;
}

CxButton::~CxButton()
{
    ForgetSelf();
}

void CxButton::SetKind(int kind)
{
    m_kind = (kind == PIM_BUTTON_RADIO || kind == PIM_BUTTON_CHECK) ? kind : PIM_BUTTON_PUSH;
}

// --- states and events -----------------------------------------------------------------------

void CxButton::SetVisualState(int state)
{
    if (!IsValidState(state))
        return;
    const int previous = m_state;
    ShowState(state);
    m_state = state;
    if (state == previous || !m_parent)
        return;
    NotifyChange(previous, state);
}

void CxButton::NotifyChange(int from, int to)
{
    switch (to) {
    case PIM_BUTTON_NORMAL:
        Notify(from == PIM_BUTTON_HIGHLIGHTED ? PIM_BUTTON_EVENT_LEFT : PIM_BUTTON_EVENT_NORMAL);
        break;
    case PIM_BUTTON_CHECKED:
        Notify(from == PIM_BUTTON_PRESSED ? PIM_BUTTON_EVENT_LEFT : PIM_BUTTON_EVENT_CHECKED);
        break;
    case PIM_BUTTON_HIGHLIGHTED:
        // Leaving the checked look and gaining the highlight are two news.
        if (from != PIM_BUTTON_NORMAL)
            Notify(PIM_BUTTON_EVENT_NORMAL);
        if (from != PIM_BUTTON_PRESSED)
            Notify(PIM_BUTTON_EVENT_HIGHLIGHTED);
        break;
    case PIM_BUTTON_PRESSED:
        if (from != PIM_BUTTON_CHECKED)
            Notify(PIM_BUTTON_EVENT_CHECKED);
        if (from != PIM_BUTTON_HIGHLIGHTED)
            Notify(PIM_BUTTON_EVENT_HIGHLIGHTED);
        break;
    default:
        Notify(PIM_BUTTON_EVENT_DISABLED);
        break;
    }
}

void CxButton::Notify(int event)
{
    if (!m_parent)
        return;
    if (m_routine)
        m_routine(this, event);
    else
        m_parent->OnNotify(PIM_NOTIFY_BUTTON, this, event, 0);
}

void CxButton::ShowState(int state)
{
    SetFrame(m_frameMap[state]);
}

void CxButton::SetChecked(bool checked)
{
    SetVisualState(checked ? PIM_BUTTON_CHECKED : PIM_BUTTON_NORMAL);
}

void CxButton::SetFrameMap(int state, int value)
{
    if (!IsValidState(state))
        return;
    m_frameMap[state] = value;
    if (state == m_state)
        ShowState(state);
}

int CxButton::GetFrameMap(int state) const
{
    return IsValidState(state) ? m_frameMap[state] : -1;
}

int CxButton::RestingState() const
{
    if (m_kind == PIM_BUTTON_PUSH)
        return PIM_BUTTON_NORMAL;
    return IsChecked() ? PIM_BUTTON_CHECKED : PIM_BUTTON_NORMAL;
}

void CxButton::ReleaseCapture()
{
    if (IsModal())
        PopModal();
}

// --- the picture -----------------------------------------------------------------------------

int CxButton::SetSurface(CxDrawSurface* surface, int frameCount)
{
    (void)frameCount;
    const int code = CxSprite::SetSurface(surface, PIM_BUTTON_STATE_COUNT);
    if (code == PIM_OK)
        ShowState(m_state);
    return code;
}

int CxButton::LoadPicture(const char* fileName, int frameCount)
{
    (void)frameCount;
    const int code = CxSprite::LoadPicture(fileName, PIM_BUTTON_STATE_COUNT);
    if (code == PIM_OK)
        ShowState(m_state);
    return code;
}

// --- enabling and hiding ---------------------------------------------------------------------

void CxButton::Disable()
{
    ReleaseCapture();
    if (!IsEnabled())
        return;
    // The capture is gone, so a hover or press look could never be taken
    // back by the pointer: only the checked part is worth keeping.
    m_savedState = RestingState();
    SetVisualState(PIM_BUTTON_DISABLED);
    CxSprite::Disable();
}

void CxButton::Enable()
{
    if (IsEnabled())
        return;
    CxSprite::Enable();
    const int state = m_savedState;
    m_savedState = PIM_BUTTON_NORMAL;
    SetVisualState(state);
}

void CxButton::Hide()
{
    ReleaseCapture();
    // A hidden button hears no pointer, so a hover or a press would stick.
    if (IsEnabled() && (m_state == PIM_BUTTON_HIGHLIGHTED || m_state == PIM_BUTTON_PRESSED))
        SetVisualState(RestingState());
    CxSprite::Hide();
}

// --- the pointer -----------------------------------------------------------------------------

void CxButton::OnMouseMove(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    // The default cursor, as any object under the pointer gets it; the
    // event is not passed on while the button holds the capture.
    SetCursor(GetDefaultCursor());
    if (m_state == PIM_BUTTON_DISABLED || !IsEnabled())
        return;
    if (m_kind == PIM_BUTTON_PUSH)
        MoveOverPush(point);
    else
        MoveOverToggle(point);
}

void CxButton::MoveOverPush(CxPoint point)
{
    if (m_state == PIM_BUTTON_CHECKED || m_state == PIM_BUTTON_PRESSED)
        return;
    if (ContainsPoint(LocalToParent(point), true)) {
        PushModal();
        SetVisualState(PIM_BUTTON_HIGHLIGHTED);
    } else {
        ReleaseCapture();
        SetVisualState(PIM_BUTTON_NORMAL);
    }
}

void CxButton::MoveOverToggle(CxPoint point)
{
    const bool pixelTest = m_kind == PIM_BUTTON_CHECK ? GetPixelHitTest() : true;
    if (ContainsPoint(LocalToParent(point), pixelTest)) {
        PushModal();
        SetVisualState(IsChecked() ? PIM_BUTTON_PRESSED : PIM_BUTTON_HIGHLIGHTED);
        return;
    }
    ReleaseCapture();
    if (m_state == PIM_BUTTON_HIGHLIGHTED)
        SetVisualState(PIM_BUTTON_NORMAL);
    else if (m_state == PIM_BUTTON_PRESSED)
        SetVisualState(PIM_BUTTON_CHECKED);
}

void CxButton::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    (void)point;
    if (m_state == PIM_BUTTON_DISABLED || !IsEnabled())
        return;
    switch (m_kind) {
    case PIM_BUTTON_PUSH:
        PushModal();
        SetVisualState(PIM_BUTTON_PRESSED);
        return;
    case PIM_BUTTON_RADIO:
        if (!IsChecked())
            SetVisualState(PIM_BUTTON_PRESSED);
        break;
    default:
        SetVisualState(IsChecked() ? PIM_BUTTON_HIGHLIGHTED : PIM_BUTTON_PRESSED);
        break;
    }
    ReleaseCapture();
}

void CxButton::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    if (m_kind != PIM_BUTTON_PUSH || !IsModal())
        return;
    PopModal();
    const int before = m_state;
    SetVisualState(PIM_BUTTON_NORMAL);
    const bool inside = CxRect::FromSize(CxPoint(), m_size).Contains(point);
    const bool recheck = s_recheckHover;
    // The owner may delete this button on hearing the click or the leave:
    // nothing of it is touched afterwards.
    if (!inside)
        Notify(PIM_BUTTON_EVENT_LEFT);
    else if (before == PIM_BUTTON_CHECKED || before == PIM_BUTTON_PRESSED)
        Notify(PIM_BUTTON_EVENT_CLICKED);
    if (recheck && IsDisplayInitialised())
        DispatchMouse(MouseEvent(EMouseAction::Move, EMouseButton::None, GetCursorPosition()));
}

// --- the animated form -----------------------------------------------------------------------

CxAnimatedButton::CxAnimatedButton(int kind) : CxButton(kind)
{
    m_animation.SetDisplayObject(this);
}

CxAnimatedButton::~CxAnimatedButton()
{
    m_animation.Stop();
    ForgetSelf();
}

void CxAnimatedButton::ShowState(int state)
{
    // The animation puts up the frames; the map holds action indices.
    (void)state;
}

void CxAnimatedButton::SetVisualState(int state)
{
    CxButton::SetVisualState(state);
    // Restarting on every pointer move over a hovered button would keep its
    // animation at its first frame: only a new state restarts it.
    if (m_state != m_playedState)
        PlayState();
}

void CxAnimatedButton::PlayState()
{
    m_animation.Stop();
    // Starting an action places and shows the button: a hidden one waits.
    if (!IsShown() || m_animation.GetActionCount() == 0)
        return;
    m_playedState = m_state;
    m_animation.Play(m_frameMap[m_state]);
}

int CxAnimatedButton::SetActions(const ST_ANIM_ACTION* actions, int count)
{
    m_animation.Stop();
    m_animation.RemoveAllActions();
    m_playedState = -1;
    const int code = actions && count > 0 ? m_animation.AddActions(actions, count) : PIM_OK;
    if (code == PIM_OK)
        PlayState();
    return code;
}

void CxAnimatedButton::Show()
{
    CxButton::Show();
    if (m_playedState != m_state || !m_animation.IsPlaying())
        PlayState();
}

void CxAnimatedButton::Hide()
{
    CxButton::Hide();
    m_animation.Stop();
    m_playedState = -1;
}
