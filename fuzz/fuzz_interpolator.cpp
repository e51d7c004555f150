// Interpolates the input (up to its first zero byte) with variables whose
// values hold "$" and "${", and compares the result with a plain recursive
// model of the same rules written on std::string, cut to CxString's limit.
// A copy of the interpolator must give the same text. Then runs the input
// through the game path forms: a success is at most 255 bytes with no "//"
// past the first character, and the literal and "%s" forms agree.
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/PimGamePath.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// By text: CxString's own comparison tells an empty string from one that
// never had storage.
bool Same(const CxString& a, const CxString& b)
{
    return std::strcmp(a.GetText(), b.GetText()) == 0;
}

using Variables = std::map<std::string, std::string>;

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string Model(const Variables& variables, const std::string& text, int depth)
{
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        size_t dollar = text.find('$', at);
        if (dollar == std::string::npos) {
            out += text.substr(at);
            break;
        }
        out += text.substr(at, dollar - at);
        if (dollar + 1 == text.size()) {
            out += '$';
            break;
        }
        std::string name;
        if (text[dollar + 1] == '{') {
            int open = 0;
            size_t close = std::string::npos;
            for (size_t i = dollar + 1; i < text.size(); ++i) {
                if (text[i] == '{')
                    ++open;
                else if (text[i] == '}' && --open == 0) {
                    close = i;
                    break;
                }
            }
            if (close == std::string::npos)
                break;
            std::string inner = text.substr(dollar + 2, close - dollar - 2);
            name = depth < CxInterpolator::kMaxNestingDepth ? Model(variables, inner, depth + 1) : inner;
            at = close + 1;
        } else {
            size_t end = dollar + 1;
            while (end < text.size() && IsNameChar(text[end]))
                ++end;
            name = text.substr(dollar + 1, end - dollar - 1);
            at = end;
        }
        auto found = variables.find(name);
        out += found != variables.end() ? found->second : "$" + name;
    }
    return out;
}

int g_score = 0;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));

    ++g_score;
    Variables model = {
        {"ROOMNAME", "Barn"},  {"DOLLAR", "$"},         {"OPEN", "${"},       {"CLOSE", "}"},
        {"REF", "$ROOMNAME"},  {"a{b}", "braced"},      {"$V", "dollar-named"}, {"N", "2"},
        {"ROOM_2", "Cellar"},  {"LONG", std::string(700, 'L')}, {"SCORE", std::to_string(g_score)},
    };
    CxInterpolator interpolator;
    for (const auto& [name, value] : model) {
        if (name != "SCORE")
            Check(interpolator.AddString(name.c_str(), value.c_str()) == 0);
    }
    Check(interpolator.AddIntVariable("SCORE", &g_score) == 0);

    CxString result = interpolator.Interpolate(text.c_str());
    CxString expected(Model(model, text, 0).c_str());
    Check(Same(result, expected));
    Check(result.Length() <= CxString::kMaxLength);

    CxInterpolator copy(interpolator);
    Check(Same(copy.Interpolate(text.c_str()), result));

    CxString path;
    int code = BuildGamePath(path, text.c_str());
    Check(code == 0 || code == 16);
    if (code == 0) {
        std::string built = path.GetText();
        Check(built.size() <= 255);
        Check(built.find("//", 1) == std::string::npos);
    } else {
        Check(path.IsEmpty());
    }
    CxString literal;
    CxString formatted;
    int literalCode = BuildGamePathF(literal, text.c_str());
    int formattedCode = BuildGamePathF(formatted, "%s", text.c_str());
    Check(literalCode == formattedCode && Same(literal, formatted));
    return 0;
}
