#pragma once
// One mouse event, as it travels from the window to the display object under
// the pointer: what happened, to which button, which buttons (and Shift and
// Control) were held, where, and how far the wheel turned. The point is in
// the coordinates of whoever holds the event: the window's client area for
// the application's OnMouse, the root's for OnRootMouse, and the object's
// own once the display tree has dispatched it to the object's handler.

#include "PIM/core/CxPoint.h"
#include "PIM/core/PimDefs.h"

enum class EMouseAction : uint8_t
{
    Move,
    Down,
    Up,
    DoubleClick,
    Wheel,
};

enum class EMouseButton : uint8_t
{
    None, // moves and the wheel
    Left,
    Middle,
    Right,
};

// Buttons and modifiers held, as mouse events carry them.
enum : uint32_t
{
    PIM_MK_LBUTTON = 0x0001,
    PIM_MK_RBUTTON = 0x0002,
    PIM_MK_SHIFT = 0x0004,
    PIM_MK_CONTROL = 0x0008,
    PIM_MK_MBUTTON = 0x0010,
};

struct ST_MOUSE_EVENT
{
    EMouseAction action = EMouseAction::Move;
    EMouseButton button = EMouseButton::None;
    uint32_t buttons = 0; // PIM_MK_*
    CxPoint point;
    int32_t notches = 0; // the wheel's turn; positive away from the user
};

inline ST_MOUSE_EVENT MouseEvent(EMouseAction action, EMouseButton button, CxPoint point, uint32_t buttons = 0,
                                 int32_t notches = 0)
{
    ST_MOUSE_EVENT event;
    event.action = action;
    event.button = button;
    event.buttons = buttons;
    event.point = point;
    event.notches = notches;
    return event;
}
