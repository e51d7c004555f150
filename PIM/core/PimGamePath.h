#pragma once
// Game paths: data files name files relative to roots written as variables,
// and the file layer finds them through root tags.
//
// BuildGamePath, in this order:
//   1. deletes every "$GAMEPATH" (the game's root is the search path itself,
//      so "$GAMEPATH/file" becomes "/file");
//   2. replaces every "$CDPATH" by "<CDPath>" and every "$INSTALLPATH" by
//      "<InstallPath>";
//   3. from the second character on, turns every run of "/" into one, so a
//      leading "//" (a network share) survives: "//server//x" -> "//server/x".
// Each replacement is made left to right over the text as it stood before
// that step; what a step produces is not searched by the same step again.
//
// The text is never used as a printf format. The result may hold at most
// PIM_GAME_PATH_MAX characters: a longer one returns PIM_ERR_BAD_ARG (16) with
// `out` emptied, since a cut path could name some other file that exists.
// Nothing is reported: callers treat any non-zero return as failure.
// PIM_ERR_OUT_OF_MEMORY (1) when `out` could not hold the result.

#include "PIM/core/CxString.h"
#include "PIM/core/PimDefs.h"

#include <type_traits>

constexpr int PIM_GAME_PATH_MAX = 255;
// Texts (as given, or as formatted) longer than this are refused with 16
// before any step: no step can shorten them to PIM_GAME_PATH_MAX short of hundreds
// of "$GAMEPATH", and the steps then work in fixed buffers.
constexpr int PIM_GAME_PATH_INPUT_MAX = 1023;

// The text literally. A null path gives "" (and 0).
int BuildGamePath(CxString& out, const char* path);

// Formats with the arguments (bounded), turns every "\" into "/", then goes on
// as BuildGamePath does. A formatted text past PIM_GAME_PATH_INPUT_MAX gives 16.
int BuildGamePathV(CxString& out, const char* format, ...) PIM_PRINTF(2, 3);

// BuildGamePath with backslashes turned into "/" first, for paths written the
// old way; no formatting.
int BuildGamePathSlashed(CxString& out, const char* path);

// A file name written in a data file or a script, read the way the old
// printf-style game path read a format without arguments: "%%" stands for
// "%", every other character (any other "%" too) is itself and no conversion
// ever runs; then as BuildGamePathSlashed. The scripts' BuildGamePath, sound
// and sequence names of event files, and dialog pictures all go through it.
// 16 when the text, after "%%" became "%", is past PIM_GAME_PATH_INPUT_MAX.
int BuildGamePathFromData(CxString& out, const char* text);

// "%%" becomes "%", everything else stays as written. Writes at most
// outSize - 1 bytes and a terminator; returns the length the whole result
// has (more than outSize - 1 when it was cut).
size_t UnescapePercents(const char* text, char* out, unsigned outSize);

// The printf-style form. Without arguments the text is taken literally (only
// its backslashes are turned), so a "%" in a data file's path is just a
// character; with arguments it is BuildGamePathV. The argument types cannot be
// checked against the format from here: prefer BuildGamePathV with a literal
// format, which the compiler does check.
template <class... Args>
int BuildGamePathF(CxString& out, const char* format, Args... args)
{
    if constexpr (sizeof...(Args) == 0) {
        return BuildGamePathSlashed(out, format);
    } else {
        static_assert(((std::is_arithmetic_v<Args> || std::is_pointer_v<Args> || std::is_enum_v<Args>) && ...),
                      "only numbers, enums and pointers can pass through printf arguments");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
        return BuildGamePathV(out, format, args...);
#pragma GCC diagnostic pop
    }
}
