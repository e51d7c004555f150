#pragma once
// The mouse cursor. With custom cursors on (the application's flag), the
// engine draws the cursor itself into the back buffer while a screen
// presents (save-under, then the image; the saved area is put back before
// the present ends, so the back buffer never keeps a cursor). Without them
// the platform's system cursors are used through a hook the platform layer
// installs.
//
// The cursor state is shared with any thread that presents the cursor and
// is changed only under the "Pim_DDCursor" mutex.

#include "PIM/core/CxPoint.h"
#include "PIM/core/CxRect.h"
#include "PIM/core/PimDefs.h"

class CxCursorImage;
class CxDrawSurface;

// System cursor ids without custom cursors.
enum : int
{
    PIM_CURSOR_ARROW = 0,
    PIM_CURSOR_WAIT = 1,
    PIM_CURSOR_TEXT = 2,
    PIM_CURSOR_NO = 3,
    PIM_CURSOR_HAND = 4,
};

// The built-in pictures: ids 0 to 3, 8-bit, with this transparent colour.
constexpr int PIM_BUILTIN_CURSOR_COUNT = 4;
constexpr uint32_t PIM_BUILTIN_CURSOR_KEY = 10;

// What the platform does with system cursors: show `id` (or hide the
// cursor when `visible` is false).
using PimSystemCursorHook = void (*)(int id, bool visible);
void SetSystemCursorHook(PimSystemCursorHook hook);
PimSystemCursorHook GetSystemCursorHook();

// Custom cursors on or off; turning them on registers the four built-in
// cursors (ids 0 to 3) and makes 0 current. `screenDepth`/`screenLayout`
// are what cursors are converted to; `allowAlpha` keeps 32-bit cursors.
// Any earlier state is shut down first. Returns the first registration's
// error (the cursors that could be registered stay).
int InitCursors(bool custom, int screenDepth, uint8_t screenLayout, bool allowAlpha = true);
// The screen the cursors are drawn on has arrived (or changed): the
// registered cursors are converted to its format and kept, whatever was
// registered or selected before it. 16 for a depth no surface has; else the
// first conversion's error (that cursor stays as it was).
int AttachCursorsToScreen(int screenDepth, uint8_t screenLayout);
// Frees every image and the save-under surface; the hook stays.
void ShutdownCursors();
bool UsesCustomCursors();

// Takes ownership of `surface` (deleted when registering fails): converted
// to the screen's format unless it is 32-bit and alpha is allowed; its key
// follows a pixel of its old key, and it has none when no pixel had that
// key. Frames lie side by side; a count that does not divide the width is
// taken as 1. 16 for a null surface, 1 when memory runs out.
int RegisterCursor(CxDrawSurface* surface, int id, int32_t hotX, int32_t hotY, int frameCount = 1,
                   float frameRate = 0.0f);
void UnregisterCursor(int id);
const CxCursorImage* FindCursor(int id);
int CountCursors();

// The picture of built-in cursor `id` (0..3) from the surface factory, and
// its hot spot; null for other ids or when memory runs out.
CxDrawSurface* CreateBuiltinCursor(int id, CxPoint& hotSpot);

void SetCursor(int id);
int GetCursor();
void SetDefaultCursor(int id);
int GetDefaultCursor();
// Nesting: the cursor is drawn only while the count is 0.
void HideCursor();
void ShowCursor();
int GetCursorHideCount();

// The pointer's position in the back buffer's coordinates.
void SetCursorPosition(CxPoint point);
CxPoint GetCursorPosition();

// --- for screens, while presenting ----------------------------------------------------------
// Saves the area under the cursor and draws it into `backBuffer`; the
// rectangle drawn, clipped to the back buffer (empty when the cursor is
// hidden or absent). An area still saved from an earlier call is put back
// first, so the save-under never holds a cursor. Animated cursors step here.
CxRect DrawCursorInto(CxDrawSurface& backBuffer);
// Puts the saved area back (nothing unless it was saved from `backBuffer`).
void RestoreUnderCursor(CxDrawSurface& backBuffer);
// The cursor rectangle of the previous present, for its repair.
CxRect GetLastCursorRect();
void SetLastCursorRect(const CxRect& rect);
// True when the cursor needs presenting though nothing else changed (it
// moved, changed image or frame, or was hidden or shown since the last
// present, or an animated cursor's next frame is due).
bool IsCursorDirty();

// Copies `rect` of `from` to `at` in `to`, byte for byte: no key, no
// conversion (the surfaces must have one depth; nothing otherwise). Both
// ends are clipped to their surfaces. Allocates nothing.
void CopyPixels(CxDrawSurface& from, const CxRect& rect, CxDrawSurface& to, CxPoint at);
