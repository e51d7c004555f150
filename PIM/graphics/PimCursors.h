#pragma once
// The mouse cursor. With custom cursors on (the application's flag), the
// engine draws the cursor itself into the back buffer while a screen
// presents (save-under, then the image; the saved area is put back before
// the next redraw). Without them the platform's system cursors are used
// through a hook the platform layer installs.
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

// What the platform does with system cursors: show `id` (or hide the
// cursor when `visible` is false).
using PimSystemCursorHook = void (*)(int id, bool visible);
void SetSystemCursorHook(PimSystemCursorHook hook);

// Custom cursors on or off; turning them on registers the four built-in
// cursors (ids 0 to 3) and makes 0 current. `screenDepth`/`screenLayout`
// are what cursors are converted to; `allowAlpha` keeps 32-bit cursors.
void InitCursors(bool custom, int screenDepth, uint8_t screenLayout, bool allowAlpha = true);
// Frees every image and the save-under surface.
void ShutdownCursors();
bool UsesCustomCursors();

// Takes ownership of `surface`: converted to the screen's format unless it
// is 32-bit and alpha is allowed; its key follows a pixel of its old key.
// 16 for a null surface, 1 when memory runs out.
int RegisterCursor(CxDrawSurface* surface, int id, int32_t hotX, int32_t hotY, int frameCount = 1,
                   float frameRate = 0.0f);
void UnregisterCursor(int id);
const CxCursorImage* FindCursor(int id);

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
// rectangle drawn (empty when the cursor is hidden or absent).
CxRect DrawCursorInto(CxDrawSurface& backBuffer);
// Puts the saved area back.
void RestoreUnderCursor(CxDrawSurface& backBuffer);
// The cursor rectangle of the previous present, for its repair.
CxRect GetLastCursorRect();
void SetLastCursorRect(const CxRect& rect);
// True when the cursor needs presenting though nothing else changed (it
// moved, changed image or frame, or was hidden or shown since the last present).
bool IsCursorDirty();
