// The endless panorama and its strip.
//
// The strip's coordinates are the picture's, periodic along the wrapping
// axis (x for a horizontal panorama, y for a vertical one): strip point
// s and s + period show the same pixel. The strip draws every copy of the
// picture and of each child that the dirty area meets, and reports each
// child's screen area at the copy the view shows, so moves, invalidation
// and hit tests of objects on the picture wrap with it.

#include "PIM/display/CxPanorama.h"

#include "PIM/core/PimIntMath.h"

#include "PIM/display/CxOffsetTarget.h"
#include "PIM/graphics/CxDrawSurface.h"
#include "PIM/graphics/PimSurfaceFactory.h"

#include <algorithm>
#include <limits>

namespace {


int32_t ClampToInt32(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// One axis of a point leaving the strip: `value` (plain) if it lies in the
// window 0 .. window - 1, else the copy nearest to the window.
int64_t WrapIntoWindow(int64_t value, int64_t period, int64_t window)
{
    if (period <= 0 || (value >= 0 && value < window))
        return value;
    const int64_t ahead = PimFloorMod(value, period); // 0 .. period - 1
    const int64_t behind = ahead - period;         // below 0
    const int64_t aheadDistance = ahead < window ? 0 : ahead - window + 1;
    return aheadDistance <= -behind ? ahead : behind;
}

// Copies k of a span [low, high] (low + k x period ...) that meet [from, to]:
// k runs first .. last (none when first > last).
void CopiesMeeting(int64_t low, int64_t high, int64_t from, int64_t to, int64_t period, int64_t& first,
                   int64_t& last)
{
    first = PimFloorDiv(from - high + period - 1, period);
    last = PimFloorDiv(to - low, period);
}

// Far more copies than any window shows: a bound on the drawing loops when
// a picture one pixel wide meets a huge clip.
constexpr int64_t kMaxCopies = 1 << 16;


} // namespace

// === CPanEx: the strip ========================================================================

CPanEx::CPanEx()
{
    SetName("Panorama strip");
    m_flags |= PIM_DO_SHOWN;
}

CPanEx::~CPanEx()
{
    ForgetSelf();
}

int32_t CPanEx::GetPictureWidth() const
{
    return m_surface ? m_frameSize.width : 0;
}

int32_t CPanEx::GetPictureHeight() const
{
    return m_surface ? m_frameSize.height : 0;
}

int32_t CPanEx::GetPeriod() const
{
    return m_vertical ? GetPictureHeight() : GetPictureWidth();
}

int32_t CPanEx::GetWindowLength() const
{
    const int32_t length = m_vertical ? m_size.height : m_size.width;
    return std::max(length - GetPeriod(), 0);
}

CxRect CPanEx::Shifted(const CxRect& rect, int64_t copies) const
{
    const int64_t by = copies * GetPeriod();
    return m_vertical ? CxRect(rect.left, ClampToInt32(rect.top + by), rect.right, ClampToInt32(rect.bottom + by))
                      : CxRect(ClampToInt32(rect.left + by), rect.top, ClampToInt32(rect.right + by), rect.bottom);
}

CxRect CPanEx::StripToScreen(const CxRect& rect) const
{
    if (rect.IsEmpty())
        return CxRect();
    const CxRect inParent = rect.Offset(m_position.x, m_position.y);
    return m_parent ? m_parent->LocalToScreen(inParent) : inParent;
}

// --- coordinates -----------------------------------------------------------------------------

int CPanEx::WrapToParent(CxPoint& point) const
{
    const int64_t period = GetPeriod();
    const int64_t x = int64_t{point.x} + m_position.x;
    const int64_t y = int64_t{point.y} + m_position.y;
    const int64_t plain = m_vertical ? y : x;
    const int64_t wrapped = WrapIntoWindow(plain, period, GetWindowLength());
    if (m_vertical)
        point = CxPoint(ClampToInt32(x), ClampToInt32(wrapped));
    else
        point = CxPoint(ClampToInt32(wrapped), ClampToInt32(y));
    return period > 0 ? ClampToInt32((wrapped - plain) / period) : 0;
}

CxPoint CPanEx::LocalToParent(CxPoint point) const
{
    WrapToParent(point);
    return point;
}

CxPoint CPanEx::ParentToLocal(CxPoint point) const
{
    const int64_t period = GetPeriod();
    int64_t x = int64_t{point.x} - m_position.x;
    int64_t y = int64_t{point.y} - m_position.y;
    if (period > 0) {
        if (m_vertical)
            y = PimFloorMod(y, period);
        else
            x = PimFloorMod(x, period);
    }
    return CxPoint(ClampToInt32(x), ClampToInt32(y));
}

// --- drawing ---------------------------------------------------------------------------------

void CPanEx::Draw(CxRenderTarget& target, const CxRect& clip)
{
    if (clip.IsEmpty())
        return;
    const int32_t period = GetPeriod();
    if (period <= 0) {
        CxSprite::Draw(target, clip);
        return;
    }
    if (m_surface) {
        if (m_surface->GetError() != PIM_OK)
            ReportBadPicture();
        else
            DrawPicture(target, clip.Intersection(CxRect::FromSize(CxPoint(), m_size)));
    }
    // Children always appear above the picture, in list order.
    for (ChildList::Node* node = m_children.GetFirst(); node; node = node->GetNext()) {
        CxDisplayObject* child = node->GetElement();
        if (child->IsShown())
            DrawChildCopies(target, clip, *child);
    }
}

void CPanEx::DrawPicture(CxRenderTarget& target, const CxRect& area)
{
    if (area.IsEmpty())
        return;
    const int64_t period = GetPeriod();
    // The picture itself is copy 0; the strip's tail repeats it as often as
    // the window needs (more than once when the picture is narrower).
    const int64_t low = m_vertical ? area.top : area.left;
    const int64_t high = m_vertical ? area.bottom : area.right;
    const int64_t first = PimFloorDiv(low, period);
    const int64_t last = std::min(PimFloorDiv(high, period), first + kMaxCopies);
    const CxRect picture = CxRect::FromSize(CxPoint(), m_frameSize);
    for (int64_t k = first; k <= last; ++k) {
        const CxRect part = area.Intersection(Shifted(picture, k));
        if (part.IsEmpty())
            continue;
        const CxRect inPicture = Shifted(part, -k);
        const CxRect source = inPicture.Offset(m_frameRect.left, m_frameRect.top);
        const CxRect destination = StripToScreen(part);
        m_surface->DrawOnto(target, &destination, &source, m_key, &m_params);
    }
}

void CPanEx::DrawChildCopies(CxRenderTarget& target, const CxRect& clip, CxDisplayObject& child)
{
    const CxRect covered = (child.GetFlags() & PIM_DO_CLIP) ? CxRect::FromSize(CxPoint(), child.GetSize())
                                                              : child.GetExtent();
    const CxRect rect = RectToParent(child, covered);
    if (rect.IsEmpty())
        return;
    const int64_t period = GetPeriod();
    int64_t first = 0, last = -1;
    if (m_vertical)
        CopiesMeeting(rect.top, rect.bottom, clip.top, clip.bottom, period, first, last);
    else
        CopiesMeeting(rect.left, rect.right, clip.left, clip.right, period, first, last);
    last = std::min(last, first + kMaxCopies);
    const CxPoint home = child.GetPosition();
    for (int64_t k = first; k <= last; ++k) {
        const CxRect area = clip.Intersection(Shifted(rect, k));
        if (area.IsEmpty())
            continue;
        // The child stands at the copy while it draws, so that everything it
        // converts to the screen lands there; SetPosition marks nothing dirty.
        const CxRect at = Shifted(CxRect(home.x, home.y, home.x, home.y), k);
        child.SetPosition(at.left, at.top, PIM_ANCHOR_TOP_LEFT);
        child.Draw(target, RectFromParent(child, area));
    }
    child.SetPosition(home.x, home.y, PIM_ANCHOR_TOP_LEFT);
}

// --- geometry and hit tests ------------------------------------------------------------------

CxRect CPanEx::GetChildScreenRect(const CxDisplayObject& child) const
{
    const CxRect rect = RectToParent(child, child.GetExtent());
    const int64_t period = GetPeriod();
    if (rect.IsEmpty() || period <= 0)
        return StripToScreen(rect);
    // The part of the strip the window shows, along the wrapping axis.
    const int64_t view = m_vertical ? -int64_t{m_position.y} : -int64_t{m_position.x};
    const int64_t viewEnd = view + GetWindowLength() - 1;
    int64_t first = 0, last = -1;
    if (m_vertical)
        CopiesMeeting(rect.top, rect.bottom, view, viewEnd, period, first, last);
    else
        CopiesMeeting(rect.left, rect.right, view, viewEnd, period, first, last);
    if (first > last) {
        // Not in view: the copy that starts on the picture.
        const int64_t start = m_vertical ? rect.top : rect.left;
        return StripToScreen(Shifted(rect, -PimFloorDiv(start, period)));
    }
    const CxRect band = m_vertical ? CxRect(rect.left, ClampToInt32(view), rect.right, ClampToInt32(viewEnd))
                                   : CxRect(ClampToInt32(view), rect.top, ClampToInt32(viewEnd), rect.bottom);
    // A hit test asks about the one copy under its point: with a picture
    // narrower than the window the gaps between copies are not the child's.
    if (m_probe && first < last) {
        for (int64_t k = first; k <= last; ++k) {
            const CxRect copy = StripToScreen(Shifted(rect, k).Intersection(band));
            if (copy.Contains(*m_probe))
                return copy;
        }
        return StripToScreen(Shifted(rect, first).Intersection(band));
    }
    // Every copy in view, cut to the view so that nothing outside it is marked.
    return StripToScreen(Shifted(rect, first).Union(Shifted(rect, last)).Intersection(band));
}

CxDisplayObject* CPanEx::HitTest(CxPoint screenPoint, uint32_t mask)
{
    m_probe = &screenPoint;
    CxDisplayObject* hit = CxSprite::HitTest(screenPoint, mask);
    m_probe = nullptr;
    return hit == this ? nullptr : hit;
}

bool CPanEx::IsOpaqueAt(int32_t x, int32_t y)
{
    const int64_t period = GetPeriod();
    if (period <= 0)
        return false;
    if (m_vertical)
        y = static_cast<int32_t>(PimFloorMod(y, period));
    else
        x = static_cast<int32_t>(PimFloorMod(x, period));
    return CxSprite::IsOpaqueAt(x, y);
}

// === CxPanorama ===============================================================================

CxPanorama::CxPanorama()
{
    // Attached from the start; SetSurface attaches it again should this
    // have run out of memory.
    CxSprite::AddChild(&m_strip);
}

CxPanorama::~CxPanorama()
{
    ForgetSelf();
    // Taken off while the panorama is whole: the strip's own destructor
    // then has no parent left to ask about its screen area.
    CxSprite::RemoveChild(&m_strip);
}

// --- the picture -----------------------------------------------------------------------------

int CxPanorama::SetSurface(CxDrawSurface* surface, int frameCount)
{
    // The strip's own picture handed in again must survive the Unload.
    if (surface && surface == m_strip.GetSurface() && !m_strip.IsShared())
        m_strip.SetSurfacePointer(nullptr);
    UnloadPicture();
    const int code = m_strip.SetSurface(surface, frameCount);
    if (code != PIM_OK)
        return m_error = code; // the strip has reported it
    SizeStrip();
    if (m_strip.GetParent() != this) {
        const int added = CxSprite::AddChild(&m_strip);
        if (added != PIM_OK)
            return added;
    }
    m_strip.MoveTo(0, 0, PIM_ANCHOR_TOP_LEFT);
    return PIM_OK;
}

int CxPanorama::LoadPicture(const char* fileName, int frameCount)
{
    UnloadPicture();
    if (!fileName || !*fileName)
        return SetError(PIM_ERR_BAD_ARG, "CxPanorama::Load: no file name");
    CxDrawSurface* surface = LoadDrawSurface(fileName);
    if (!surface)
        return SetError(PIM_ERR_OPEN, "Panorama '%s' could not load its picture '%s'", m_name.GetText(), fileName);
    return SetSurface(surface, frameCount);
}

void CxPanorama::UnloadPicture()
{
    Unfreeze();
    m_strip.Unload();
    m_strip.SetSize(CxSize());
    m_strip.SetPosition(0, 0, PIM_ANCHOR_TOP_LEFT);
}

void CxPanorama::SetDrawMode(int32_t mode)
{
    m_strip.SetDrawMode(mode);
    Invalidate();
}

int32_t CxPanorama::GetDrawMode() const
{
    return m_strip.GetDrawMode();
}

void CxPanorama::SetDrawParams(const ST_DRAW_PARAMS* params)
{
    m_strip.SetDrawParams(params);
}

void CxPanorama::SizeStrip()
{
    const int32_t width = m_strip.GetPictureWidth();
    const int32_t height = m_strip.GetPictureHeight();
    if (width <= 0 || height <= 0) {
        m_strip.SetSize(CxSize());
        return;
    }
    if (m_strip.IsVertical())
        m_strip.SetSize(CxSize(width, ClampToInt32(int64_t{height} + std::max(m_size.height, 0))));
    else
        m_strip.SetSize(CxSize(ClampToInt32(int64_t{width} + std::max(m_size.width, 0)), height));
}

void CxPanorama::SetOrientation(EPanoramaOrientation orientation)
{
    const bool vertical = orientation == EPanoramaOrientation::Vertical;
    if (vertical == m_strip.IsVertical())
        return;
    m_strip.SetVertical(vertical);
    SizeStrip();
    m_strip.SetPosition(0, 0, PIM_ANCHOR_TOP_LEFT);
    Invalidate();
}

void CxPanorama::SetSize(CxSize size)
{
    CxSprite::SetSize(size);
    SizeStrip();
    // A taller window may no longer fit below the old clamped position.
    const CxPoint scroll = GetScrollPosition();
    ScrollToWide(scroll.x, scroll.y);
}

// --- scrolling -------------------------------------------------------------------------------

void CxPanorama::ScrollLeft(int32_t pixels)
{
    ScrollBy(-int64_t{pixels}, 0);
}

void CxPanorama::ScrollRight(int32_t pixels)
{
    ScrollBy(pixels, 0);
}

void CxPanorama::ScrollUp(int32_t pixels)
{
    ScrollBy(0, -int64_t{pixels});
}

void CxPanorama::ScrollDown(int32_t pixels)
{
    ScrollBy(0, pixels);
}

void CxPanorama::ScrollTo(int32_t x, int32_t y)
{
    ScrollToWide(x, y);
}

void CxPanorama::ScrollBy(int64_t dx, int64_t dy)
{
    const CxPoint scroll = GetScrollPosition();
    ScrollToWide(scroll.x + dx, scroll.y + dy);
}

void CxPanorama::ScrollToWide(int64_t x, int64_t y)
{
    const int64_t width = m_strip.GetPictureWidth();
    const int64_t height = m_strip.GetPictureHeight();
    if (width <= 0 || height <= 0)
        return;
    // The clamped axis: a picture shorter than the window stays at 0
    // rather than being pushed down (or right) into the window.
    if (m_strip.IsVertical()) {
        x = std::max<int64_t>(std::min<int64_t>(x, width - m_size.width), 0);
        y = PimFloorMod(y, height);
    } else {
        y = std::max<int64_t>(std::min<int64_t>(y, height - m_size.height), 0);
        x = PimFloorMod(x, width);
    }
    const CxPoint position(static_cast<int32_t>(-x), static_cast<int32_t>(-y));
    if (position != m_strip.GetPosition())
        m_strip.MoveTo(position.x, position.y, PIM_ANCHOR_TOP_LEFT);
}

CxPoint CxPanorama::GetScrollPosition() const
{
    return CxPoint(-m_strip.GetPosition().x, -m_strip.GetPosition().y);
}

// --- freezing --------------------------------------------------------------------------------

int CxPanorama::Freeze()
{
    Unfreeze();
    CxDrawSurface* picture = m_strip.GetSurface();
    if (!picture || m_strip.GetPeriod() <= 0 || m_size.IsEmpty())
        return PIM_OK;
    CxDrawSurface* view = CreateDrawSurface();
    if (!view || view->Create(m_size.width, m_size.height, picture->GetDepth(), -1, nullptr,
                              picture->GetPixelLayout()) != PIM_OK) {
        delete view;
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not allocate a CxPanorama Freeze View");
    }
    if (picture->GetDepth() <= 8)
        view->SetPalette(picture->GetPalette());
    // Where the picture is see-through the frozen view stays see-through.
    const uint32_t key = m_strip.GetEffectiveKey();
    view->FillRect(view->GetRect(), key == PIM_NO_KEY ? 0 : key);
    view->SetTransparentColour(key);

    const CxPoint scroll = GetScrollPosition();
    CxOffsetTarget target(*view, LocalToScreen(CxPoint()));
    m_strip.Draw(target, CxRect::FromSize(scroll, m_size));
    InstallSurface(view, 1);
    return PIM_OK;
}

void CxPanorama::Unfreeze()
{
    // The panorama's own picture is only ever the frozen view.
    if (m_surface)
        CxSprite::UnloadPicture();
}

// --- the tree --------------------------------------------------------------------------------

int CxPanorama::AddChild(CxDisplayObject* child)
{
    if (child == &m_strip)
        return CxSprite::AddChild(child);
    const int code = m_strip.AddChild(child);
    return code == PIM_OK ? PIM_OK : (m_error = code);
}

void CxPanorama::RemoveChild(CxDisplayObject* child)
{
    if (child && child != &m_strip && child->GetParent() == &m_strip)
        m_strip.RemoveChild(child);
    else
        CxSprite::RemoveChild(child);
}

CxRect CxPanorama::GetChildScreenRect(const CxDisplayObject& child) const
{
    // The strip is placed by its position alone; its own conversion wraps,
    // which suits its children's points but not its own rectangle.
    if (&child == &m_strip)
        return LocalToScreen(m_strip.GetRect());
    return CxSprite::GetChildScreenRect(child);
}

// --- drawing and hit tests -------------------------------------------------------------------

void CxPanorama::Draw(CxRenderTarget& target, const CxRect& clip)
{
    if (clip.IsEmpty())
        return;
    if (IsFrozen()) {
        // The frozen view stands for the strip, which is passed over.
        const uint32_t shown = m_strip.GetFlags() & PIM_DO_SHOWN;
        m_strip.ModifyFlags(0, PIM_DO_SHOWN);
        CxSprite::Draw(target, clip);
        m_strip.ModifyFlags(shown, 0);
        return;
    }
    if (!m_strip.IsShown() || m_strip.GetParent() != this)
        return;
    const CxRect stripRect = m_strip.GetRect();
    const CxRect area = clip.Intersection(stripRect);
    if (!area.IsEmpty())
        m_strip.Draw(target, area.Offset(-stripRect.left, -stripRect.top));
}

bool CxPanorama::ContainsPoint(CxPoint point, bool pixelTest)
{
    const CxPoint local = ParentToLocal(point);
    if (!CxRect::FromSize(CxPoint(), m_size).Contains(local))
        return false;
    return !pixelTest || IsOpaqueAt(local.x, local.y);
}

bool CxPanorama::IsOpaqueAt(int32_t x, int32_t y)
{
    if (IsFrozen())
        return CxSprite::IsOpaqueAt(x, y);
    // The strip wraps the point onto the picture itself.
    const CxPoint strip = m_strip.GetPosition();
    return m_strip.IsOpaqueAt(ClampToInt32(int64_t{x} - strip.x), ClampToInt32(int64_t{y} - strip.y));
}
