#include "PIM/app/PimKeyNames.h"

#include "PIM/core/Pimstr.h"

#include <array>
#include <cstdio>

namespace {

constexpr size_t kKeyNameCount = 145;

struct KeyTable
{
    std::array<ST_KEY_NAME, kKeyNameCount> entries{};
    std::array<std::array<char, 16>, kKeyNameCount> names{};
    size_t count = 0;

    void Add(const char* name, uint32_t code)
    {
        if (count >= kKeyNameCount)
            return;
        std::snprintf(names[count].data(), names[count].size(), "%s", name);
        entries[count] = {names[count].data(), code};
        ++count;
    }
};

// Built once, in the order the names are documented.
const KeyTable& Table()
{
    static const KeyTable table = [] {
        KeyTable t;
        char name[16];
        for (char c = '0'; c <= '9'; ++c) {
            std::snprintf(name, sizeof name, "%c", c);
            t.Add(name, static_cast<uint32_t>(c));
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            std::snprintf(name, sizeof name, "%c", c);
            t.Add(name, static_cast<uint32_t>(c));
        }
        t.Add("PLUS", 43);
        t.Add("MINUS", 45);
        t.Add("PERIOD", 46);
        for (char c = 'A'; c <= 'Z'; ++c) {
            std::snprintf(name, sizeof name, "ALT_%c", c);
            t.Add(name, PIM_KEY_ALT | static_cast<uint32_t>(c));
        }
        for (char c = 'A'; c <= 'Z'; ++c) {
            std::snprintf(name, sizeof name, "CTRL_%c", c);
            t.Add(name, PIM_KEY_CTRL | static_cast<uint32_t>(c));
        }
        for (uint32_t f = 1; f <= 12; ++f) {
            std::snprintf(name, sizeof name, "F%u", f);
            t.Add(name, PIM_KEY_F1 + f - 1);
        }
        for (uint32_t f = 1; f <= 12; ++f) {
            std::snprintf(name, sizeof name, "ALT_F%u", f);
            t.Add(name, PIM_KEY_ALT | (PIM_KEY_F1 + f - 1));
        }
        for (char c = '0'; c <= '9'; ++c) {
            std::snprintf(name, sizeof name, "ALT_%c", c);
            t.Add(name, PIM_KEY_ALT | static_cast<uint32_t>(c));
        }
        t.Add("TAB", PIM_KEY_TAB);
        t.Add("PAUSE", PIM_KEY_PAUSE);
        t.Add("ESC", PIM_KEY_ESC);
        t.Add("BACK", PIM_KEY_BACK);
        t.Add("ENTER", PIM_KEY_ENTER);
        t.Add("SPACE", PIM_KEY_SPACE);
        t.Add("END", PIM_KEY_END);
        t.Add("HOME", PIM_KEY_HOME);
        t.Add("LEFT", PIM_KEY_LEFT);
        t.Add("RIGHT", PIM_KEY_RIGHT);
        t.Add("UP", PIM_KEY_UP);
        t.Add("DOWN", PIM_KEY_DOWN);
        t.Add("INS", PIM_KEY_INS);
        t.Add("DEL", PIM_KEY_DEL);
        t.Add("ALT_UP", PIM_KEY_ALT | PIM_KEY_UP);
        t.Add("ALT_DOWN", PIM_KEY_ALT | PIM_KEY_DOWN);
        t.Add("PAGEUP", PIM_KEY_PAGEUP);
        t.Add("PAGEDOWN", PIM_KEY_PAGEDOWN);
        t.Add("SCROLL_LOCK", PIM_KEY_SCROLL_LOCK);
        t.Add("CTRL", PIM_KEY_CTRL);
        return t;
    }();
    return table;
}

} // namespace

uint32_t KeyCodeFromName(const char* name)
{
    if (!name)
        return 0;
    const KeyTable& table = Table();
    for (size_t i = 0; i < table.count; ++i)
        if (PimStrEqual(table.entries[i].name, name, true))
            return table.entries[i].code;
    return 0;
}

const ST_KEY_NAME* KeyNameTable(size_t& count)
{
    count = Table().count;
    return Table().entries.data();
}

uint32_t NormalizeKeyCode(uint32_t code)
{
    uint32_t base = PimKeyBase(code);
    if (base >= 'a' && base <= 'z')
        return (code & ~0x0FFFFFFFu) | (base - 'a' + 'A');
    return code;
}
