#pragma once
// Keyboard input as the host reports it, turned into the engine's key codes
// (PimKeyCodes.h) by the rules of the KeyDown / KeyUp messages (PimMessage.h).
//
// The host's key codes are plain numbers here, so this translation can be
// exercised without a window or a display. They are the values the SDL
// window receives: a character key is its unshifted character (letters lower
// case), every other key its scancode with bit 30 set. The SDL window checks
// at compile time that the constants below still equal the library's.
//
// One key press gives one KeyDown:
//   - a printable character comes from the host's text input (what the user
//     actually typed, layout, Shift and Caps Lock applied), so the key event
//     of that key gives nothing;
//   - special keys, and character keys held with Control or Alt (which type
//     no text, or text the game must not see as typing), come from the key
//     event, and text typed while Control or Alt is held is dropped.

#include "PIM/core/PimDefs.h"

// Modifier state of a key event (the host's flags, reduced to what we use).
enum : uint32_t
{
    PIM_HOSTMOD_SHIFT = 0x01,
    PIM_HOSTMOD_CTRL = 0x02,
    PIM_HOSTMOD_ALT = 0x04,
    PIM_HOSTMOD_NUMLOCK = 0x08,
    PIM_HOSTMOD_CAPSLOCK = 0x10,
};

constexpr int32_t PimHostScancodeKey(int32_t scancode)
{
    return scancode | (1 << 30);
}

// The host's key codes of the keys that are not plain characters.
enum : int32_t
{
    PIM_HOSTKEY_BACKSPACE = 8,
    PIM_HOSTKEY_TAB = 9,
    PIM_HOSTKEY_RETURN = 13,
    PIM_HOSTKEY_ESCAPE = 27,
    PIM_HOSTKEY_SPACE = 32,
    PIM_HOSTKEY_DELETE = 127,

    PIM_HOSTKEY_F1 = PimHostScancodeKey(58), // F1 .. F12 follow each other
    PIM_HOSTKEY_F12 = PimHostScancodeKey(69),
    PIM_HOSTKEY_SCROLLLOCK = PimHostScancodeKey(71),
    PIM_HOSTKEY_PAUSE = PimHostScancodeKey(72),
    PIM_HOSTKEY_INSERT = PimHostScancodeKey(73),
    PIM_HOSTKEY_HOME = PimHostScancodeKey(74),
    PIM_HOSTKEY_PAGEUP = PimHostScancodeKey(75),
    PIM_HOSTKEY_END = PimHostScancodeKey(77),
    PIM_HOSTKEY_PAGEDOWN = PimHostScancodeKey(78),
    PIM_HOSTKEY_RIGHT = PimHostScancodeKey(79),
    PIM_HOSTKEY_LEFT = PimHostScancodeKey(80),
    PIM_HOSTKEY_DOWN = PimHostScancodeKey(81),
    PIM_HOSTKEY_UP = PimHostScancodeKey(82),

    PIM_HOSTKEY_KP_DIVIDE = PimHostScancodeKey(84),
    PIM_HOSTKEY_KP_MULTIPLY = PimHostScancodeKey(85),
    PIM_HOSTKEY_KP_MINUS = PimHostScancodeKey(86),
    PIM_HOSTKEY_KP_PLUS = PimHostScancodeKey(87),
    PIM_HOSTKEY_KP_ENTER = PimHostScancodeKey(88),
    PIM_HOSTKEY_KP_1 = PimHostScancodeKey(89), // KP_1 .. KP_9 follow each other
    PIM_HOSTKEY_KP_7 = PimHostScancodeKey(95),
    PIM_HOSTKEY_KP_9 = PimHostScancodeKey(97),
    PIM_HOSTKEY_KP_0 = PimHostScancodeKey(98),
    PIM_HOSTKEY_KP_PERIOD = PimHostScancodeKey(99),
    PIM_HOSTKEY_KP_EQUALS = PimHostScancodeKey(103),
    PIM_HOSTKEY_RETURN2 = PimHostScancodeKey(158),

    PIM_HOSTKEY_LCTRL = PimHostScancodeKey(224),
    PIM_HOSTKEY_LSHIFT = PimHostScancodeKey(225),
    PIM_HOSTKEY_LALT = PimHostScancodeKey(226),
    PIM_HOSTKEY_RCTRL = PimHostScancodeKey(228),
    PIM_HOSTKEY_RSHIFT = PimHostScancodeKey(229),
    PIM_HOSTKEY_RALT = PimHostScancodeKey(230),
};

struct ST_HOST_KEY
{
    int32_t keycode = 0;    // see above
    uint32_t modifiers = 0; // PIM_HOSTMOD_*
};

// The KeyDown code of a key event; false when the event gives no message
// (a printable key without Control or Alt: its text input gives it).
bool PimTranslateKeyDown(const ST_HOST_KEY& key, uint32_t& code);

// The KeyUp code of a key release; false for keys the engine has no code for.
bool PimTranslateKeyUp(const ST_HOST_KEY& key, uint32_t& code);

// The KeyDown codes of typed UTF-8 text, written into `codes` (at most
// `capacity`); returns how many. `modifiers` is the state of the key event
// that typed it. Characters 32..126 are delivered as they are, and so are
// 160..255, the codes the old Western code page gave those characters; others
// are dropped, since higher code points would collide with the special keys'
// codes (257 and up) and 127..159 are control characters.
int PimTranslateText(const char* utf8, uint32_t modifiers, uint32_t* codes, int capacity);
