// The scroll bar: its parts, the thumb's place for a position and back, the
// held-button repeat and dragging the thumb.
//
// Both forms share one body: every length is taken along the bar's axis and
// every centring across it, so the vertical form only picks the axis.

#include "PIM/widgets/CxScrollBar.h"

#include "PIM/core/CxMemory.h"
#include "PIM/core/PimClock.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"
#include "PIM/widgets/CxButton.h"

#include <cstdint>
#include <initializer_list>

namespace {

const char* const kInvalidButton = "Invalid DisplaySurface passed to CxScrollBar::LoadLeftButton()";
const char* const kInvalidThumb = "Invalid CxDrawSurface passed to CxScrollBar::LoadThumb()";

int32_t Clamp(int64_t value, int64_t low, int64_t high)
{
    if (value > high)
        value = high;
    if (value < low)
        value = low;
    return static_cast<int32_t>(value);
}

int32_t LengthOf(const CxDisplayObject* part, bool vertical)
{
    if (!part)
        return 0;
    return vertical ? part->GetHeight() : part->GetWidth();
}

} // namespace

CxScrollBar::CxScrollBar() : CxScrollBar(false) {}

CxScrollBar::CxScrollBar(bool vertical) : m_vertical(vertical), m_repeatTimer(this) {}

CxScrollBar::~CxScrollBar()
{
    ForgetSelf();
    m_repeatTimer.Reset();
    m_repeating = nullptr;
    PimDelete(m_decrease);
    PimDelete(m_increase);
    PimDelete(m_thumb);
}

// --- parts -----------------------------------------------------------------------------------

template <class T>
int CxScrollBar::InstallPart(T*& part, CxDrawSurface* surface, int frames, const char* invalid,
                             const char* noMemory)
{
    if (!surface)
        return SetError(PIM_ERR_BAD_ARG, "%s", invalid);
    if (!part) {
        part = PimNew<T>(__FILE__, __LINE__);
        if (!part)
            return SetError(PIM_ERR_OUT_OF_MEMORY, "%s", noMemory);
        part->Create(0, 0, 0, 0, this);
    }
    const int code = part->SetSurface(surface, frames);
    if (code != PIM_OK)
        return m_error = code;
    // A new picture of another size replaces the old one's area.
    part->Invalidate();
    part->SetSize(part->GetFrameSize());
    LayoutParts();
    return PIM_OK;
}

int CxScrollBar::LoadPart(const char* fileName, CxDrawSurface*& surface, const char* invalid)
{
    surface = CreateDrawSurface();
    if (!surface)
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a new CxDrawSurface");
    if (!fileName || !*fileName || surface->Load(fileName, 0) != PIM_OK) {
        delete surface;
        surface = nullptr;
        return SetError(PIM_ERR_BAD_ARG, "%s", invalid);
    }
    return PIM_OK;
}

int CxScrollBar::SetDecreaseButton(CxDrawSurface* surface)
{
    return InstallPart(m_decrease, surface, PIM_BUTTON_STATE_COUNT, kInvalidButton,
                       "Could not allocate a new CxButton");
}

int CxScrollBar::SetIncreaseButton(CxDrawSurface* surface)
{
    return InstallPart(m_increase, surface, PIM_BUTTON_STATE_COUNT, kInvalidButton,
                       "Could not allocate a new CxButton");
}

int CxScrollBar::SetThumb(CxDrawSurface* surface)
{
    return InstallPart(m_thumb, surface, 1, kInvalidThumb, "Could not allocate a new CxSprite");
}

int CxScrollBar::LoadPart(const char* fileName, int (CxScrollBar::*set)(CxDrawSurface*), const char* invalid)
{
    CxDrawSurface* surface = nullptr;
    int code = LoadPart(fileName, surface, invalid);
    if (code != PIM_OK)
        return code;
    code = (this->*set)(surface);
    // A refused picture stays ours to free.
    if (code != PIM_OK)
        delete surface;
    return code;
}

int CxScrollBar::LoadDecreaseButton(const char* fileName)
{
    return LoadPart(fileName, &CxScrollBar::SetDecreaseButton, kInvalidButton);
}

int CxScrollBar::LoadIncreaseButton(const char* fileName)
{
    return LoadPart(fileName, &CxScrollBar::SetIncreaseButton, kInvalidButton);
}

int CxScrollBar::LoadThumb(const char* fileName)
{
    return LoadPart(fileName, &CxScrollBar::SetThumb, kInvalidThumb);
}

int CxScrollBar::LoadParts(const char* decreaseFile, const char* increaseFile, const char* thumbFile)
{
    int first = PIM_OK;
    const auto keep = [&first](int code) {
        if (first == PIM_OK)
            first = code;
    };
    if (decreaseFile && *decreaseFile)
        keep(LoadDecreaseButton(decreaseFile));
    if (increaseFile && *increaseFile)
        keep(LoadIncreaseButton(increaseFile));
    if (thumbFile && *thumbFile)
        keep(LoadThumb(thumbFile));
    return first;
}

CxRect CxScrollBar::GetDecreaseRect() const
{
    return m_decrease ? m_decrease->GetRect() : CxRect();
}

CxRect CxScrollBar::GetIncreaseRect() const
{
    return m_increase ? m_increase->GetRect() : CxRect();
}

bool CxScrollBar::HitThumb(CxPoint point) const
{
    return m_thumb && m_thumb->IsShown() && m_thumb->GetRect().Contains(point);
}

// --- layout ----------------------------------------------------------------------------------

void CxScrollBar::LayoutParts()
{
    const int32_t across = Across(m_size);
    if (m_decrease)
        m_decrease->MoveTo(Make(0, (across - Across(m_decrease->GetSize())) / 2));
    if (m_increase)
        m_increase->MoveTo(
            Make(Along(m_size) - Along(m_increase->GetSize()), (across - Across(m_increase->GetSize())) / 2));
    PlaceThumb();
}

void CxScrollBar::ThumbTrack(int32_t& first, int32_t& travel) const
{
    first = LengthOf(m_decrease, m_vertical);
    const int64_t room = int64_t{Along(m_size)} - LengthOf(m_increase, m_vertical) - first -
                         LengthOf(m_thumb, m_vertical);
    travel = room > 0 ? Clamp(room, 0, INT32_MAX) : 0;
}

void CxScrollBar::PlaceThumb()
{
    if (!m_thumb)
        return;
    int32_t first = 0;
    int32_t travel = 0;
    ThumbTrack(first, travel);
    const int64_t count = GetPositionCount();
    int64_t start = first;
    // One position, or no room to move in, leaves the thumb at the start.
    if (count > 1 && travel > 0)
        start = first + int64_t{travel} * (int64_t{m_position} - m_minimum) / (count - 1);
    const int32_t at = Clamp(start, first, int64_t{first} + travel);
    m_thumb->MoveTo(Make(at, (Across(m_size) - Across(m_thumb->GetSize())) / 2));
}

int32_t CxScrollBar::PositionAt(int32_t thumbStart) const
{
    int32_t first = 0;
    int32_t travel = 0;
    ThumbTrack(first, travel);
    const int64_t count = GetPositionCount();
    if (count <= 1 || travel <= 0)
        return m_minimum;
    const int64_t offset = Clamp(int64_t{thumbStart} - first, 0, travel);
    // Rounded to the nearest position, so a thumb dropped where PlaceThumb
    // put it gives that position back.
    return Clamp(m_minimum + (offset * (count - 1) + travel / 2) / travel, m_minimum, m_maximum);
}

// --- position --------------------------------------------------------------------------------

void CxScrollBar::SetRange(int32_t minimum, int32_t maximum)
{
    m_minimum = minimum <= maximum ? minimum : maximum;
    m_maximum = minimum <= maximum ? maximum : minimum;
    ApplyPosition(m_position);
}

void CxScrollBar::SetPosition(int32_t value)
{
    if (IsEnabled())
        ApplyPosition(value);
}

void CxScrollBar::ApplyPosition(int32_t value)
{
    const int32_t clamped = Clamp(value, m_minimum, m_maximum);
    const bool changed = clamped != m_position;
    m_position = clamped;
    PlaceThumb();
    if (changed)
        NotifyChange();
}

void CxScrollBar::NotifyChange()
{
    if (!m_parent)
        return;
    if (m_routine)
        m_routine(this, m_position);
    else
        m_parent->OnNotify(PIM_NOTIFY_SCROLL, this, m_position, 0);
}

void CxScrollBar::StepBy(int32_t direction)
{
    SetPosition(Clamp(int64_t{m_position} + int64_t{direction} * m_step, INT32_MIN, INT32_MAX));
}

// --- the held button -------------------------------------------------------------------------

void CxScrollBar::SetRepeatTiming(uint32_t firstDelay, uint32_t period)
{
    // A timer started for 0 would run without end and never fire.
    m_firstDelay = firstDelay ? firstDelay : 1;
    m_repeatPeriod = period ? period : 1;
}

int CxScrollBar::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    if (code == PIM_NOTIFY_BUTTON && sender && (sender == m_decrease || sender == m_increase)) {
        ButtonChanged(static_cast<CxButton*>(sender));
        return 0;
    }
    return CxSprite::OnNotify(code, sender, first, second);
}

void CxScrollBar::ButtonChanged(CxButton* button)
{
    // A press may tell two events; only the first one for it starts anything.
    const bool pressed = button->GetVisualState() == PIM_BUTTON_PRESSED;
    if (!pressed) {
        if (m_repeating == button)
            StopRepeat();
        return;
    }
    if (m_repeating == button)
        return;
    m_repeating = button;
    m_nextStep = PimGetTicks() + m_firstDelay;
    m_repeatTimer.Start(m_firstDelay);
    StepBy(button == m_decrease ? -1 : 1);
}

void CxScrollBar::OnTimer(CxTimerCallBack* timer)
{
    if (timer != &m_repeatTimer)
        return;
    if (!m_repeating || m_repeating->GetVisualState() != PIM_BUTTON_PRESSED || !IsEnabled()) {
        StopRepeat();
        return;
    }
    // The next step is timed from when this one was due, so a late frame
    // does not slow the repeat down; steps missed altogether are not made up.
    const uint32_t now = PimGetTicks();
    m_nextStep += m_repeatPeriod;
    if (static_cast<int32_t>(m_nextStep - now) <= 0)
        m_nextStep = now + m_repeatPeriod;
    m_repeatTimer.Start(m_nextStep - now);
    StepBy(m_repeating == m_decrease ? -1 : 1);
}

void CxScrollBar::StopRepeat()
{
    m_repeating = nullptr;
    m_repeatTimer.Reset();
}

// --- the bar itself --------------------------------------------------------------------------

int CxScrollBar::Create(int32_t x, int32_t y, int32_t width, int32_t height, CxDisplayObject* parent,
                        void* userData)
{
    const int code = CxSprite::Create(x, y, width, height, parent, userData);
    LayoutParts();
    return code;
}

void CxScrollBar::OnResize(CxSize size)
{
    (void)size;
    LayoutParts();
}

void CxScrollBar::Enable()
{
    CxSprite::Enable();
    if (m_decrease)
        m_decrease->Enable();
    if (m_increase)
        m_increase->Enable();
}

void CxScrollBar::Disable()
{
    StopRepeat();
    EndDrag();
    if (m_decrease)
        m_decrease->Disable();
    if (m_increase)
        m_increase->Disable();
    CxSprite::Disable();
}

void CxScrollBar::Hide()
{
    StopRepeat();
    EndDrag();
    // The buttons go with the bar and hear no pointer either: a hover or a
    // press (and the capture) of theirs would stick. Hiding one drops it.
    for (CxButton* button : {m_decrease, m_increase}) {
        if (button && button->IsShown()) {
            button->Hide();
            button->SetFlags(button->GetFlags() | PIM_DO_SHOWN);
        }
    }
    CxSprite::Hide();
}

void CxScrollBar::EndDrag()
{
    if (m_grab < 0)
        return;
    m_grab = -1;
    if (IsModal())
        PopModal();
}

void CxScrollBar::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    (void)buttons;
    if (!IsEnabled() || !m_thumb)
        return;
    const int32_t thumbLength = Along(m_thumb->GetSize());
    if (HitThumb(point)) {
        m_grab = Along(point) - Along(m_thumb->GetPosition());
    } else {
        // A click on the track brings the thumb's middle there, held.
        m_grab = thumbLength / 2;
        SetPosition(PositionAt(Along(point) - m_grab));
    }
    PushModal();
}

void CxScrollBar::OnMouseMove(uint32_t buttons, CxPoint point)
{
    if (m_grab < 0) {
        CxSprite::OnMouseMove(buttons, point);
        return;
    }
    SetPosition(PositionAt(Along(point) - m_grab));
}

void CxScrollBar::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    if (m_grab < 0) {
        CxSprite::OnLButtonUp(buttons, point);
        return;
    }
    EndDrag();
}
