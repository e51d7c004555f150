#include "PIM/backends/sdl/PimKeyTranslate.h"

#include "PIM/core/PimKeyCodes.h"
#include "PIM/core/Pimstr.h"

#include <cstring>

namespace {

enum class EKeyKind
{
    None,
    Special,    // value: an engine special key code
    Character,  // value: the character the key stands for
    ControlKey, // the Control key itself
};

struct ST_KEY_MEANING
{
    EKeyKind kind = EKeyKind::None;
    uint32_t value = 0;
};

struct ST_SPECIAL_KEY
{
    int32_t host;
    uint32_t engine;
};

constexpr ST_SPECIAL_KEY kSpecialKeys[] = {
    {PIM_HOSTKEY_BACKSPACE, PIM_KEY_BACK},
    {PIM_HOSTKEY_TAB, PIM_KEY_TAB},
    {PIM_HOSTKEY_RETURN, PIM_KEY_ENTER},
    {PIM_HOSTKEY_RETURN2, PIM_KEY_ENTER},
    {PIM_HOSTKEY_KP_ENTER, PIM_KEY_ENTER},
    {PIM_HOSTKEY_ESCAPE, PIM_KEY_ESC},
    {PIM_HOSTKEY_DELETE, PIM_KEY_DEL},
    {PIM_HOSTKEY_PAUSE, PIM_KEY_PAUSE},
    {PIM_HOSTKEY_SCROLLLOCK, PIM_KEY_SCROLL_LOCK},
    {PIM_HOSTKEY_INSERT, PIM_KEY_INS},
    {PIM_HOSTKEY_HOME, PIM_KEY_HOME},
    {PIM_HOSTKEY_END, PIM_KEY_END},
    {PIM_HOSTKEY_PAGEUP, PIM_KEY_PAGEUP},
    {PIM_HOSTKEY_PAGEDOWN, PIM_KEY_PAGEDOWN},
    {PIM_HOSTKEY_LEFT, PIM_KEY_LEFT},
    {PIM_HOSTKEY_RIGHT, PIM_KEY_RIGHT},
    {PIM_HOSTKEY_UP, PIM_KEY_UP},
    {PIM_HOSTKEY_DOWN, PIM_KEY_DOWN},
};

// The keypad's digit keys, KP_1 .. KP_9 then KP_0: their digit with Num Lock
// on, else the cursor key printed under it (0 for KP_5, which has none).
struct ST_KEYPAD_DIGIT
{
    char digit;
    uint32_t cursor;
};

constexpr ST_KEYPAD_DIGIT kKeypadDigits[] = {
    {'1', PIM_KEY_END},  {'2', PIM_KEY_DOWN}, {'3', PIM_KEY_PAGEDOWN}, {'4', PIM_KEY_LEFT},
    {'5', 0},            {'6', PIM_KEY_RIGHT}, {'7', PIM_KEY_HOME},    {'8', PIM_KEY_UP},
    {'9', PIM_KEY_PAGEUP}, {'0', PIM_KEY_INS},
};

constexpr ST_SPECIAL_KEY kKeypadOperators[] = {
    {PIM_HOSTKEY_KP_DIVIDE, '/'}, {PIM_HOSTKEY_KP_MULTIPLY, '*'}, {PIM_HOSTKEY_KP_MINUS, '-'},
    {PIM_HOSTKEY_KP_PLUS, '+'},   {PIM_HOSTKEY_KP_EQUALS, '='},
};

ST_KEY_MEANING Special(uint32_t code)
{
    return code ? ST_KEY_MEANING{EKeyKind::Special, code} : ST_KEY_MEANING{};
}

ST_KEY_MEANING Character(uint32_t character)
{
    return ST_KEY_MEANING{EKeyKind::Character, character};
}

ST_KEY_MEANING KeypadMeaning(const ST_HOST_KEY& key)
{
    int32_t index = -1;
    if (key.keycode >= PIM_HOSTKEY_KP_1 && key.keycode <= PIM_HOSTKEY_KP_9)
        index = key.keycode - PIM_HOSTKEY_KP_1;
    else if (key.keycode == PIM_HOSTKEY_KP_0)
        index = 9;
    if (index >= 0) {
        const ST_KEYPAD_DIGIT& digit = kKeypadDigits[index];
        return (key.modifiers & PIM_HOSTMOD_NUMLOCK) ? Character(static_cast<uint32_t>(digit.digit))
                                                     : Special(digit.cursor);
    }
    if (key.keycode == PIM_HOSTKEY_KP_PERIOD)
        return (key.modifiers & PIM_HOSTMOD_NUMLOCK) ? Character('.') : Special(PIM_KEY_DEL);
    for (const ST_SPECIAL_KEY& op : kKeypadOperators) {
        if (op.host == key.keycode)
            return Character(op.engine);
    }
    return {};
}

ST_KEY_MEANING MeaningOf(const ST_HOST_KEY& key)
{
    if (key.keycode == PIM_HOSTKEY_LCTRL || key.keycode == PIM_HOSTKEY_RCTRL)
        return ST_KEY_MEANING{EKeyKind::ControlKey, PIM_KEY_CTRL};
    if (key.keycode >= PIM_HOSTKEY_F1 && key.keycode <= PIM_HOSTKEY_F12)
        return Special(PIM_KEY_F1 + static_cast<uint32_t>(key.keycode - PIM_HOSTKEY_F1));
    for (const ST_SPECIAL_KEY& special : kSpecialKeys) {
        if (special.host == key.keycode)
            return Special(special.engine);
    }
    ST_KEY_MEANING keypad = KeypadMeaning(key);
    if (keypad.kind != EKeyKind::None)
        return keypad;
    if (key.keycode >= 32 && key.keycode <= 126)
        return Character(static_cast<uint32_t>(key.keycode));
    return {};
}

uint32_t Upper(uint32_t character)
{
    return character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character;
}

uint32_t ModifierBits(uint32_t modifiers)
{
    uint32_t bits = 0;
    if (modifiers & PIM_HOSTMOD_ALT)
        bits |= PIM_KEY_ALT;
    if (modifiers & PIM_HOSTMOD_CTRL)
        bits |= PIM_KEY_CTRL;
    return bits;
}

} // namespace

bool PimTranslateKeyDown(const ST_HOST_KEY& key, uint32_t& code)
{
    ST_KEY_MEANING meaning = MeaningOf(key);
    switch (meaning.kind) {
    case EKeyKind::Special:
        code = meaning.value | ModifierBits(key.modifiers);
        return true;
    case EKeyKind::ControlKey:
        code = PIM_KEY_CTRL;
        return true;
    case EKeyKind::Character:
        if (key.modifiers & PIM_HOSTMOD_ALT) {
            // The key event only knows the unshifted key; for letters at
            // least, give what Alt with that key would have typed.
            bool upper = ((key.modifiers & PIM_HOSTMOD_SHIFT) != 0) != ((key.modifiers & PIM_HOSTMOD_CAPSLOCK) != 0);
            code = (upper ? Upper(meaning.value) : meaning.value) | PIM_KEY_ALT;
            return true;
        }
        if (key.modifiers & PIM_HOSTMOD_CTRL) {
            code = Upper(meaning.value) | PIM_KEY_CTRL;
            return true;
        }
        return false;
    case EKeyKind::None:
        break;
    }
    return false;
}

bool PimTranslateKeyUp(const ST_HOST_KEY& key, uint32_t& code)
{
    ST_KEY_MEANING meaning = MeaningOf(key);
    switch (meaning.kind) {
    case EKeyKind::Special:
        code = meaning.value | ModifierBits(key.modifiers);
        return true;
    case EKeyKind::ControlKey:
        code = PIM_KEY_CTRL;
        return true;
    case EKeyKind::Character:
        code = Upper(meaning.value);
        return true;
    case EKeyKind::None:
        break;
    }
    return false;
}

int PimTranslateText(const char* utf8, uint32_t modifiers, uint32_t* codes, int capacity)
{
    if (!utf8 || !codes || capacity <= 0)
        return 0;
    // The key event already gave Control and Alt combinations.
    if (modifiers & (PIM_HOSTMOD_CTRL | PIM_HOSTMOD_ALT))
        return 0;
    int count = 0;
    size_t left = std::strlen(utf8);
    while (left > 0 && count < capacity) {
        uint32_t codePoint = 0;
        size_t length = PimUtf8Decode(utf8, left, &codePoint);
        utf8 += length;
        left -= length;
        if ((codePoint >= 32 && codePoint <= 126) || (codePoint >= 160 && codePoint <= 255))
            codes[count++] = codePoint;
    }
    return count;
}
