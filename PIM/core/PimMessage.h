#pragma once
// The window's messages as the engine handles them. The platform's window
// (SDL or headless) turns what the system reports into these, and hands the
// application exactly one per main-loop iteration.

#include "PIM/core/PimDefs.h"
#include "PIM/core/PimMouseEvent.h"

#include <string>
#include <vector>

enum class EMessage
{
    None,
    Quit,          // the queue is closing: the main loop ends
    Move,          // x, y: the client area's new position
    Size,          // width, height of the client area; minimized / hidden
    Activate,      // active; minimized
    ActivateApp,   // active
    Paint,         // x, y, width, height: the area to redraw (0 size: all)
    Close,         // the user asked to close the window
    // key: the engine key code, ready for OnKeyDown. One per key press:
    //  - a printable character typed (from text input): its character code
    //    as typed ('a' is 97, 'A' 65, '~' 126);
    //  - a special key: its code (PIM_KEY_F1, PIM_KEY_LEFT, ...), with
    //    PIM_KEY_ALT when Alt is held, PIM_KEY_CTRL when Control is held;
    //  - Alt with a character key: the character | PIM_KEY_ALT;
    //  - Control with a letter: the upper-case letter | PIM_KEY_CTRL
    //    (Control-A gives PIM_KEY_CTRL | 'A'); the Control key itself gives
    //    PIM_KEY_CTRL alone.
    KeyDown,
    // key: for special keys their code (with the modifier bits); for
    // printable keys the upper-case character code (32 .. 126).
    KeyUp,
    Mouse,         // mouse: the event, at a point of the client area
    DropFiles,     // files: UTF-8 paths
    User,          // code
};

// What a window may drop when a modal panel opens: the player's keys,
// text and mouse, aimed at whatever was under the pointer before. Every
// other message (the queue closing, a close request, activation, size,
// move, paint, dropped files, the program's own) still means something and
// is kept.
constexpr bool IsInputMessage(EMessage type)
{
    return type == EMessage::KeyDown || type == EMessage::KeyUp || type == EMessage::Mouse;
}

struct ST_MESSAGE
{
    EMessage type = EMessage::None;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t key = 0;     // engine key code, modifier bits included
    uint32_t buttons = 0; // Shift and Control (PIM_MK_*) for key events
    ST_MOUSE_EVENT mouse;
    bool active = false;
    bool minimized = false;
    bool hidden = false;
    int32_t code = 0;
    std::vector<std::string> files;
};
