#include "PIM/app/CxReplayScript.h"

#include "PIM/app/PimKeyNames.h"
#include "PIM/core/Pimstr.h"

#include <cstdio>
#include <string_view>

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// The next blank-separated word of `s`, removed from it.
std::string_view NextWord(std::string_view& s)
{
    s = Trim(s);
    size_t end = 0;
    while (end < s.size() && s[end] != ' ' && s[end] != '\t')
        ++end;
    std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

// A whole decimal integer within [low, high]; nothing else on it.
bool ParseNumber(std::string_view word, int32_t low, int32_t high, int32_t& out)
{
    if (word.empty() || word.size() > 11)
        return false;
    bool negative = word.front() == '-';
    if (negative)
        word.remove_prefix(1);
    if (word.empty())
        return false;
    int64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < low || value > high)
        return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool ParseNumbers(std::string_view& rest, int count, int32_t low, int32_t high, int32_t* out)
{
    for (int i = 0; i < count; ++i)
        if (!ParseNumber(NextWord(rest), low, high, out[i]))
            return false;
    return Trim(rest).empty();
}

bool EndsWithPictureExtension(const std::string& name)
{
    if (name.size() <= 4)
        return false;
    const char* ending = name.c_str() + name.size() - 4;
    return PimStrEqual(ending, ".png", true) || PimStrEqual(ending, ".tga", true);
}

// The rest of a line as a label or title: surrounding quotes are optional.
std::string Quoted(std::string_view rest)
{
    rest = Trim(rest);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
        rest = rest.substr(1, rest.size() - 2);
    return std::string(rest);
}

bool StartsLikeNumber(std::string_view rest)
{
    rest = Trim(rest);
    return !rest.empty() && (rest.front() == '-' || (rest.front() >= '0' && rest.front() <= '9'));
}

// A whole decimal integer (an optional sign, then digits) within 64 bits.
bool ParseInteger(std::string_view text, long long& out)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 18)
        return false;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    out = negative ? -value : value;
    return true;
}

std::string LineError(int line, const char* what)
{
    char text[256];
    std::snprintf(text, sizeof text, "line %d: %s", line, what);
    return text;
}

} // namespace

bool CxReplayScript::Parse(const char* text, size_t size, std::string& error)
{
    m_steps.clear();
    std::string_view all(text ? text : "", text ? size : 0);
    int line = 0;
    while (!all.empty() || line == 0) {
        ++line;
        size_t end = all.find('\n');
        std::string_view raw = all.substr(0, end);
        all.remove_prefix(end == std::string_view::npos ? all.size() : end + 1);
        if (raw.find('\0') != std::string_view::npos) {
            error = LineError(line, "contains a zero byte");
            return false;
        }
        std::string_view rest = Trim(raw);
        if (rest.empty() || rest.front() == '#') {
            if (all.empty())
                break;
            continue;
        }
        ST_REPLAY_STEP step;
        step.line = line;
        std::string_view command = NextWord(rest);
        const int32_t c = kMaxCoordinate;
        bool ok = true;
        if (command == "wait") {
            step.op = EReplayOp::Wait;
            ok = ParseNumbers(rest, 1, 0, kMaxWait, step.values);
        } else if (command == "move") {
            step.op = EReplayOp::Move;
            ok = ParseNumbers(rest, 2, -c, c, step.values);
        } else if (command == "click" && !StartsLikeNumber(rest)) {
            step.op = EReplayOp::ClickButton;
            step.text = Quoted(rest);
            ok = !step.text.empty();
        } else if (command == "click") {
            step.op = EReplayOp::Click;
            ok = ParseNumbers(rest, 2, -c, c, step.values);
        } else if (command == "rclick") {
            step.op = EReplayOp::RightClick;
            ok = ParseNumbers(rest, 2, -c, c, step.values);
        } else if (command == "drag") {
            step.op = EReplayOp::Drag;
            ok = ParseNumbers(rest, 4, -c, c, step.values);
        } else if (command == "key") {
            step.op = EReplayOp::Key;
            std::string name(NextWord(rest));
            step.key = KeyCodeFromName(name.c_str());
            if (!step.key || !Trim(rest).empty()) {
                error = LineError(line, "key needs one key name (ESC, F1, ALT_F4, A, ...)");
                return false;
            }
        } else if (command == "text") {
            step.op = EReplayOp::Text;
            step.text = std::string(Trim(rest));
            for (char ch : step.text) {
                if (static_cast<unsigned char>(ch) < 32 || static_cast<unsigned char>(ch) > 126) {
                    error = LineError(line, "text takes printable ASCII characters only");
                    return false;
                }
            }
        } else if (command == "expect") {
            std::string_view what = NextWord(rest);
            if (what == "room") {
                step.op = EReplayOp::ExpectRoom;
                step.text = std::string(NextWord(rest));
                ok = !step.text.empty() && Trim(rest).empty();
            } else if (what == "no-room") {
                // Before the first room (an intro movie playing, say).
                step.op = EReplayOp::ExpectRoom;
                ok = Trim(rest).empty();
            } else if (what == "no-errors") {
                step.op = EReplayOp::ExpectNoErrors;
                ok = Trim(rest).empty();
            } else if (what == "player") {
                step.op = EReplayOp::ExpectPlayer;
                step.name = std::string(NextWord(rest));
                step.text = std::string(Trim(rest));
                if (step.name.empty() || step.text.empty()) {
                    error = LineError(line, "expect player needs a key and a value");
                    return false;
                }
            } else if (what == "box") {
                step.op = EReplayOp::ExpectBox;
                step.text = Quoted(rest);
                ok = !step.text.empty();
            } else if (what == "no-box") {
                step.op = EReplayOp::ExpectNoBox;
                ok = Trim(rest).empty();
            } else if (what == "pixel") {
                step.op = EReplayOp::ExpectPixel;
                ok = ParseNumber(NextWord(rest), 0, c, step.values[0]) &&
                     ParseNumber(NextWord(rest), 0, c, step.values[1]) &&
                     ParseNumbers(rest, 3, 0, 255, step.values + 2);
            } else {
                error = LineError(line, "expect takes \"room NAME\", \"no-room\", \"no-errors\", \"player KEY VALUE\", "
                                        "\"box TITLE\", \"no-box\" or \"pixel X Y R G B\"");
                return false;
            }
        } else if (command == "screenshot") {
            step.op = EReplayOp::Screenshot;
            step.text = std::string(Trim(rest));
            if (!EndsWithPictureExtension(step.text)) {
                error = LineError(line, "screenshot needs a file name ending in .png or .tga");
                return false;
            }
        } else if (command == "seed") {
            step.op = EReplayOp::Seed;
            ok = ParseNumbers(rest, 1, 0, 2147483647, step.values);
        } else if (command == "focus") {
            step.op = EReplayOp::Focus;
            std::string_view what = NextWord(rest);
            step.values[0] = what == "in" ? 1 : 0;
            ok = (what == "in" || what == "out") && Trim(rest).empty();
        } else if (command == "quit") {
            step.op = EReplayOp::Quit;
            ok = Trim(rest).empty();
        } else {
            error = LineError(line, "unknown command");
            return false;
        }
        if (!ok) {
            error = LineError(line, "bad or missing arguments");
            return false;
        }
        m_steps.push_back(std::move(step));
        if (all.empty())
            break;
    }
    return true;
}

bool CxReplayScript::SameValue(const std::string& stored, const std::string& expected)
{
    long long a = 0, b = 0;
    if (ParseInteger(stored, a) && ParseInteger(expected, b))
        return a == b;
    return stored == expected;
}
