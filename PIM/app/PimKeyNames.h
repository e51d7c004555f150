#pragma once
// The names of keys as key bindings write them ("F1", "ALT_X", "CTRL_A",
// "PAGEUP", ...): 145 names, each an engine key code with its modifier bits.

#include "PIM/core/PimKeyCodes.h"

struct ST_KEY_NAME
{
    const char* name;
    uint32_t code;
};

// The code of a key name, compared without regard to case; 0 when unknown.
uint32_t KeyCodeFromName(const char* name);
// The table, for listing (count through `count`).
const ST_KEY_NAME* KeyNameTable(size_t& count);
// Key codes compare with lower-case letters taken as upper case, so a
// binding of "A" fires for both "a" and Shift-A.
uint32_t NormalizeKeyCode(uint32_t code);
