#pragma once
// The engine's key codes: printable keys are their upper-case character
// codes, special keys 257 and up, with modifier bits added.

#include "PIM/core/PimDefs.h"

enum : uint32_t
{
    PIM_KEY_BACK = 8,
    PIM_KEY_TAB = 9,
    PIM_KEY_ENTER = 13,
    PIM_KEY_PAUSE = 19,
    PIM_KEY_ESC = 27,
    PIM_KEY_SPACE = 32,
    PIM_KEY_F1 = 257, // F1 .. F12 are 257 .. 268
    PIM_KEY_F12 = 268,
    PIM_KEY_END = 270,
    PIM_KEY_HOME = 271,
    PIM_KEY_LEFT = 272,
    PIM_KEY_RIGHT = 273,
    PIM_KEY_UP = 274,
    PIM_KEY_DOWN = 275,
    PIM_KEY_INS = 276,
    PIM_KEY_DEL = 277,
    PIM_KEY_PAGEUP = 278,
    PIM_KEY_PAGEDOWN = 279,
    PIM_KEY_SCROLL_LOCK = 280,

    PIM_KEY_ALT = 0x10000000,
    PIM_KEY_CTRL = 0x20000000,
    // Only when testing key state: Shift is held.
    PIM_KEY_SHIFT = 0x40000000,
};

// The code without modifier bits.
constexpr uint32_t PimKeyBase(uint32_t code)
{
    return code & 0x0FFFFFFFu;
}
