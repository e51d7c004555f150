// The display system's process-wide state: the root, the dirty lists, the
// focus, the modal stack and the routing of input into the tree.
//
// Everything lives in fixed tables made once, so that marking and redrawing
// dirty areas allocates nothing from one frame to the next.

#include "PIM/display/PimDisplay.h"

#include "PIM/core/CxError.h"
#include "PIM/display/CxDisplayObject.h"
#include "PIM/graphics/CxRenderTarget.h"

namespace {

constexpr int kMaxObjectGoneHooks = 8;

// Pairwise disjoint rectangles; a full list merges instead of growing.
struct DirtyList
{
    CxRect rects[PIM_MAX_DIRTY_RECTS];
    int count = 0;
};

struct DisplayState
{
    CxDisplayObject* root = nullptr;
    int buffers = 1;
    int current = 0;
    DirtyList lists[PIM_MAX_SCREEN_BUFFERS];
    // What the list being drawn receives while RedrawDirty runs: it joins
    // that list once the list has been emptied, so nothing is lost.
    DirtyList pending;
    bool redrawing = false;
    CxDisplayObject* focus = nullptr;
    CxDisplayObject* previousFocus = nullptr;
    CxDisplayObject* modal[PIM_MODAL_STACK_SIZE] = {};
    int modalDepth = 0;
    PimObjectGoneHook hooks[kMaxObjectGoneHooks] = {};
    int depth = 16;
};

DisplayState g_display;

int64_t Area(const CxRect& rect)
{
    return rect.Width() * rect.Height();
}

// The entry whose union with `rect` adds the least area: where a full list
// puts a rectangle it has no room for.
int CheapestMerge(const DirtyList& list, const CxRect& rect)
{
    int best = 0;
    int64_t bestGrowth = INT64_MAX;
    for (int i = 0; i < list.count; ++i) {
        const int64_t growth = Area(list.rects[i].Union(rect)) - Area(list.rects[i]);
        if (growth < bestGrowth) {
            bestGrowth = growth;
            best = i;
        }
    }
    return best;
}

void MergeInto(DirtyList& list, CxRect rect)
{
    for (;;) {
        int found = -1;
        for (int i = 0; i < list.count; ++i) {
            if (list.rects[i].Intersects(rect)) {
                found = i;
                break;
            }
        }
        if (found < 0) {
            if (list.count < PIM_MAX_DIRTY_RECTS) {
                list.rects[list.count++] = rect;
                return;
            }
            found = CheapestMerge(list, rect);
        }
        // The union may now meet rectangles the smaller one missed, hence
        // the search starts again.
        rect = rect.Union(list.rects[found]);
        list.rects[found] = list.rects[--list.count];
    }
}

void ClearLists()
{
    for (DirtyList& list : g_display.lists)
        list.count = 0;
    g_display.pending.count = 0;
    g_display.current = 0;
}

} // namespace

// --- life ------------------------------------------------------------------------------------

int InitDisplay(CxSize size, int buffers)
{
    ShutdownDisplay();
    auto* root = new CxDisplayObject;
    if (!root)
        return ReportError(PIM_ERR_OUT_OF_MEMORY, "Could not create the root of the display");
    root->SetName("Root");
    root->Create(0, 0, size.width, size.height, nullptr);
    root->ModifyFlags(PIM_DO_SHOWN, 0);
    g_display.root = root;
    g_display.buffers = buffers < 1 ? 1 : (buffers > PIM_MAX_SCREEN_BUFFERS ? PIM_MAX_SCREEN_BUFFERS : buffers);
    ClearLists();
    InvalidateAll();
    return PIM_OK;
}

void ShutdownDisplay()
{
    CxDisplayObject* root = g_display.root;
    // Gone from the state first, so that nothing the destructor does marks
    // areas of a display that no longer exists.
    g_display.root = nullptr;
    delete root;
    g_display.focus = nullptr;
    g_display.previousFocus = nullptr;
    g_display.modalDepth = 0;
    g_display.redrawing = false;
    ClearLists();
}

bool IsDisplayInitialised()
{
    return g_display.root != nullptr;
}

CxDisplayObject* GetRootObject()
{
    return g_display.root;
}

void SetDisplayDepth(int depth)
{
    g_display.depth = depth;
}

int GetDisplayDepth()
{
    return g_display.depth;
}

// --- dirty rectangles ------------------------------------------------------------------------

void Invalidate(const CxRect& rect)
{
    if (!g_display.root)
        return;
    const CxRect clipped = rect.Intersection(g_display.root->GetRect());
    if (clipped.IsEmpty())
        return;
    for (int i = 0; i < g_display.buffers; ++i) {
        if (g_display.redrawing && i == g_display.current)
            MergeInto(g_display.pending, clipped);
        else
            MergeInto(g_display.lists[i], clipped);
    }
}

void InvalidateAll()
{
    if (g_display.root)
        Invalidate(g_display.root->GetRect());
}

int GetDirtyRects(CxRect* out, int capacity)
{
    const DirtyList& list = g_display.lists[g_display.current];
    int count = 0;
    for (; out && count < capacity && count < list.count; ++count)
        out[count] = list.rects[count];
    return count;
}

int GetDirtyRectCount()
{
    return g_display.lists[g_display.current].count;
}

void RedrawDirty(CxRenderTarget& target)
{
    CxDisplayObject* root = g_display.root;
    if (!root || g_display.redrawing)
        return;
    DirtyList& list = g_display.lists[g_display.current];
    if (list.count > 0 && root->IsShown()) {
        g_display.redrawing = true;
        target.OnBeginDraw();
        const CxRect rootRect = root->GetRect();
        for (int i = 0; i < list.count; ++i) {
            const CxRect area = list.rects[i].Intersection(rootRect);
            if (!area.IsEmpty())
                root->Draw(target, root->ScreenToLocal(area));
        }
        target.OnEndDraw();
        g_display.redrawing = false;
    }
    list.count = 0;
    for (int i = 0; i < g_display.pending.count; ++i)
        MergeInto(list, g_display.pending.rects[i]);
    g_display.pending.count = 0;
    g_display.current = (g_display.current + 1) % g_display.buffers;
}

bool IsRedrawing()
{
    return g_display.redrawing;
}

void RedrawAll(CxRenderTarget& target)
{
    CxDisplayObject* root = g_display.root;
    if (!root || !root->IsShown())
        return;
    target.OnBeginDraw();
    root->Draw(target, CxRect::FromSize(CxPoint(), root->GetSize()));
    target.OnEndDraw();
}

// --- focus and modality ----------------------------------------------------------------------

CxDisplayObject* GetFocusObject()
{
    return g_display.focus;
}

CxDisplayObject* GetPreviousFocusObject()
{
    return g_display.previousFocus;
}

void SetFocusObject(CxDisplayObject* object)
{
    CxDisplayObject* old = g_display.focus;
    if (object == old)
        return;
    if (old && old->CanLoseFocus(object) == 0)
        return;
    // The state is settled before either object hears of it: a handler may
    // delete either one, and the forget rules then see a consistent picture.
    g_display.previousFocus = old;
    g_display.focus = object;
    if (old)
        old->OnKillFocus();
    if (object && g_display.focus == object)
        object->OnSetFocus();
}

CxDisplayObject* GetModalObject()
{
    return g_display.modalDepth > 0 ? g_display.modal[g_display.modalDepth - 1] : nullptr;
}

int GetModalDepth()
{
    return g_display.modalDepth;
}

namespace PimDisplayInternal {

void ForgetObject(CxDisplayObject* object)
{
    if (!object)
        return;
    // A copy: a hook may remove itself or others while it runs.
    PimObjectGoneHook hooks[kMaxObjectGoneHooks];
    for (int i = 0; i < kMaxObjectGoneHooks; ++i)
        hooks[i] = g_display.hooks[i];
    for (PimObjectGoneHook hook : hooks) {
        if (hook)
            hook(object);
    }

    if (g_display.previousFocus == object)
        g_display.previousFocus = nullptr;
    if (g_display.focus == object) {
        // The previous focus takes the focus back and keeps it; the dying
        // object hears nothing more.
        CxDisplayObject* back = g_display.previousFocus;
        g_display.focus = back;
        g_display.previousFocus = nullptr;
        if (back)
            back->OnSetFocus();
    }

    int kept = 0;
    for (int i = 0; i < g_display.modalDepth; ++i) {
        if (g_display.modal[i] != object)
            g_display.modal[kept++] = g_display.modal[i];
    }
    g_display.modalDepth = kept;
}

bool PushModal(CxDisplayObject* object)
{
    if (!object)
        return false;
    if (GetModalObject() == object)
        return true;
    // A full stack refuses rather than dropping the object that waits below.
    if (g_display.modalDepth >= PIM_MODAL_STACK_SIZE) {
        ReportError(PIM_ERR_BAD_ARG, "Too many modal objects: at most %d can be stacked", PIM_MODAL_STACK_SIZE);
        return false;
    }
    g_display.modal[g_display.modalDepth++] = object;
    return true;
}

void PopModal(CxDisplayObject* object)
{
    if (object && GetModalObject() == object)
        --g_display.modalDepth;
}

void RemoveModal(CxDisplayObject* object)
{
    for (int i = g_display.modalDepth - 1; i >= 0; --i) {
        if (g_display.modal[i] == object) {
            g_display.modalDepth = i;
            return;
        }
    }
}

bool IsOnModalStack(const CxDisplayObject* object)
{
    for (int i = 0; i < g_display.modalDepth; ++i) {
        if (g_display.modal[i] == object)
            return true;
    }
    return false;
}

} // namespace PimDisplayInternal

// --- input -----------------------------------------------------------------------------------

CxDisplayObject* FindObjectAt(CxPoint screenPoint)
{
    if (CxDisplayObject* modal = GetModalObject()) {
        CxDisplayObject* hit = modal->HitTest(screenPoint, 0);
        return hit ? hit : modal;
    }
    return g_display.root ? g_display.root->HitTest(screenPoint, 0) : nullptr;
}

int DispatchMouse(const ST_MOUSE_EVENT& event)
{
    CxDisplayObject* object = FindObjectAt(event.point);
    if (!object)
        return -1;
    const CxPoint point = object->ScreenToLocal(event.point);
    const uint32_t buttons = event.buttons;
    // The handler may delete `object`: nothing touches it afterwards.
    switch (event.action) {
    case EMouseAction::Move:
        object->OnMouseMove(buttons, point);
        return 0;
    case EMouseAction::Wheel:
        return object->OnMouseWheel(buttons, point, event.notches);
    case EMouseAction::Down:
    case EMouseAction::Up:
    case EMouseAction::DoubleClick:
        break;
    }
    static_assert(static_cast<int>(EMouseAction::Up) == static_cast<int>(EMouseAction::Down) + 1 &&
                      static_cast<int>(EMouseAction::DoubleClick) == static_cast<int>(EMouseAction::Down) + 2,
                  "the columns below follow the actions");
    static_assert(static_cast<int>(EMouseButton::Middle) == static_cast<int>(EMouseButton::Left) + 1 &&
                      static_cast<int>(EMouseButton::Right) == static_cast<int>(EMouseButton::Left) + 2,
                  "the rows below follow the buttons");
    using Handler = void (CxDisplayObject::*)(uint32_t, CxPoint);
    // Down, up and double click of the left, middle and right buttons.
    static constexpr Handler kHandlers[3][3] = {
        {&CxDisplayObject::OnLButtonDown, &CxDisplayObject::OnLButtonUp, &CxDisplayObject::OnLButtonDblClk},
        {&CxDisplayObject::OnMButtonDown, &CxDisplayObject::OnMButtonUp, &CxDisplayObject::OnMButtonDblClk},
        {&CxDisplayObject::OnRButtonDown, &CxDisplayObject::OnRButtonUp, &CxDisplayObject::OnRButtonDblClk},
    };
    if (event.button == EMouseButton::None)
        return 0; // a press of no button means nothing
    const int row = static_cast<int>(event.button) - static_cast<int>(EMouseButton::Left);
    const int column = static_cast<int>(event.action) - static_cast<int>(EMouseAction::Down);
    (object->*kHandlers[row][column])(buttons, point);
    return 0;
}

void DispatchKeyDown(uint32_t key, uint32_t flags)
{
    if (CxDisplayObject* focus = g_display.focus)
        focus->OnKeyDown(key, flags);
}

void DispatchKeyUp(uint32_t key, uint32_t flags)
{
    if (CxDisplayObject* focus = g_display.focus)
        focus->OnKeyUp(key, flags);
}

// --- object-gone hooks -----------------------------------------------------------------------

bool AddObjectGoneHook(PimObjectGoneHook hook)
{
    if (!hook)
        return false;
    PimObjectGoneHook* free = nullptr;
    for (PimObjectGoneHook& slot : g_display.hooks) {
        if (slot == hook)
            return true;
        if (!slot && !free)
            free = &slot;
    }
    if (!free)
        return false;
    *free = hook;
    return true;
}

void RemoveObjectGoneHook(PimObjectGoneHook hook)
{
    for (PimObjectGoneHook& slot : g_display.hooks) {
        if (slot == hook)
            slot = nullptr;
    }
}
