#include "PIM/core/PimGamePath.h"

#include "PIM/core/CxError.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kInputMax = static_cast<size_t>(PIM_GAME_PATH_INPUT_MAX);
// Each replacement grows the text by one byte for at least seven it replaces.
constexpr size_t kWorkSize = kInputMax + kInputMax / 7 + 2;

struct ST_PATH_WORK
{
    char text[kWorkSize];
    size_t length;
};

// Replaces every `find` in `from` by `with`, left to right without looking
// at what was put in; the result goes to `to`. `with` is at most one byte
// longer than `find`, and kWorkSize has room for that on the longest input.
void ReplaceAll(const ST_PATH_WORK& from, ST_PATH_WORK& to, const char* find, const char* with)
{
    const size_t findLength = std::strlen(find);
    const size_t withLength = std::strlen(with);
    to.length = 0;
    size_t at = 0;
    while (at < from.length) {
        if (from.length - at >= findLength && std::memcmp(from.text + at, find, findLength) == 0) {
            std::memcpy(to.text + to.length, with, withLength);
            to.length += withLength;
            at += findLength;
        } else {
            to.text[to.length++] = from.text[at++];
        }
    }
}

// Keeps the first character as it is, then drops every "/" that follows a
// "/" at position 1 or later, which is what replacing "//" by "/" until none
// is left gives.
void CollapseSlashes(ST_PATH_WORK& work)
{
    size_t kept = 0;
    for (size_t at = 0; at < work.length; ++at) {
        char c = work.text[at];
        if (c == '/' && kept >= 2 && work.text[kept - 1] == '/')
            continue;
        work.text[kept++] = c;
    }
    work.length = kept;
}

int Build(CxString& out, const char* text, size_t length, bool turnBackslashes)
{
    out.Assign(nullptr, 0);
    if (length > kInputMax)
        return PIM_ERR_BAD_ARG;

    // Two buffers of about 1.2 KB each, passed back and forth between steps.
    ST_PATH_WORK a;
    ST_PATH_WORK b;
    std::memcpy(a.text, text, length);
    a.length = length;
    if (turnBackslashes) {
        for (size_t i = 0; i < a.length; ++i)
            if (a.text[i] == '\\')
                a.text[i] = '/';
    }
    ReplaceAll(a, b, "$GAMEPATH", "");
    ReplaceAll(b, a, "$CDPATH", "<CDPath>");
    ReplaceAll(a, b, "$INSTALLPATH", "<InstallPath>");
    CollapseSlashes(b);

    if (b.length > static_cast<size_t>(PIM_GAME_PATH_MAX))
        return PIM_ERR_BAD_ARG;
    out.Assign(b.text, static_cast<int>(b.length));
    if (static_cast<size_t>(out.Length()) != b.length)
        return PIM_ERR_OUT_OF_MEMORY;
    return PIM_OK;
}

} // namespace

int BuildGamePath(CxString& out, const char* path)
{
    return Build(out, path ? path : "", path ? strnlen(path, kInputMax + 1) : 0, false);
}

int BuildGamePathSlashed(CxString& out, const char* path)
{
    return Build(out, path ? path : "", path ? strnlen(path, kInputMax + 1) : 0, true);
}

size_t UnescapePercents(const char* text, char* out, unsigned outSize)
{
    size_t length = 0;
    for (const char* p = text ? text : ""; *p; ++p, ++length) {
        if (p[0] == '%' && p[1] == '%')
            ++p;
        if (out && length + 1 < outSize)
            out[length] = *p;
    }
    if (out && outSize > 0)
        out[length < outSize ? length : outSize - 1] = '\0';
    return length;
}

int BuildGamePathFromData(CxString& out, const char* text)
{
    char unescaped[kInputMax + 2];
    const size_t length = UnescapePercents(text, unescaped, sizeof unescaped);
    if (length > kInputMax) {
        out.Assign(nullptr, 0);
        return PIM_ERR_BAD_ARG;
    }
    return Build(out, unescaped, length, true);
}

int BuildGamePathV(CxString& out, const char* format, ...)
{
    if (!format)
        return BuildGamePath(out, nullptr);
    char text[kInputMax + 2];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written < 0) {
        out.Assign(nullptr, 0);
        return PIM_ERR_BAD_ARG;
    }
    // A text cut by the buffer is longer than kInputMax, and Build refuses it.
    return Build(out, text, static_cast<size_t>(written) < sizeof text ? static_cast<size_t>(written) : sizeof text,
                 true);
}
