#include "PIM/core/CxMemory.h"
#include "PIM/core/Pimstr.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

// Plain recursive matcher for patterns made only of letters, "*", "?", "!"
// and ";", where every byte is a token of its own. Exponential, which is fine
// for the short strings it checks.
bool ReferenceAlternative(const std::string& p, size_t t, const std::string& s, size_t i)
{
    if (t == p.size())
        return i == s.size();
    char c = p[t];
    if (c == '!')
        return !ReferenceAlternative(p, t + 1, s, i);
    if (c == '*')
        return ReferenceAlternative(p, t + 1, s, i) || (i < s.size() && ReferenceAlternative(p, t, s, i + 1));
    if (i == s.size())
        return false;
    bool fits = c == '?' || std::tolower(static_cast<unsigned char>(c)) == std::tolower(static_cast<unsigned char>(s[i]));
    return fits && ReferenceAlternative(p, t + 1, s, i + 1);
}

bool ReferenceMatch(const std::string& pattern, const std::string& name)
{
    size_t start = 0;
    for (;;) {
        size_t stop = pattern.find(';', start);
        std::string alternative = pattern.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
        if (ReferenceAlternative(alternative, 0, name, 0))
            return true;
        if (stop == std::string::npos)
            return false;
        start = stop + 1;
    }
}

// Every string of up to `maxLength` symbols from `alphabet`, shortest first.
std::vector<std::string> AllStrings(const std::string& alphabet, size_t maxLength)
{
    std::vector<std::string> all{""};
    for (size_t from = 0; from < all.size(); ++from) {
        if (all[from].size() == maxLength)
            continue;
        for (char c : alphabet)
            all.push_back(all[from] + c);
    }
    return all;
}

bool FailEveryAllocation(size_t)
{
    return true;
}

} // namespace

TEST(WildcardBasics, StarsQuestionMarksAndAlternatives)
{
    EXPECT_TRUE(PimWildcardMatch("*.TXT", "readme.txt"));
    EXPECT_FALSE(PimWildcardMatch("*.TXT", "readme.txt.bak"));
    EXPECT_TRUE(PimWildcardMatch("*.txt;*.ini", "a.ini"));
    EXPECT_FALSE(PimWildcardMatch("*.txt;*.ini", "a.cfg"));
    EXPECT_TRUE(PimWildcardMatch("??", "ab"));
    EXPECT_FALSE(PimWildcardMatch("??", "a"));
    EXPECT_FALSE(PimWildcardMatch("??", "abc"));
    EXPECT_TRUE(PimWildcardMatch("*", ""));
    EXPECT_TRUE(PimWildcardMatch("a*b*c", "aXXbYYc"));
    EXPECT_FALSE(PimWildcardMatch("a*b*c", "aXXbYY"));

    EXPECT_TRUE(PimWildcardMatch("", ""));
    EXPECT_FALSE(PimWildcardMatch("", "a"));
    EXPECT_TRUE(PimWildcardMatch(nullptr, nullptr));
    EXPECT_FALSE(PimWildcardMatch(nullptr, "a"));
    EXPECT_TRUE(PimWildcardMatch("?", "x") && !PimWildcardMatch("?", nullptr));
    // An empty alternative stands for the empty name only.
    EXPECT_TRUE(PimWildcardMatch("*.txt;", ""));
    EXPECT_TRUE(PimWildcardMatch("*.txt;", "a.txt"));
    EXPECT_FALSE(PimWildcardMatch("*.txt;", "a"));
    EXPECT_TRUE(PimWildcardMatch(";x", ""));
}

TEST(WildcardSets, MembersRangesAndOddBrackets)
{
    EXPECT_TRUE(PimWildcardMatch("[a-c]?", "B1"));
    EXPECT_FALSE(PimWildcardMatch("[a-c]?", "d1"));
    EXPECT_FALSE(PimWildcardMatch("[!a-c]*", "apple"));
    EXPECT_TRUE(PimWildcardMatch("[!a-c]*", "xylophone"));
    EXPECT_TRUE(PimWildcardMatch("[A-Z]", "q"));
    EXPECT_TRUE(PimWildcardMatch("[xyz]", "Y"));
    EXPECT_TRUE(PimWildcardMatch("[z-a]", "m"));
    EXPECT_FALSE(PimWildcardMatch("[[]", "{"));

    EXPECT_TRUE(PimWildcardMatch("[]]", "]"));
    EXPECT_TRUE(PimWildcardMatch("[!]]", "a"));
    EXPECT_FALSE(PimWildcardMatch("[!]]", "]"));
    EXPECT_TRUE(PimWildcardMatch("[-a]", "-"));
    EXPECT_TRUE(PimWildcardMatch("[a-]", "-"));
    EXPECT_FALSE(PimWildcardMatch("[a-]", "b"));
    EXPECT_TRUE(PimWildcardMatch("[`]x]", "]"));
    EXPECT_TRUE(PimWildcardMatch("[`]x]", "x"));
    EXPECT_TRUE(PimWildcardMatch("[a`-c]", "-"));
    EXPECT_FALSE(PimWildcardMatch("[a`-c]", "b"));
    EXPECT_TRUE(PimWildcardMatch("[`!-`-]", "#"));
    EXPECT_FALSE(PimWildcardMatch("[`!-`-]", "a"));

    // ";" inside a set is a member; an unterminated "[" is itself.
    EXPECT_TRUE(PimWildcardMatch("a[;]b", "a;b"));
    EXPECT_TRUE(PimWildcardMatch("[a-c", "[A-C"));
    EXPECT_FALSE(PimWildcardMatch("[a-c", "a"));
    EXPECT_TRUE(PimWildcardMatch("x[a;b", "b"));
    EXPECT_TRUE(PimWildcardMatch("x[a;b", "x[a"));
    EXPECT_TRUE(PimWildcardMatch("[]", "[]"));
}

TEST(WildcardEscapes, GraveAccentTakesTheNextCharacter)
{
    EXPECT_TRUE(PimWildcardMatch("a`*b", "a*b"));
    EXPECT_FALSE(PimWildcardMatch("a`*b", "axb"));
    EXPECT_TRUE(PimWildcardMatch("`?`[`!", "?[!"));
    EXPECT_FALSE(PimWildcardMatch("`?", "x"));
    EXPECT_TRUE(PimWildcardMatch("a`;b", "a;b"));
    EXPECT_FALSE(PimWildcardMatch("a`;b", "b"));
    EXPECT_TRUE(PimWildcardMatch("a`", "a`"));
    EXPECT_TRUE(PimWildcardMatch("``", "`"));
}

TEST(WildcardNot, NegatesTheRestOfTheAlternative)
{
    EXPECT_TRUE(PimWildcardMatch("!*.bak", "x.txt"));
    EXPECT_FALSE(PimWildcardMatch("!*.bak", "x.bak"));
    EXPECT_TRUE(PimWildcardMatch("data!*.tmp", "data1.ini"));
    EXPECT_FALSE(PimWildcardMatch("data!*.tmp", "data1.tmp"));
    EXPECT_FALSE(PimWildcardMatch("data!*.tmp", "info1.ini"));
    EXPECT_TRUE(PimWildcardMatch("!!abc", "ABC"));
    EXPECT_FALSE(PimWildcardMatch("!*", ""));
    EXPECT_TRUE(PimWildcardMatch("!", "a"));
    EXPECT_FALSE(PimWildcardMatch("!", ""));
    // Only the own alternative is negated.
    EXPECT_TRUE(PimWildcardMatch("!*.bak;x.bak", "x.bak"));
}

TEST(WildcardNot, AgreesWithPlainRecursionOnAllShortPatterns)
{
    std::vector<std::string> patterns = AllStrings("aB*?!;", 5);
    std::vector<std::string> names = AllStrings("ab", 4);
    int mismatches = 0;
    for (const std::string& pattern : patterns) {
        for (const std::string& name : names) {
            if (PimWildcardMatch(pattern.c_str(), name.c_str()) != ReferenceMatch(pattern, name) && ++mismatches < 5)
                ADD_FAILURE() << "pattern \"" << pattern << "\" name \"" << name << "\"";
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(WildcardUtf8, WholeCharactersAndAsciiCaseOnly)
{
    EXPECT_TRUE(PimWildcardMatch("?", "\xC3\xA9"));
    EXPECT_FALSE(PimWildcardMatch("??", "\xC3\xA9"));
    EXPECT_TRUE(PimWildcardMatch("?", "\xF0\x9F\x98\x80"));
    EXPECT_TRUE(PimWildcardMatch("caf[\xC3\xA0-\xC3\xBF]", "caf\xC3\xA9"));
    EXPECT_FALSE(PimWildcardMatch("[!\xC3\xA9]", "\xC3\xA9"));
    EXPECT_TRUE(PimWildcardMatch("`\xC3\xA9", "\xC3\xA9"));
    EXPECT_FALSE(PimWildcardMatch("\xC3\x89", "\xC3\xA9"));

    // Invalid bytes are characters of their own and equal themselves.
    EXPECT_TRUE(PimWildcardMatch("??", "\xC3x"));
    EXPECT_TRUE(PimWildcardMatch("\xFF*", "\xFF\xFE"));
    EXPECT_FALSE(PimWildcardMatch("\xFE", "\xFF"));
}

TEST(WildcardLimits, LongInputsStayFastAndMemoryFailureMeansNoMatch)
{
    std::string name(10000, 'a');
    EXPECT_FALSE(PimWildcardMatch((std::string(30, '*') + "b").c_str(), name.c_str()));
    std::string spread;
    for (int i = 0; i < 30; ++i)
        spread += "*a";
    EXPECT_FALSE(PimWildcardMatch((spread + "*b").c_str(), name.c_str()));
    EXPECT_TRUE(PimWildcardMatch((spread + "*").c_str(), name.c_str()));
    EXPECT_TRUE(PimWildcardMatch(("!" + spread + "*b").c_str(), name.c_str()));

    std::string anyOf3000(3000, '?');
    EXPECT_TRUE(PimWildcardMatch(anyOf3000.c_str(), std::string(3000, 'x').c_str()));
    EXPECT_FALSE(PimWildcardMatch(anyOf3000.c_str(), std::string(2999, 'x').c_str()));

    // Short patterns and names need no heap; a "!" past the front needs the
    // name decoded.
    std::string longPattern = std::string(100, '?') + "*";
    SetAllocationFailHook(FailEveryAllocation);
    EXPECT_FALSE(PimWildcardMatch("a!x", name.c_str()));
    EXPECT_FALSE(PimWildcardMatch(longPattern.c_str(), name.c_str()));
    EXPECT_TRUE(PimWildcardMatch("*", name.c_str()));
    EXPECT_TRUE(PimWildcardMatch("!x", name.c_str()));
    EXPECT_TRUE(PimWildcardMatch("x!*.bak", "xshort.txt"));
    SetAllocationFailHook(nullptr);
    EXPECT_TRUE(PimWildcardMatch("a!x", name.c_str()));
    EXPECT_TRUE(PimWildcardMatch(longPattern.c_str(), name.c_str()));
}
