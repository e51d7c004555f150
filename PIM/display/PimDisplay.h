#pragma once
// The display system's process-wide state: the root of the display tree, the
// focus, the modal stack and the dirty-rectangle lists, and the routing of
// mouse and key input into the tree.
//
// Dirty rectangles are kept in one list per screen buffer (at most 3): each
// list holds pairwise disjoint rectangles, overlapping ones merged into their
// bounding rectangle. Once per frame RedrawDirty draws the current list into
// the back buffer and advances to the next list. A rectangle invalidated
// while the redraw runs is kept for the next frame.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/CxSize.h"
#include "PIM/core/PimDefs.h"
#include "PIM/core/PimMouseEvent.h"

class CxDisplayObject;
class CxRenderTarget;

constexpr int PIM_MAX_SCREEN_BUFFERS = 3;
constexpr int PIM_MODAL_STACK_SIZE = 32;
// Rectangles one dirty list holds; more are merged into their bounding union.
constexpr int PIM_MAX_DIRTY_RECTS = 256;

// Creates the root of `size` at (0, 0), shown, and marks it all dirty.
// `buffers` is clamped to 1..3. Any earlier root is shut down first.
int InitDisplay(CxSize size, int buffers);
void ShutdownDisplay();
bool IsDisplayInitialised();
CxDisplayObject* GetRootObject();

// --- dirty rectangles ------------------------------------------------------------------------
// `rect` in screen coordinates; clipped to the root, merged into every list.
void Invalidate(const CxRect& rect);
// Marks everything dirty.
void InvalidateAll();
// Copies the current list into `out` (at most `capacity` rectangles) and
// returns the count; this is what the screen presents after the redraw.
int GetDirtyRects(CxRect* out, int capacity);
int GetDirtyRectCount();
// Draws the current list's rectangles through the root into `target`, then
// empties that list and advances to the next.
void RedrawDirty(CxRenderTarget& target);
// True while RedrawDirty is drawing.
bool IsRedrawing();
// Redraws the whole root into `target`, dirty lists untouched (tests and screen captures).
void RedrawAll(CxRenderTarget& target);

// The colour depth the application runs at; movie drivers prepare their
// surfaces for it. 16 until the application says otherwise.
void SetDisplayDepth(int depth);
int GetDisplayDepth();

// --- focus and modality ----------------------------------------------------------------------
CxDisplayObject* GetFocusObject();
CxDisplayObject* GetPreviousFocusObject();
// Moves the focus to `object` (null for none) by the focus rules: nothing
// when it has it already; the focus stays when the holder's CanLoseFocus
// answers 0; else the holder becomes the previous focus and hears
// OnKillFocus, then `object` hears OnSetFocus.
void SetFocusObject(CxDisplayObject* object);
CxDisplayObject* GetModalObject();
int GetModalDepth();

// --- input -----------------------------------------------------------------------------------
// The modal object's hit (or the modal object itself), else the root's.
CxDisplayObject* FindObjectAt(CxPoint screenPoint);

// Finds the object under the event's point (screen coordinates) and calls
// the handler its action and button name, with the point in the object's
// own coordinates. Returns the handler's result for the wheel, else 0; -1
// when no object was found.
int DispatchMouse(const ST_MOUSE_EVENT& event);
// To the focus object; nothing without one.
void DispatchKeyDown(uint32_t key, uint32_t flags);
void DispatchKeyUp(uint32_t key, uint32_t flags);

// Told when a display object is destroyed, before anything of it is gone
// (animations let go of the objects they drive). At most 8 hooks; adding
// one twice does nothing. They stay across InitDisplay/ShutdownDisplay.
using PimObjectGoneHook = void (*)(const CxDisplayObject* object);
bool AddObjectGoneHook(PimObjectGoneHook hook);
void RemoveObjectGoneHook(PimObjectGoneHook hook);

// Called by CxDisplayObject as objects change; not for general use.
namespace PimDisplayInternal {
// The object-gone hooks hear of it first; then a previous focus is
// forgotten, and the focus, when it is this object, goes back to the
// previous focus (told OnSetFocus), which keeps it; every entry of the
// modal stack naming it goes.
void ForgetObject(CxDisplayObject* object);
// Makes `object` the modal object (the one before it waits below); false,
// reported, when 32 are already stacked.
bool PushModal(CxDisplayObject* object);
// When `object` is the modal object, the one below it becomes modal again.
void PopModal(CxDisplayObject* object);
// Pops everything down to and including the topmost entry of `object`.
void RemoveModal(CxDisplayObject* object);
bool IsOnModalStack(const CxDisplayObject* object);
} // namespace PimDisplayInternal
