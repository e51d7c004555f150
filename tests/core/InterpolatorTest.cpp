#include "PIM/core/CxError.h"
#include "PIM/core/CxInterpolator.h"
#include "PIM/core/CxMemory.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/os/PimShellFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Expand(const CxInterpolator& interpolator, const std::string& text)
{
    return interpolator.Interpolate(text.c_str()).GetText();
}

std::string Repeat(const std::string& part, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

// `count` nested braced references around `inner`.
std::string Nest(int count, const std::string& inner)
{
    return Repeat("${", count) + inner + Repeat("}", count);
}

// Lets `allowed` allocations through, then refuses all until destroyed.
class RefuseAllocationsAfter
{
public:
    explicit RefuseAllocationsAfter(int allowed)
    {
        s_allowed = allowed;
        SetAllocationFailHook(&Refuse);
    }
    ~RefuseAllocationsAfter() { SetAllocationFailHook(nullptr); }
    RefuseAllocationsAfter(const RefuseAllocationsAfter&) = delete;
    RefuseAllocationsAfter& operator=(const RefuseAllocationsAfter&) = delete;

private:
    static bool Refuse(size_t) { return s_allowed-- <= 0; }
    static int s_allowed;
};
int RefuseAllocationsAfter::s_allowed = 0;

// Sets (or with null, unsets) an environment variable for one test.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_had = old != nullptr;
        if (old)
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

std::string Folder(const char* name, bool common = false)
{
    char buffer[512];
    GetShellFolder(name, common, buffer, sizeof buffer);
    return buffer;
}

std::string GamePath(const char* path, int expectedCode = PIM_OK)
{
    CxString out("old");
    EXPECT_EQ(BuildGamePath(out, path), expectedCode) << path;
    return out.GetText();
}

} // namespace

TEST(InterpolatorReferences, ResolvesPlainAndBracedNames)
{
    CxInterpolator vars;
    ASSERT_EQ(vars.AddString("ROOMNAME", "Barn"), PIM_OK);
    ASSERT_EQ(vars.AddString("N", "2"), PIM_OK);
    ASSERT_EQ(vars.AddString("ROOM_2", "Cellar"), PIM_OK);
    ASSERT_EQ(vars.AddString("a{b}c", "braced"), PIM_OK);

    EXPECT_EQ(Expand(vars, "$ROOMNAME/file"), "Barn/file");
    EXPECT_EQ(Expand(vars, "${ROOMNAME}x"), "Barnx");
    EXPECT_EQ(Expand(vars, "$ROOMNAME$ROOMNAME"), "BarnBarn");
    EXPECT_EQ(Expand(vars, "${ROOM_${N}}.dat"), "Cellar.dat");
    EXPECT_EQ(Expand(vars, "${a{b}c}"), "braced");
    EXPECT_EQ(Expand(vars, "no references"), "no references");
    EXPECT_EQ(Expand(vars, ""), "");
    EXPECT_EQ(std::string(vars.Interpolate(nullptr).GetText()), "");

    // The longest run of name characters is the name, and case matters.
    EXPECT_EQ(Expand(vars, "$ROOMNAMEx"), "$ROOMNAMEx");
    EXPECT_EQ(Expand(vars, "$roomname"), "$roomname");
    EXPECT_EQ(Expand(vars, "$MISSING/file"), "$MISSING/file");
    EXPECT_EQ(Expand(vars, "${MISSING}/file"), "$MISSING/file");
    EXPECT_EQ(Expand(vars, "${ROOM_${M}}"), "$ROOM_$M");
    EXPECT_EQ(Expand(vars, "${}"), "$");

    EXPECT_EQ(Expand(vars, "cost 5$"), "cost 5$");
    EXPECT_EQ(Expand(vars, "$-"), "$-");
    EXPECT_EQ(Expand(vars, "$$ROOMNAME"), "$Barn");
    EXPECT_EQ(Expand(vars, "${${ROOMNAME}}$"), "$Barn$");

    // Unbalanced braces end the result just before their "$".
    EXPECT_EQ(Expand(vars, "a/${ROOMNAME"), "a/");
    EXPECT_EQ(Expand(vars, "$ROOMNAME/${x{y}/rest"), "Barn/");
    EXPECT_EQ(Expand(vars, "${"), "");
}

TEST(InterpolatorReferences, ValuesAreNotInterpolatedAgain)
{
    CxInterpolator vars;
    vars.AddString("ROOMNAME", "Barn");
    vars.AddString("RAW", "$ROOMNAME");
    vars.AddString("OPEN", "${");
    vars.AddString("$ROOMNAME", "dollar-named");

    EXPECT_EQ(Expand(vars, "$RAW"), "$ROOMNAME");
    // An unbalanced brace inside a value does not cut what follows it.
    EXPECT_EQ(Expand(vars, "${OPEN}tail"), "${tail");
    // A value that forms a name is looked up as that name, once.
    EXPECT_EQ(Expand(vars, "${${RAW}}"), "dollar-named");
}

TEST(InterpolatorVariables, IntConstantsAndFormats)
{
    CxInterpolator vars;
    vars.AddIntConstant("PLAIN", -42);
    vars.AddIntConstant("PAD", 7, "%03d");
    vars.AddIntConstant("HEX", 255, "%#x");
    vars.AddIntConstant("TEXT", 7, "Level %d of 9, 100%%");
    vars.AddIntConstant("PREC", 5, "%-4.2i|");
    EXPECT_EQ(Expand(vars, "$PLAIN $PAD $HEX"), "-42 007 0xff");
    EXPECT_EQ(Expand(vars, "$TEXT"), "Level 7 of 9, 100%");
    EXPECT_EQ(Expand(vars, "$PREC"), "05  |");

    // Anything that would read a second or a different argument is refused.
    const char* unsafe[] = {"%s", "%d%d", "%n", "%*d", "%ld", "%999d", "%.300d", "abc%", "no conversion", "%'d"};
    for (const char* format : unsafe) {
        CxInterpolator one;
        one.AddIntConstant("V", 12, format);
        EXPECT_EQ(Expand(one, "$V"), "12") << format;
        EXPECT_FALSE(PimValueFormat<int>::IsSafe(format)) << format;
    }
    CxInterpolator nullFormat;
    nullFormat.AddIntConstant("V", 3, nullptr);
    EXPECT_EQ(Expand(nullFormat, "$V"), "3");
}

TEST(InterpolatorVariables, BuiltinsFollowTheLiveIntInCopiesToo)
{
    int score = 10;
    CxInterpolator global;
    ASSERT_EQ(global.AddIntVariable("SCORE", &score, "%04d"), PIM_OK);
    ASSERT_EQ(global.AddString("GAME", "Marrowdale"), PIM_OK);
    EXPECT_EQ(Expand(global, "$SCORE"), "0010");
    score = 321;
    EXPECT_EQ(Expand(global, "$SCORE"), "0321");

    // A room's copy follows the same int but keeps its own variables.
    CxInterpolator room(global);
    room.AddString("ROOMNAME", "Barn");
    score = 5;
    EXPECT_EQ(Expand(room, "$GAME:$ROOMNAME:$SCORE"), "Marrowdale:Barn:0005");
    EXPECT_EQ(Expand(global, "$ROOMNAME"), "$ROOMNAME");
    global.RemoveVariable("GAME");
    EXPECT_EQ(Expand(room, "$GAME"), "Marrowdale");

    CxInterpolator assigned;
    assigned.AddString("OLD", "gone");
    assigned = room;
    EXPECT_EQ(assigned.GetCount(), 3u);
    EXPECT_EQ(assigned.FindVariable("OLD"), nullptr);
    score = 6;
    EXPECT_EQ(Expand(assigned, "$SCORE"), "0006");
}

TEST(InterpolatorVariables, OneVariablePerNameAndBadArguments)
{
    int level = 3;
    CxInterpolator vars;
    vars.AddString("X", "first");
    vars.AddString("Y", "y");
    vars.AddString("X", "second");
    EXPECT_EQ(vars.GetCount(), 2u);
    EXPECT_EQ(Expand(vars, "$X"), "second");
    vars.AddIntVariable("X", &level);
    EXPECT_EQ(vars.GetCount(), 2u);
    EXPECT_EQ(Expand(vars, "$X"), "3");

    EXPECT_NE(vars.FindVariable("Y"), nullptr);
    EXPECT_EQ(vars.FindVariable("y"), nullptr);
    EXPECT_TRUE(vars.RemoveVariable("Y"));
    EXPECT_FALSE(vars.RemoveVariable("Y"));
    EXPECT_FALSE(vars.RemoveVariable(nullptr));
    EXPECT_EQ(vars.GetCount(), 1u);

    EXPECT_EQ(vars.AddString(nullptr, "v"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(vars.AddString("", "v"), PIM_ERR_BAD_ARG);
    EXPECT_EQ(vars.AddIntVariable("P", nullptr), PIM_ERR_BAD_ARG);
    EXPECT_EQ(vars.AddVariable(nullptr), PIM_ERR_OUT_OF_MEMORY);
    EXPECT_EQ(vars.AddString("EMPTY", nullptr), PIM_OK);
    EXPECT_EQ(Expand(vars, "[$EMPTY]"), "[]");
    EXPECT_EQ(vars.GetCount(), 2u);
}

TEST(InterpolatorVariables, OutOfMemoryLeavesThingsAsTheyWere)
{
    CxInterpolator source;
    source.AddString("A", "alpha");
    source.AddString("B", "beta");
    int live = 1;
    source.AddIntVariable("C", &live);
    const std::string text = "$A-${B}-$C-" + Repeat("${A}", 50);
    const std::string full = Expand(source, text);

    for (int allowed = 0; allowed < 40; ++allowed) {
        CxInterpolator target;
        target.AddString("A", "kept");
        CxString result;
        int addCode = 0;
        int copyCode = 0;
        {
            RefuseAllocationsAfter guard(allowed);
            addCode = target.AddString("A", "replacement");
            copyCode = target.CopyFrom(source);
            result = source.Interpolate(text.c_str());
        }
        if (addCode != PIM_OK) {
            EXPECT_EQ(addCode, PIM_ERR_OUT_OF_MEMORY);
            EXPECT_EQ(Expand(target, "$A"), copyCode == PIM_OK ? "alpha" : "kept") << allowed;
        }
        if (copyCode != PIM_OK) {
            EXPECT_EQ(copyCode, PIM_ERR_OUT_OF_MEMORY);
            EXPECT_EQ(target.GetCount(), 1u) << allowed;
        } else {
            EXPECT_EQ(Expand(target, text), full) << allowed;
        }
        // Whatever memory ran out, the result is a start of the true one.
        std::string got = result.GetText();
        EXPECT_EQ(full.compare(0, got.size(), got), 0) << allowed;
    }
}

TEST(InterpolatorLimits, NestingDepthIsBounded)
{
    CxInterpolator vars;
    vars.AddString("V", "X");
    vars.AddString("X", "X");
    const int limit = CxInterpolator::kMaxNestingDepth;
    EXPECT_EQ(Expand(vars, Nest(limit, "$V")), "X");
    // One level deeper the innermost text is a name as written, and each
    // enclosing level, finding no such variable, adds its "$".
    EXPECT_EQ(Expand(vars, Nest(limit + 1, "$V")), std::string(limit + 1, '$') + "$V");
    vars.AddString("$V", "X");
    EXPECT_EQ(Expand(vars, Nest(limit + 1, "$V")), "X");

    const int deep = 10000;
    const std::string result = Expand(vars, Nest(deep, "$V"));
    EXPECT_EQ(result, std::string(limit + 1, '$') + Nest(deep - limit - 1, "$V"));
    EXPECT_EQ(Expand(vars, Repeat("${", deep) + "$V"), "");
}

TEST(InterpolatorLimits, ResultIsCutAtTheStringLimit)
{
    CxInterpolator vars;
    vars.AddString("BIG", std::string(1000, 'b').c_str());
    vars.AddString("LONG_NAME_OF_A_VARIABLE", "ab");
    vars.AddString("E", "\xC3\xA9"); // two-byte character

    CxString big = vars.Interpolate(Repeat("$BIG", 40).c_str());
    EXPECT_EQ(big.Length(), CxString::kMaxLength);

    // The name is looked up whole even when the result has little room left.
    const std::string nearlyFull(CxString::kMaxLength - 4, 'a');
    EXPECT_EQ(Expand(vars, nearlyFull + "${LONG_NAME_OF_A_VARIABLE}"), nearlyFull + "ab");
    EXPECT_EQ(Expand(vars, nearlyFull + "$LONG_NAME_OF_A_VARIABLE"), nearlyFull + "ab");

    // A character is not split at the limit.
    const std::string oneShort(CxString::kMaxLength - 1, 'a');
    EXPECT_EQ(Expand(vars, oneShort + "$E"), oneShort);

    // Many references and long unbalanced text take linear time.
    const std::string many = Repeat("${BIG}", 30000);
    EXPECT_EQ(vars.Interpolate(many.c_str()).Length(), CxString::kMaxLength);
    EXPECT_EQ(Expand(vars, "x" + Repeat("${{", 100000)), "x");
}

TEST(GamePath, RootsAndSlashes)
{
    EXPECT_EQ(GamePath("$INSTALLPATH//folder//file"), "<InstallPath>/folder/file");
    EXPECT_EQ(GamePath("$GAMEPATH/file"), "/file");
    EXPECT_EQ(GamePath("$CDPATH/movies/a.avi"), "<CDPath>/movies/a.avi");
    EXPECT_EQ(GamePath("//server//x"), "//server/x");
    EXPECT_EQ(GamePath("///x"), "//x");
    EXPECT_EQ(GamePath("a////b//"), "a/b/");
    EXPECT_EQ(GamePath("$GAMEPATH/$INSTALLPATH/$CDPATH"), "/<InstallPath>/<CDPath>");
    EXPECT_EQ(GamePath("$gamepath/x"), "$gamepath/x");
    EXPECT_EQ(GamePath(""), "");
    EXPECT_EQ(GamePath(nullptr), "");
    // The literal form neither formats nor turns backslashes.
    EXPECT_EQ(GamePath("100%s%n%d\\x"), "100%s%n%d\\x");
}

TEST(GamePath, FromDataOnlyPercentPairsCollapse)
{
    CxString out;
    EXPECT_EQ(BuildGamePathFromData(out, "$GAMEPATH\\100%%\\a%s%n%d.tga"), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "/100%/a%s%n%d.tga");
    EXPECT_EQ(BuildGamePathFromData(out, "%%%"), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "%%");
    EXPECT_EQ(BuildGamePathFromData(out, nullptr), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "");
    // Long only before the pairs collapse: judged by what they become.
    std::string pairs;
    for (int i = 0; i < 120; ++i)
        pairs += "%%";
    EXPECT_EQ(BuildGamePathFromData(out, pairs.c_str()), PIM_OK);
    EXPECT_EQ(out.Length(), 120);
    EXPECT_EQ(BuildGamePathFromData(out, std::string(5000, '%').c_str()), PIM_ERR_BAD_ARG);
    EXPECT_EQ(out.Length(), 0);
}

TEST(GamePath, FormattedForms)
{
    CxString out;
    EXPECT_EQ(BuildGamePathF(out, "data\\%d%s\\x"), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "data/%d%s/x");
    EXPECT_EQ(BuildGamePathF(out, "%s\\\\level%02d.txt", "$INSTALLPATH\\rooms", 3), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "<InstallPath>/rooms/level03.txt");
    EXPECT_EQ(BuildGamePathV(out, "$GAMEPATH/%s", "a\\b"), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "/a/b");

    const std::string tooLong(2000, 'x');
    EXPECT_EQ(BuildGamePathF(out, "%s", tooLong.c_str()), PIM_ERR_BAD_ARG);
    EXPECT_TRUE(out.IsEmpty());
}

// Names from data files are never formats: only "%%" is read, as "%".
TEST(GamePath, DataNamesCollapseOnlyDoublePercents)
{
    CxString out;
    EXPECT_EQ(BuildGamePathFromData(out, "$GAMEPATH\\voice%s\\100%%_%d%%%.wav"), PIM_OK);
    EXPECT_EQ(std::string(out.GetText()), "/voice%s/100%_%d%%.wav");
    // The input limit counts the text as it reads: 1,030 "%%" are 1,030 characters.
    EXPECT_EQ(BuildGamePathFromData(out, Repeat("%%", 200).c_str()), PIM_OK);
    EXPECT_EQ(out.Length(), 200);
    EXPECT_EQ(BuildGamePathFromData(out, Repeat("%%", 1030).c_str()), PIM_ERR_BAD_ARG);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(BuildGamePathFromData(out, nullptr), PIM_OK);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(GamePath, LengthLimit)
{
    const std::string longest(PIM_GAME_PATH_MAX, 'p');
    EXPECT_EQ(GamePath(longest.c_str()), longest);
    EXPECT_EQ(GamePath((longest + "p").c_str(), PIM_ERR_BAD_ARG), "");
    // The limit is on the result: deletions may bring a long text under it,
    // and replacements may take a short one over it.
    EXPECT_EQ(GamePath((Repeat("$GAMEPATH", 40) + "/f").c_str()), "/f");
    EXPECT_EQ(GamePath(Repeat("$CDPATH", 35).c_str(), PIM_ERR_BAD_ARG), "");
    EXPECT_EQ(GamePath(Repeat("$CDPATH", 31).c_str()).size(), 248u);
    EXPECT_EQ(GamePath(std::string(5000, '/').c_str(), PIM_ERR_BAD_ARG), "");
}

TEST(ShellFolder, EnvironmentFolders)
{
    ClearShellFolderOverrides();
    ScopedEnv home("HOME", "/home/player/");
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv documents("XDG_DOCUMENTS_DIR", nullptr);
    EXPECT_EQ(Folder("AppData"), "/home/player/.local/share");
    EXPECT_EQ(Folder("local appdata"), "/home/player/.local/share");
    EXPECT_EQ(Folder("Common AppData", true), "/home/player/.local/share");
    EXPECT_EQ(Folder("AppData", true), Folder("AppData", false));
    EXPECT_EQ(Folder("Personal"), "/home/player");
    EXPECT_EQ(Folder("My Documents"), "/home/player");
    EXPECT_EQ(Folder("Fonts"), "");
    EXPECT_EQ(Folder(nullptr), "");

    {
        ScopedEnv dataSet("XDG_DATA_HOME", "/srv/data//");
        ScopedEnv documentsSet("XDG_DOCUMENTS_DIR", "/home/player/Docs");
        EXPECT_EQ(Folder("AppData"), "/srv/data");
        EXPECT_EQ(Folder("Personal"), "/home/player/Docs");
    }
    {
        ScopedEnv relative("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(Folder("AppData"), "/home/player/.local/share");
    }
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(Folder("AppData"), "");
    EXPECT_EQ(Folder("Personal"), "");
}

TEST(ShellFolder, OverridesAndBoundedCopies)
{
    ScopedEnv home("HOME", "/home/player");
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_TRUE(SetShellFolderOverride("AppData", "C:\\saves\\"));
    EXPECT_TRUE(SetShellFolderOverride("Scratch", "/"));
    EXPECT_EQ(Folder("APPDATA"), "C:/saves");
    EXPECT_EQ(Folder("Scratch"), "/");
    EXPECT_EQ(Folder("Local AppData"), "/home/player/.local/share");
    EXPECT_TRUE(SetShellFolderOverride("appdata", "/tmp/other"));
    EXPECT_EQ(Folder("AppData", true), "/tmp/other");
    EXPECT_TRUE(SetShellFolderOverride("AppData", nullptr));
    EXPECT_EQ(Folder("AppData"), "/home/player/.local/share");

    char small[8];
    EXPECT_EQ(GetShellFolder("Personal", false, small, sizeof small), 12);
    EXPECT_STREQ(small, "/home/p");
    small[0] = 'Z';
    EXPECT_EQ(GetShellFolder("Personal", false, small, 0), 12);
    EXPECT_EQ(GetShellFolder("Personal", false, small, -5), 12);
    EXPECT_EQ(small[0], 'Z');
    EXPECT_EQ(GetShellFolder("Personal", false, nullptr, 100), 12);
    EXPECT_EQ(GetShellFolder("Unknown", false, small, sizeof small), 0);
    EXPECT_STREQ(small, "");

    ClearShellFolderOverrides();
    EXPECT_EQ(Folder("Scratch"), "");
}
