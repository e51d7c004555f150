// The display tree's node: placing, z order, the tree itself, coordinates,
// extents, hit tests, drawing the children and the default input routing.
//
// Every change that alters what is on screen (show, hide, move, re-order,
// attach, detach, destroy) marks the affected screen area dirty; nothing
// is drawn here on demand. Screen areas are always computed through the
// virtual LocalToParent / GetChildScreenRect routes, so a node that lays its
// children out its own way only has to override those.

#include "PIM/display/CxDisplayObject.h"

#include "PIM/display/PimCursors.h"
#include "PIM/display/PimDisplay.h"

#include <limits>

namespace {

int32_t ClampToInt32(int64_t value)
{
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

CxRect LocalRect(CxSize size)
{
    return CxRect::FromSize(CxPoint(), size);
}

} // namespace

// A rectangle in `object`'s coordinates, carried into its parent's. Only
// translations are involved, so the two corners say everything.
CxRect RectToParent(const CxDisplayObject& object, const CxRect& rect)
{
    if (rect.IsEmpty())
        return CxRect();
    const CxPoint a = object.LocalToParent(rect.TopLeft());
    const CxPoint b = object.LocalToParent(CxPoint(rect.right, rect.bottom));
    return CxRect(a.x, a.y, b.x, b.y);
}

CxRect RectFromParent(const CxDisplayObject& object, const CxRect& rect)
{
    if (rect.IsEmpty())
        return CxRect();
    const CxPoint a = object.ParentToLocal(rect.TopLeft());
    const CxPoint b = object.ParentToLocal(CxPoint(rect.right, rect.bottom));
    return CxRect(a.x, a.y, b.x, b.y);
}

// --- anchors ---------------------------------------------------------------------------------

CxPoint AnchorToPosition(CxPoint point, CxSize size, int anchor, CxPoint current)
{
    if (anchor < PIM_ANCHOR_TOP_LEFT || anchor > PIM_ANCHOR_CENTRE)
        return current;
    int64_t x = point.x;
    int64_t y = point.y;
    switch (anchor) {
    case PIM_ANCHOR_TOP_RIGHT:
    case PIM_ANCHOR_BOTTOM_RIGHT:
    case PIM_ANCHOR_MIDDLE_RIGHT:
        x = x - size.width + 1;
        break;
    case PIM_ANCHOR_MIDDLE_TOP:
    case PIM_ANCHOR_MIDDLE_BOTTOM:
    case PIM_ANCHOR_CENTRE:
        x = x - size.width / 2;
        break;
    default:
        break;
    }
    switch (anchor) {
    case PIM_ANCHOR_BOTTOM_LEFT:
    case PIM_ANCHOR_BOTTOM_RIGHT:
    case PIM_ANCHOR_MIDDLE_BOTTOM:
        y = y - size.height + 1;
        break;
    case PIM_ANCHOR_MIDDLE_LEFT:
    case PIM_ANCHOR_MIDDLE_RIGHT:
    case PIM_ANCHOR_CENTRE:
        y = y - size.height / 2;
        break;
    default:
        break;
    }
    return CxPoint(ClampToInt32(x), ClampToInt32(y));
}

CxPoint PositionToAnchor(CxPoint position, CxSize size, int anchor)
{
    if (anchor < PIM_ANCHOR_TOP_LEFT || anchor > PIM_ANCHOR_CENTRE)
        return position;
    int64_t x = position.x;
    int64_t y = position.y;
    switch (anchor) {
    case PIM_ANCHOR_TOP_RIGHT:
    case PIM_ANCHOR_BOTTOM_RIGHT:
    case PIM_ANCHOR_MIDDLE_RIGHT:
        x = x + size.width - 1;
        break;
    case PIM_ANCHOR_MIDDLE_TOP:
    case PIM_ANCHOR_MIDDLE_BOTTOM:
    case PIM_ANCHOR_CENTRE:
        x = x + size.width / 2;
        break;
    default:
        break;
    }
    switch (anchor) {
    case PIM_ANCHOR_BOTTOM_LEFT:
    case PIM_ANCHOR_BOTTOM_RIGHT:
    case PIM_ANCHOR_MIDDLE_BOTTOM:
        y = y + size.height - 1;
        break;
    case PIM_ANCHOR_MIDDLE_LEFT:
    case PIM_ANCHOR_MIDDLE_RIGHT:
    case PIM_ANCHOR_CENTRE:
        y = y + size.height / 2;
        break;
    default:
        break;
    }
    return CxPoint(ClampToInt32(x), ClampToInt32(y));
}

// --- life ------------------------------------------------------------------------------------

CxDisplayObject::CxDisplayObject() = default;

CxDisplayObject::~CxDisplayObject()
{
    // The display system lets go first (focus handed back, modal stack,
    // hooks), while the object is still whole and attached.
    ForgetSelf();
    Detach();
    DetachChildren();
}

void CxDisplayObject::ForgetSelf()
{
    if (m_forgotten)
        return;
    m_forgotten = true;
    PimDisplayInternal::ForgetObject(this);
}

int CxDisplayObject::Create(int32_t x, int32_t y, int32_t width, int32_t height, CxDisplayObject* parent,
                            void* userData)
{
    m_userData = userData;
    if (parent) {
        const int code = parent->AddChild(this);
        if (code != PIM_OK)
            return m_error = code;
    }
    SetSize(CxSize(width, height));
    SetPosition(x, y, PIM_ANCHOR_TOP_LEFT);
    return PIM_OK;
}

// --- showing, placing, sizing ----------------------------------------------------------------

void CxDisplayObject::Show()
{
    MoveTo(m_position.x, m_position.y, PIM_ANCHOR_TOP_LEFT);
}

void CxDisplayObject::Hide()
{
    if (!IsShown())
        return;
    // The extent is taken while the object still counts as shown; the
    // parent's visibility decides whether it was on screen at all.
    const bool wasOnScreen = m_parent && m_parent->IsVisible() && IsOnDisplay();
    const CxRect extent = wasOnScreen ? GetScreenExtent() : CxRect();
    m_flags &= ~PIM_DO_SHOWN;
    if (wasOnScreen)
        ::Invalidate(extent);
}

bool CxDisplayObject::IsVisible() const
{
    return IsShown() && (!m_parent || m_parent->IsVisible());
}

void CxDisplayObject::CenterInParent()
{
    if (!m_parent)
        return;
    MoveTo((m_parent->GetWidth() - m_size.width) / 2, (m_parent->GetHeight() - m_size.height) / 2);
}

void CxDisplayObject::Resize(CxSize size)
{
    if (size == m_size)
        return;
    // A hidden object stays hidden: only a shown one is taken off and put
    // back, which invalidates both the old and the new area.
    const bool wasShown = IsShown();
    if (wasShown)
        Hide();
    SetSize(size);
    if (wasShown)
        MoveTo(m_position.x, m_position.y, PIM_ANCHOR_TOP_LEFT);
    OnResize(size);
}

void CxDisplayObject::MoveTo(int32_t x, int32_t y, int anchor)
{
    const CxPoint position = AnchorToPosition(CxPoint(x, y), m_size, anchor, m_position);
    const bool moves = position != m_position;
    if (m_parent && m_parent->IsVisible() && IsOnDisplay() &&
        ((m_flags & PIM_DO_REFRESH_ON_SHOW) || !IsShown() || moves)) {
        if (moves)
            Hide();
        ::Invalidate(GetScreenExtentAt(position));
    }
    m_position = position;
    m_flags |= PIM_DO_SHOWN;
}

void CxDisplayObject::SetPosition(int32_t x, int32_t y, int anchor)
{
    m_position = AnchorToPosition(CxPoint(x, y), m_size, anchor, m_position);
}

CxPoint CxDisplayObject::GetAnchorPoint(int anchor) const
{
    return PositionToAnchor(m_position, m_size, anchor);
}

void CxDisplayObject::SetSize(CxSize size)
{
    m_size = size;
}

CxRect CxDisplayObject::GetRect() const
{
    return CxRect::FromSize(m_position, m_size);
}

void CxDisplayObject::SetRect(const CxRect& rect)
{
    // Both the old and the new area are marked, so a visible object leaves
    // nothing stale behind.
    Invalidate();
    SetPosition(rect.left, rect.top, PIM_ANCHOR_TOP_LEFT);
    SetSize(CxSize(static_cast<int32_t>(rect.Width()), static_cast<int32_t>(rect.Height())));
    Invalidate();
}

// --- z order ---------------------------------------------------------------------------------

void CxDisplayObject::SetZ(int32_t z)
{
    m_z = z;
    if (!m_parent)
        return;
    ReinsertByZ();
    // Re-ordering changes which pixels are on top anywhere in the extent.
    Invalidate();
}

void CxDisplayObject::MoveInFrontOf(const CxDisplayObject& other)
{
    // Unsigned arithmetic: one step nearer, but never past 0, the front.
    const int32_t z = other.m_z == PIM_Z_FRONT ? PIM_Z_FRONT
                                               : static_cast<int32_t>(static_cast<uint32_t>(other.m_z) - 1u);
    SetZ(z);
}

void CxDisplayObject::MoveBehind(const CxDisplayObject& other)
{
    const int32_t z = other.m_z == PIM_Z_BACK ? PIM_Z_BACK
                                              : static_cast<int32_t>(static_cast<uint32_t>(other.m_z) + 1u);
    SetZ(z);
}

CxDisplayObject::ChildList::Node* CxDisplayObject::InsertByZ(CxDisplayObject* child, ChildList::Node* skip)
{
    ChildList::Node* before = nullptr;
    if (child->m_z == PIM_Z_BACK) {
        before = m_children.GetFirst();
    } else if (child->m_z != PIM_Z_FRONT) {
        for (ChildList::Node* node = m_children.GetFirst(); node; node = node->GetNext()) {
            if (node != skip && IsZInFront(node->GetElement()->m_z, child->m_z)) {
                before = node;
                break;
            }
        }
    }
    return m_children.InsertBefore(before, child);
}

void CxDisplayObject::ReinsertByZ()
{
    if (!m_parent)
        return;
    ChildList& list = m_parent->m_children;
    ChildList::Node* old = list.Find(this);
    // The new node is linked before the old one goes, so a failed
    // allocation leaves the object where it was instead of losing it.
    if (!m_parent->InsertByZ(this, old)) {
        SetError(PIM_ERR_OUT_OF_MEMORY, "Could not re-order display object '%s'", m_name.GetText());
        return;
    }
    list.Remove(old);
}

// --- focus and modality ----------------------------------------------------------------------

void CxDisplayObject::SetFocus()
{
    SetFocusObject(this);
}

bool CxDisplayObject::HasFocus() const
{
    return GetFocusObject() == this;
}

void CxDisplayObject::PushModal()
{
    PimDisplayInternal::PushModal(this);
}

void CxDisplayObject::PopModal()
{
    PimDisplayInternal::PopModal(this);
}

void CxDisplayObject::RemoveModal()
{
    PimDisplayInternal::RemoveModal(this);
}

bool CxDisplayObject::IsModal() const
{
    return GetModalObject() == this;
}

// --- the tree --------------------------------------------------------------------------------

int CxDisplayObject::CountChildren(uint32_t flags) const
{
    int count = 0;
    for (const ChildList::Node* node = m_children.GetFirst(); node; node = node->GetNext()) {
        const CxDisplayObject* child = node->GetElement();
        if ((flags & PIM_COUNT_SHOWN_ONLY) && !child->IsShown())
            continue;
        ++count;
        if (flags & PIM_COUNT_RECURSIVE)
            count += child->CountChildren(flags);
    }
    return count;
}

void CxDisplayObject::SetParent(CxDisplayObject* parent)
{
    CxDisplayObject* target = parent ? parent : GetRootObject();
    if (!target) {
        Detach();
        return;
    }
    if (target == m_parent)
        return;
    const int code = target->AddChild(this);
    if (code != PIM_OK)
        m_error = code;
}

void CxDisplayObject::AttachToRoot()
{
    SetParent(nullptr);
}

void CxDisplayObject::Detach()
{
    if (m_parent)
        m_parent->RemoveChild(this);
}

void CxDisplayObject::DetachChildren()
{
    while (ChildList::Node* first = m_children.GetFirst()) {
        CxDisplayObject* child = first->GetElement();
        RemoveChild(child);
        // An override that declined must not keep this loop going forever,
        // nor leave a child pointing at a parent that is going away.
        if (m_children.GetFirst() == first) {
            m_children.Remove(first);
            child->m_parent = nullptr;
        }
    }
}

int CxDisplayObject::AddChild(CxDisplayObject* child)
{
    if (!child)
        return SetError(PIM_ERR_BAD_ARG, "AddChild: no child given to '%s'", m_name.GetText());
    if (child == this || IsDescendantOf(child))
        return SetError(PIM_ERR_BAD_ARG, "AddChild: '%s' cannot become a child of itself or of its own descendant",
                        child->m_name.GetText());
    if (child->m_parent)
        child->m_parent->RemoveChild(child);
    if (!InsertByZ(child))
        return SetError(PIM_ERR_OUT_OF_MEMORY, "Could not add '%s' to '%s'", child->m_name.GetText(),
                        m_name.GetText());
    child->m_parent = this;
    child->Invalidate();
    return PIM_OK;
}

void CxDisplayObject::RemoveChild(CxDisplayObject* child)
{
    if (!child || child->m_parent != this)
        return;
    // Marked while still attached, so the area it covered is redrawn.
    child->Invalidate();
    m_children.RemoveElement(child);
    child->m_parent = nullptr;
}

bool CxDisplayObject::IsDescendantOf(const CxDisplayObject* other) const
{
    for (const CxDisplayObject* object = this; object; object = object->m_parent) {
        if (object == other)
            return true;
    }
    return false;
}

bool CxDisplayObject::IsOnDisplay() const
{
    const CxDisplayObject* top = this;
    while (top->m_parent)
        top = top->m_parent;
    return top == GetRootObject();
}

// --- coordinates -----------------------------------------------------------------------------

CxPoint CxDisplayObject::LocalToScreen(CxPoint point) const
{
    for (const CxDisplayObject* object = this; object; object = object->m_parent)
        point = object->LocalToParent(point);
    return point;
}

CxRect CxDisplayObject::LocalToScreen(const CxRect& rect) const
{
    if (rect.IsEmpty())
        return CxRect();
    const CxPoint a = LocalToScreen(rect.TopLeft());
    const CxPoint b = LocalToScreen(CxPoint(rect.right, rect.bottom));
    return CxRect(a.x, a.y, b.x, b.y);
}

CxPoint CxDisplayObject::ScreenToLocal(CxPoint point) const
{
    return ParentToLocal(m_parent ? m_parent->ScreenToLocal(point) : point);
}

CxRect CxDisplayObject::ScreenToLocal(const CxRect& rect) const
{
    if (rect.IsEmpty())
        return CxRect();
    const CxPoint a = ScreenToLocal(rect.TopLeft());
    const CxPoint b = ScreenToLocal(CxPoint(rect.right, rect.bottom));
    return CxRect(a.x, a.y, b.x, b.y);
}

CxRect CxDisplayObject::GetVisibleRect() const
{
    CxRect visible = LocalToScreen(LocalRect(m_size));
    for (const CxDisplayObject* ancestor = m_parent; ancestor && !visible.IsEmpty(); ancestor = ancestor->m_parent)
        visible = visible.Intersection(ancestor->LocalToScreen(LocalRect(ancestor->m_size)));
    return ScreenToLocal(visible);
}

CxRect CxDisplayObject::GetExtent() const
{
    CxRect extent = LocalRect(m_size);
    if (m_flags & PIM_DO_CLIP)
        return extent;
    for (const ChildList::Node* node = m_children.GetFirst(); node; node = node->GetNext()) {
        const CxDisplayObject* child = node->GetElement();
        extent = extent.Union(RectToParent(*child, child->GetExtent()));
    }
    return extent;
}

CxRect CxDisplayObject::GetScreenExtent() const
{
    if (m_parent)
        return m_parent->GetChildScreenRect(*this);
    return RectToParent(*this, GetExtent());
}

CxRect CxDisplayObject::GetScreenExtentAt(CxPoint position)
{
    const CxPoint saved = m_position;
    m_position = position;
    const CxRect extent = GetScreenExtent();
    m_position = saved;
    return extent;
}

CxRect CxDisplayObject::GetChildScreenRect(const CxDisplayObject& child) const
{
    return LocalToScreen(RectToParent(child, child.GetExtent()));
}

void CxDisplayObject::HitTestChildren(CxPoint screenPoint, uint32_t mask, CxDisplayObject*& result)
{
    for (ChildList::Node* node = m_children.GetFirst(); node; node = node->GetNext()) {
        CxDisplayObject* child = node->GetElement();
        if (!child->IsShown() || (mask & child->m_hitMask) != mask)
            continue;
        if (CxDisplayObject* hit = child->HitTest(screenPoint, mask))
            result = hit;
    }
}

CxDisplayObject* CxDisplayObject::HitTest(CxPoint screenPoint, uint32_t mask)
{
    if (!GetScreenExtent().Contains(screenPoint))
        return nullptr;
    CxDisplayObject* result = (mask & m_hitMask) == mask ? this : nullptr;
    HitTestChildren(screenPoint, mask, result);
    return result;
}

// --- drawing ---------------------------------------------------------------------------------

void CxDisplayObject::Invalidate()
{
    if (IsVisible() && IsOnDisplay())
        ::Invalidate(GetScreenExtent());
}

void CxDisplayObject::Draw(CxRenderTarget& target, const CxRect& clip)
{
    DrawChildren(target, clip);
}

void CxDisplayObject::DrawChildren(CxRenderTarget& target, const CxRect& clip)
{
    if (clip.IsEmpty())
        return;
    for (ChildList::Node* node = m_children.GetFirst(); node; node = node->GetNext()) {
        CxDisplayObject* child = node->GetElement();
        if (!child->IsShown())
            continue;
        const CxRect covered = (child->m_flags & PIM_DO_CLIP) ? LocalRect(child->m_size) : child->GetExtent();
        const CxRect area = clip.Intersection(RectToParent(*child, covered));
        if (!area.IsEmpty())
            child->Draw(target, RectFromParent(*child, area));
    }
}

// --- input: each default hands the event to the parent, in the parent's coordinates ---------
// Nothing here touches `this` after the parent's handler ran: that handler
// may delete the object whose handler called it.

void CxDisplayObject::OnKeyDown(uint32_t key, uint32_t flags)
{
    if (m_parent)
        m_parent->OnKeyDown(key, flags);
}

void CxDisplayObject::OnKeyUp(uint32_t key, uint32_t flags)
{
    if (m_parent)
        m_parent->OnKeyUp(key, flags);
}

void CxDisplayObject::OnMouseMove(uint32_t buttons, CxPoint point)
{
    // A cursor chosen by an object under the pointer lasts until it moves.
    SetCursor(GetDefaultCursor());
    if (m_parent)
        m_parent->OnMouseMove(buttons, LocalToParent(point));
}

int CxDisplayObject::OnMouseWheel(uint32_t buttons, CxPoint point, int steps)
{
    return m_parent ? m_parent->OnMouseWheel(buttons, LocalToParent(point), steps) : 0;
}

void CxDisplayObject::OnLButtonDown(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnLButtonDown(buttons, LocalToParent(point));
}

void CxDisplayObject::OnLButtonUp(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnLButtonUp(buttons, LocalToParent(point));
}

void CxDisplayObject::OnLButtonDblClk(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnLButtonDblClk(buttons, LocalToParent(point));
}

void CxDisplayObject::OnMButtonDown(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnMButtonDown(buttons, LocalToParent(point));
}

void CxDisplayObject::OnMButtonUp(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnMButtonUp(buttons, LocalToParent(point));
}

void CxDisplayObject::OnMButtonDblClk(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnMButtonDblClk(buttons, LocalToParent(point));
}

void CxDisplayObject::OnRButtonDown(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnRButtonDown(buttons, LocalToParent(point));
}

void CxDisplayObject::OnRButtonUp(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnRButtonUp(buttons, LocalToParent(point));
}

void CxDisplayObject::OnRButtonDblClk(uint32_t buttons, CxPoint point)
{
    if (m_parent)
        m_parent->OnRButtonDblClk(buttons, LocalToParent(point));
}

int CxDisplayObject::OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second)
{
    return m_parent ? m_parent->OnNotify(code, sender, first, second) : 0;
}
