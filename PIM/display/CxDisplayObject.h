#pragma once
// A node of the one display tree: everything on screen is one. A node has a
// position relative to its parent, a size, a z order among its siblings, a
// shown flag and a few behaviour flags. Nodes never draw on demand: a change
// marks the screen rectangle it affects dirty (Invalidate, PimDisplay.h), and
// once per frame the dirty rectangles are redrawn by walking the tree.
//
// Z order compares as unsigned 32-bit: 0 is in front of everything, 0xFFFFFFFF
// (-1) behind everything. Children are kept in descending z; later entries
// are drawn later (on top) and win hit tests.
//
// HitTest, GetChildScreenRect, LocalToParent/ParentToLocal and AddChild are
// virtual and are the only routes MoveTo, Invalidate, FindObjectAt and the
// local-to-screen conversion use, so that a node may lay out its children
// its own way (a wrapping panorama draws a child twice).

#include "PIM/core/CxError.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/CxObject.h"
#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/CxString.h"

class CxRenderTarget;

// Flag bits.
enum : uint32_t
{
    PIM_DO_SHOWN = 0x01,
    PIM_DO_CLIP = 0x02,          // the extent is the own rectangle; children are clipped to it
    PIM_DO_STRETCH = 0x04,       // sprites only
    PIM_DO_DISABLED = 0x08,
    PIM_DO_REFRESH_ON_SHOW = 0x10,
};

// Anchors: which point of the object a position names.
enum : int
{
    PIM_ANCHOR_TOP_LEFT = 0,
    PIM_ANCHOR_TOP_RIGHT = 1,
    PIM_ANCHOR_BOTTOM_LEFT = 2,
    PIM_ANCHOR_BOTTOM_RIGHT = 3,
    PIM_ANCHOR_MIDDLE_LEFT = 4,
    PIM_ANCHOR_MIDDLE_RIGHT = 5,
    PIM_ANCHOR_MIDDLE_TOP = 6,
    PIM_ANCHOR_MIDDLE_BOTTOM = 7,
    PIM_ANCHOR_CENTRE = 8,
};

// CountChildren flags.
enum : uint32_t
{
    PIM_COUNT_RECURSIVE = 0x01,
    PIM_COUNT_SHOWN_ONLY = 0x02,
};

constexpr int32_t PIM_Z_DEFAULT = 0x7FFFFFFF; // INT_MAX
constexpr int32_t PIM_Z_FRONT = 0;
constexpr int32_t PIM_Z_BACK = -1;

// The position an object of `size` takes when `point` is its `anchor`
// point; other anchors leave `current`.
CxPoint AnchorToPosition(CxPoint point, CxSize size, int anchor, CxPoint current);
// The inverse: the anchor point of an object at `position`.
CxPoint PositionToAnchor(CxPoint position, CxSize size, int anchor);
// True when z `a` sorts in front of z `b` (unsigned comparison, smaller is nearer).
inline bool IsZInFront(int32_t a, int32_t b)
{
    return static_cast<uint32_t>(a) < static_cast<uint32_t>(b);
}

class CxDisplayObject : public CxError, public CxObject
{
public:
    using ChildList = CxLinkedList<CxDisplayObject*>;

    CxDisplayObject();
    // Forgets or hands back the focus, leaves the modal stack, detaches from
    // the parent (invalidating what it covered) and detaches the children;
    // children are not deleted.
    ~CxDisplayObject() override;
    CxDisplayObject(const CxDisplayObject&) = delete;
    CxDisplayObject& operator=(const CxDisplayObject&) = delete;

    // --- creation, name, user data --------------------------------------------------------
    // Stores the user data, attaches to `parent` when given, sets the size and
    // places at (x, y) with anchor 0, without a redraw.
    virtual int Create(int32_t x, int32_t y, int32_t width, int32_t height, CxDisplayObject* parent,
                       void* userData = nullptr);
    void SetName(const char* name) { m_name = name ? name : ""; }
    const char* GetName() const { return m_name.GetText(); }
    void* GetUserData() const { return m_userData; }
    void SetUserData(void* data) { m_userData = data; }

    // --- showing, placing, sizing ---------------------------------------------------------
    virtual void Show();
    virtual void Hide();
    virtual bool IsShown() const { return (m_flags & PIM_DO_SHOWN) != 0; }
    // Shown, and every ancestor shown; an object without parent is visible when shown.
    virtual bool IsVisible() const;
    virtual void CenterInParent();
    virtual void Resize(CxSize size);
    virtual void MoveTo(int32_t x, int32_t y, int anchor = PIM_ANCHOR_TOP_LEFT);
    void MoveTo(CxPoint point, int anchor = PIM_ANCHOR_TOP_LEFT) { MoveTo(point.x, point.y, anchor); }
    // Places by the anchor rule without any redraw.
    virtual void SetPosition(int32_t x, int32_t y, int anchor = PIM_ANCHOR_TOP_LEFT);
    void SetPosition(CxPoint point, int anchor = PIM_ANCHOR_TOP_LEFT) { SetPosition(point.x, point.y, anchor); }
    CxPoint GetPosition() const { return m_position; }
    virtual CxPoint GetAnchorPoint(int anchor) const;
    virtual void SetSize(CxSize size);
    void SetSize(int32_t width, int32_t height) { SetSize(CxSize(width, height)); }
    CxSize GetSize() const { return m_size; }
    int32_t GetWidth() const { return m_size.width; }
    int32_t GetHeight() const { return m_size.height; }
    // In the parent's coordinates.
    CxRect GetRect() const;
    // SetPosition and SetSize; a visible object's old and new areas are marked.
    virtual void SetRect(const CxRect& rect);

    // --- z order --------------------------------------------------------------------------
    virtual void SetZ(int32_t z);
    int32_t GetZ() const { return m_z; }
    virtual void MoveInFrontOf(const CxDisplayObject& other);
    virtual void MoveBehind(const CxDisplayObject& other);

    // --- flags ----------------------------------------------------------------------------
    uint32_t GetFlags() const { return m_flags; }
    void SetFlags(uint32_t flags) { m_flags = flags; }
    void ModifyFlags(uint32_t set, uint32_t clear) { m_flags = (m_flags & ~clear) | set; }
    virtual void Enable() { m_flags &= ~PIM_DO_DISABLED; }
    virtual void Disable() { m_flags |= PIM_DO_DISABLED; }
    virtual bool IsEnabled() const { return (m_flags & PIM_DO_DISABLED) == 0; }
    uint32_t GetHitMask() const { return m_hitMask; }
    void SetHitMask(uint32_t mask) { m_hitMask = mask; }

    // --- focus and modality ---------------------------------------------------------------
    virtual void SetFocus();
    virtual bool HasFocus() const;
    virtual void PushModal();
    virtual void PopModal();
    virtual void RemoveModal();
    virtual bool IsModal() const;
    virtual void OnResize(CxSize size) { (void)size; }
    virtual void OnSetFocus() {}
    virtual void OnKillFocus() {}
    // 0 keeps the focus here when `newFocus` asks for it.
    virtual int CanLoseFocus(CxDisplayObject* newFocus)
    {
        (void)newFocus;
        return 1;
    }

    // --- the tree -------------------------------------------------------------------------
    CxDisplayObject* GetParent() const { return m_parent; }
    ChildList& GetChildren() { return m_children; }
    const ChildList& GetChildren() const { return m_children; }
    bool HasChildren() const { return !m_children.IsEmpty(); }
    int CountChildren(uint32_t flags = 0) const;
    // Null attaches to the root.
    virtual void SetParent(CxDisplayObject* parent);
    void AttachToRoot();
    virtual void Detach();
    virtual void DetachChildren();
    // Detaches `child` from its old parent and inserts it by z. Refused with
    // 16 when `child` is this object or one of its ancestors.
    virtual int AddChild(CxDisplayObject* child);
    virtual void RemoveChild(CxDisplayObject* child);
    // True when this object is `other` or lies under it.
    bool IsDescendantOf(const CxDisplayObject* other) const;

    // --- coordinates ----------------------------------------------------------------------
    virtual CxPoint LocalToParent(CxPoint point) const { return point + m_position; }
    virtual CxPoint ParentToLocal(CxPoint point) const { return point - m_position; }
    CxPoint LocalToScreen(CxPoint point) const;
    CxRect LocalToScreen(const CxRect& rect) const;
    CxPoint ScreenToLocal(CxPoint point) const;
    CxRect ScreenToLocal(const CxRect& rect) const;
    // This object's rectangle on screen cut by every ancestor's, in local coordinates.
    CxRect GetVisibleRect() const;
    // The area the object can cover, in its own coordinates: with the clip
    // flag its own rectangle, else the union with its children's extents.
    CxRect GetExtent() const;
    // GetExtent on screen, through the parent's GetChildScreenRect.
    CxRect GetScreenExtent() const;
    // The same as if the object stood at `position` (it is put there for the
    // length of the call, so that overrides of GetChildScreenRect see it).
    CxRect GetScreenExtentAt(CxPoint position);
    // The screen area `child` can cover: its extent (its rectangle when it
    // clips) carried through LocalToParent and this object's LocalToScreen.
    virtual CxRect GetChildScreenRect(const CxDisplayObject& child) const;
    // True when the top of this object's parent chain is the display root
    // (the root itself included): only such objects are on screen.
    bool IsOnDisplay() const;
    // The topmost object under `screenPoint` whose hit mask holds every bit of `mask`.
    virtual CxDisplayObject* HitTest(CxPoint screenPoint, uint32_t mask);

    // --- drawing --------------------------------------------------------------------------
    // Marks this object's screen extent dirty (when it is visible).
    void Invalidate();
    // `clip` is in this object's coordinates; the target's origin is the screen's.
    virtual void Draw(CxRenderTarget& target, const CxRect& clip);
    // Draws the shown children that meet `clip` (local coordinates).
    void DrawChildren(CxRenderTarget& target, const CxRect& clip);

    // --- input: points are in this object's coordinates --------------------------------------
    virtual void OnKeyDown(uint32_t key, uint32_t flags);
    virtual void OnKeyUp(uint32_t key, uint32_t flags);
    virtual void OnMouseMove(uint32_t buttons, CxPoint point);
    virtual int OnMouseWheel(uint32_t buttons, CxPoint point, int steps);
    virtual void OnLButtonDown(uint32_t buttons, CxPoint point);
    virtual void OnLButtonUp(uint32_t buttons, CxPoint point);
    virtual void OnLButtonDblClk(uint32_t buttons, CxPoint point);
    virtual void OnMButtonDown(uint32_t buttons, CxPoint point);
    virtual void OnMButtonUp(uint32_t buttons, CxPoint point);
    virtual void OnMButtonDblClk(uint32_t buttons, CxPoint point);
    virtual void OnRButtonDown(uint32_t buttons, CxPoint point);
    virtual void OnRButtonUp(uint32_t buttons, CxPoint point);
    virtual void OnRButtonDblClk(uint32_t buttons, CxPoint point);
    virtual int OnNotify(int code, CxDisplayObject* sender, intptr_t first, intptr_t second);

    // --- frames (sprites have them; animations step them) -------------------------------------
    virtual int GetFrame() const { return 0; }
    virtual void SetFrame(int frame) { (void)frame; }
    virtual int GetFrameCount() const { return 1; }

protected:
    // Removes this object from its parent's list and re-inserts it by z; it
    // keeps its old place when memory for the new node cannot be had.
    void ReinsertByZ();
    // Links `child` into the list by the z rule, `skip` (its old node, when
    // re-inserting) not counting; null when out of memory.
    ChildList::Node* InsertByZ(CxDisplayObject* child, ChildList::Node* skip = nullptr);
    // Asks every shown child whose hit mask holds `mask`, in list order; each
    // hit replaces `result`.
    void HitTestChildren(CxPoint screenPoint, uint32_t mask, CxDisplayObject*& result);
    // Lets the display system forget this object (focus, modal stack,
    // object-gone hooks), once. Derived destructors call it first so that the
    // hooks see the whole object.
    void ForgetSelf();

    CxString m_name;
    CxPoint m_position;
    CxSize m_size;
    CxDisplayObject* m_parent = nullptr;
    ChildList m_children;
    int32_t m_z = PIM_Z_DEFAULT;
    void* m_userData = nullptr;
    uint32_t m_hitMask = 0;
    uint32_t m_flags = PIM_DO_CLIP | PIM_DO_REFRESH_ON_SHOW;
    bool m_forgotten = false;
};

// A rectangle in `object`'s coordinates carried into its parent's, and back,
// corner by corner through the object's own (virtual) point conversions.
CxRect RectToParent(const CxDisplayObject& object, const CxRect& rect);
CxRect RectFromParent(const CxDisplayObject& object, const CxRect& rect);
