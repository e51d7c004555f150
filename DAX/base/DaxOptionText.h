#pragma once
// Lua texts and other long values of option files. The store's string
// getter reads through a 256-byte buffer, which is plenty for a file name
// but would cut a button's click text or a dialog's time-out script in the
// middle of a statement; these read the value whole.

#include "PIM/core/CxString.h"

class CxOptions;

// The value of the first matching key as written (the store has trimmed it);
// empty when the key is missing.
CxString DaxOptionText(const CxOptions& store, const char* section, const char* key);
