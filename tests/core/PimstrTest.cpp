#include "PIM/core/Pimstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every line PimReadLine hands out for [text, text + size) with an out buffer of n bytes.
std::vector<std::string> ReadAllLines(const char* text, size_t size, size_t n)
{
    std::vector<std::string> lines;
    std::vector<char> out(n + 1, '#');
    for (const char* at = text; (at = PimReadLine(at, text + size, out.data(), n));)
        lines.emplace_back(out.data());
    return lines;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(PimstrCopy, BoundedTerminatedAndNullSafe)
{
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(PimStrCopy(buffer, "abcdefghij", 4), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], 'x');

    buffer[0] = 'q';
    EXPECT_EQ(PimStrCopy(buffer, "ab", 0), 0u);
    EXPECT_EQ(buffer[0], 'q');

    EXPECT_EQ(PimStrCopy(buffer, nullptr, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(PimStrCopy(nullptr, "ab", 8), 0u);

    char text[] = "hello";
    EXPECT_EQ(PimStrCopy(text, text + 1, sizeof text), 4u);
    EXPECT_STREQ(text, "ello");
}

TEST(PimstrBasics, LengthFileNameCountAndEquality)
{
    EXPECT_EQ(PimStrLen(nullptr), 0u);
    EXPECT_EQ(PimStrLen("abc"), 3u);

    EXPECT_STREQ(PimFileName("data/rooms/hall.txt"), "hall.txt");
    const char* bare = "hall.txt";
    EXPECT_EQ(PimFileName(bare), bare);
    EXPECT_STREQ(PimFileName("data/"), "");
    EXPECT_EQ(PimFileName(nullptr), nullptr);
    char path[] = "x/y";
    *PimFileName(path) = 'Z';
    EXPECT_STREQ(path, "x/Z");

    EXPECT_EQ(PimCountChar("a,b,,c,", ','), 4u);
    EXPECT_EQ(PimCountChar(nullptr, ','), 0u);
    EXPECT_EQ(PimCountChar("abc", '\0'), 0u);

    EXPECT_FALSE(PimStrEqual("Abc", "aBC"));
    EXPECT_TRUE(PimStrEqual("Abc", "aBC", true));
    EXPECT_FALSE(PimStrEqual("abc", "abcd", true));
    EXPECT_FALSE(PimStrEqual("abcd", "ABC", true));
    // Only letters fold: "[" and "{" differ by the case bit but are not a pair.
    EXPECT_FALSE(PimStrEqual("[@", "{`", true));
    EXPECT_TRUE(PimStrEqual(nullptr, ""));
    EXPECT_TRUE(PimStrEqual(nullptr, nullptr, true));
    EXPECT_FALSE(PimStrEqual("a", nullptr));
}

TEST(PimstrSearch, ForwardAndBackwardWithAndWithoutCase)
{
    const char* text = "Hello World hello";
    EXPECT_EQ(PimStrStrNoCase(text, "WORLD"), text + 6);
    EXPECT_EQ(PimStrStrNoCase(text, "LO w"), text + 3);
    EXPECT_EQ(PimStrStrNoCase(text, "hello!"), nullptr);
    EXPECT_EQ(PimStrStrNoCase(text, ""), text);
    EXPECT_EQ(PimStrStrNoCase(nullptr, "a"), nullptr);
    EXPECT_EQ(PimStrStrNoCase("ab", "abc"), nullptr);

    EXPECT_EQ(PimStrRStr(text, "hello"), text + 12);
    EXPECT_EQ(PimStrRStr(text, "Hello"), text);
    EXPECT_EQ(PimStrRStr(text, "HELLO"), nullptr);
    EXPECT_EQ(PimStrRStrNoCase(text, "HELLO"), text + 12);
    EXPECT_EQ(PimStrRStrNoCase(text, "hELLO w"), text);
    EXPECT_EQ(PimStrRStr(text, ""), text + std::strlen(text));
    const char* run = "aaa";
    EXPECT_EQ(PimStrRStr(run, "aa"), run + 1);
    EXPECT_EQ(PimStrRStr(nullptr, ""), nullptr);

    char writable[] = "abcABC";
    *PimStrRStrNoCase(writable, "abc") = 'x';
    EXPECT_STREQ(writable, "abcxBC");
}

TEST(PimstrFindWord, WholeWordsOnly)
{
    const char* list = "Exit, Play2, Play";
    EXPECT_EQ(PimFindWord(list, "Play", ", ", false), list + 13);
    EXPECT_EQ(PimFindWord(list, "Exit", ", ", false), list);
    EXPECT_EQ(PimFindWord(list, "play", ", ", false), nullptr);
    EXPECT_EQ(PimFindWord(list, "play", ", ", true), list + 13);
    EXPECT_EQ(PimFindWord("Exit,Play2", "Play", ",", false), nullptr);
    EXPECT_EQ(PimFindWord("XPlay", "Play", ", ", false), nullptr);
    const char* twice = "PlayPlay, Play";
    EXPECT_EQ(PimFindWord(twice, "Play", ", ", false), twice + 10);

    EXPECT_STREQ(PimFindWord("Play", "Play", nullptr, false), "Play");
    EXPECT_EQ(PimFindWord("Play Play", "Play", nullptr, false), nullptr);
    EXPECT_EQ(PimFindWord("a b", "", " ", false), nullptr);
    EXPECT_EQ(PimFindWord(nullptr, "a", " ", false), nullptr);
}

TEST(PimstrEdit, RemoveAndReplaceCharacters)
{
    char dashes[] = "a-b--c-";
    EXPECT_EQ(PimRemoveChar(dashes, '-'), 4u);
    EXPECT_STREQ(dashes, "abc");
    EXPECT_EQ(PimRemoveChar(dashes, '\0'), 0u);
    EXPECT_EQ(PimRemoveChar(nullptr, 'a'), 0u);

    char path[] = "a/b/c";
    EXPECT_EQ(PimReplaceChar(path, '/', '\\'), 2u);
    EXPECT_STREQ(path, "a\\b\\c");

    // Replacing by zero goes on past the first zero it wrote.
    char words[] = "a b c";
    EXPECT_EQ(PimReplaceChar(words, ' ', '\0'), 2u);
    EXPECT_EQ(std::memcmp(words, "a\0b\0c", 6), 0);
    EXPECT_EQ(PimReplaceChar(words, '\0', 'x'), 0u);
}

TEST(PimstrReplaceText, GrowsShrinksAndRefusesWhatDoesNotFit)
{
    char buffer[32] = "one two one";
    EXPECT_EQ(PimReplaceText(buffer, sizeof buffer, "one", "three"), 2);
    EXPECT_STREQ(buffer, "three two three");
    EXPECT_EQ(PimReplaceText(buffer, sizeof buffer, "three", "3"), 2);
    EXPECT_STREQ(buffer, "3 two 3");
    EXPECT_EQ(PimReplaceText(buffer, sizeof buffer, "two ", nullptr), 1);
    EXPECT_STREQ(buffer, "3 3");
    EXPECT_EQ(PimReplaceText(buffer, sizeof buffer, "", "x"), 0);
    EXPECT_EQ(PimReplaceText(buffer, sizeof buffer, "zz", "x"), 0);
    EXPECT_EQ(PimReplaceText(nullptr, 10, "a", "b"), 0);

    char run[16] = "aaa";
    EXPECT_EQ(PimReplaceText(run, sizeof run, "aa", "b"), 1);
    EXPECT_STREQ(run, "ba");
    // Inserted text holding the searched text is not searched again.
    char nested[16] = "aXa";
    EXPECT_EQ(PimReplaceText(nested, sizeof nested, "a", "aa"), 2);
    EXPECT_STREQ(nested, "aaXaa");
    char adjacent[16] = "abab";
    EXPECT_EQ(PimReplaceText(adjacent, sizeof adjacent, "ab", "xyz"), 2);
    EXPECT_STREQ(adjacent, "xyzxyz");

    char exact[10] = "ab ab";
    EXPECT_EQ(PimReplaceText(exact, sizeof exact, "ab", "abcd"), 2);
    EXPECT_STREQ(exact, "abcd abcd");

    char small[10] = "ab ab";
    char before[sizeof small];
    std::memcpy(before, small, sizeof small);
    EXPECT_EQ(PimReplaceText(small, 9, "ab", "abcd"), -1);
    EXPECT_EQ(std::memcmp(small, before, sizeof small), 0);

    char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(PimReplaceText(unterminated, sizeof unterminated, "a", "b"), -1);
    EXPECT_EQ(std::memcmp(unterminated, "abc", 3), 0);
}

TEST(PimstrReadLine, SplitsLinesAndNeverReadsPastTheEnd)
{
    const char text[] = "one\r\ntwo\n\nlast";
    EXPECT_EQ(ReadAllLines(text, sizeof text - 1, 16), (Lines{"one", "two", "", "last"}));
    EXPECT_EQ(ReadAllLines("a\n", 2, 16), (Lines{"a"}));
    EXPECT_EQ(ReadAllLines("\r\n\r", 3, 16), (Lines{"", ""}));

    // Long lines go on in the next call; a line that exactly fits takes its
    // line end with it instead of yielding an empty line.
    EXPECT_EQ(ReadAllLines("abcdefgh\nx", 10, 4), (Lines{"abc", "def", "gh", "x"}));
    EXPECT_EQ(ReadAllLines("abc\r\ndef", 8, 4), (Lines{"abc", "def"}));
    EXPECT_EQ(ReadAllLines("a\rb\rc\rd", 7, 3), (Lines{"ab", "cd"}));
    // No room at all: each line is skipped whole, so the walk still ends.
    EXPECT_EQ(ReadAllLines("abc\ndef", 7, 1), (Lines{"", ""}));

    // A zero byte ends the input even before `end`.
    EXPECT_EQ(ReadAllLines("ab\0cd", 5, 16), (Lines{"ab"}));

    // Not terminated: the sanitizer build catches any read past `end`.
    const char raw[3] = {'a', 'b', 'c'};
    char out[16] = "zzz";
    EXPECT_EQ(PimReadLine(raw, raw + 3, out, sizeof out), raw + 3);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(PimReadLine(raw + 3, raw + 3, out, sizeof out), nullptr);
    EXPECT_STREQ(out, "");

    const char* terminated = "x\ny";
    EXPECT_EQ(PimReadLine(terminated, nullptr, out, sizeof out), terminated + 2);
    EXPECT_STREQ(out, "x");
    EXPECT_EQ(PimReadLine(nullptr, nullptr, out, sizeof out), nullptr);
    EXPECT_EQ(PimReadLine(terminated, nullptr, nullptr, 16), terminated + 2);
}

TEST(PimstrUtf8, DecodesValidAndRejectsMalformed)
{
    uint32_t c = 0;
    EXPECT_EQ(PimUtf8Decode("A", 1, &c), 1u);
    EXPECT_EQ(c, 0x41u);
    EXPECT_EQ(PimUtf8Decode("\xC3\xA9", 2, &c), 2u);
    EXPECT_EQ(c, 0xE9u);
    EXPECT_EQ(PimUtf8Decode("\xE2\x82\xAC", 3, &c), 3u);
    EXPECT_EQ(c, 0x20ACu);
    EXPECT_EQ(PimUtf8Decode("\xF0\x9F\x98\x80", 4, &c), 4u);
    EXPECT_EQ(c, 0x1F600u);

    const char* invalid[] = {
        "\xC0\x80",         // overlong
        "\xE0\x80\xAF",     // overlong
        "\xED\xA0\x80",     // surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\x80",             // lone continuation
        "\xFF",
    };
    for (const char* text : invalid) {
        EXPECT_EQ(PimUtf8Decode(text, std::strlen(text), &c), 1u) << text;
        EXPECT_EQ(c, 0xDC00u + static_cast<unsigned char>(text[0]));
    }
    // Cut by the available length or by the terminator.
    EXPECT_EQ(PimUtf8Decode("\xE2\x82\xAC", 2, &c), 1u);
    EXPECT_EQ(PimUtf8Decode("\xE2\x82", 3, &c), 1u);
    EXPECT_EQ(PimUtf8Decode("A", 0, &c), 0u);
}

TEST(PimstrCodePage, CopiesWholeCharactersOnly)
{
    char out[16];
    EXPECT_EQ(PimToSystemCodePage("Gr\xC3\xBC\xC3\x9F" "e", out, sizeof out), 7u);
    EXPECT_STREQ(out, "Gr\xC3\xBC\xC3\x9F" "e");

    // "ab€" needs 6 bytes with its terminator; the euro sign is dropped whole,
    // and what follows a dropped character goes with it.
    EXPECT_EQ(PimToSystemCodePage("ab\xE2\x82\xAC", out, 5), 2u);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(PimFromSystemCodePage("ab\xE2\x82\xAC", out, 6), 5u);
    EXPECT_STREQ(out, "ab\xE2\x82\xAC");
    EXPECT_EQ(PimFromSystemCodePage("a\xE2\x82\xAC" "b", out, 3), 1u);
    EXPECT_STREQ(out, "a");

    EXPECT_EQ(PimToSystemCodePage(nullptr, out, sizeof out), 0u);
    EXPECT_STREQ(out, "");
    out[0] = 'q';
    EXPECT_EQ(PimToSystemCodePage("abc", out, 0), 0u);
    EXPECT_EQ(out[0], 'q');
    EXPECT_EQ(PimToSystemCodePage("abc", nullptr, 4), 0u);

    // The limit counts characters, not bytes.
    std::string ascii(1100, 'x');
    std::string accented;
    for (int i = 0; i < 1100; ++i)
        accented += "\xC3\xA9";
    std::vector<char> big(4096);
    EXPECT_EQ(PimToSystemCodePage(ascii.c_str(), big.data(), big.size()), PIM_CODE_PAGE_MAX_CHARS);
    EXPECT_EQ(PimFromSystemCodePage(accented.c_str(), big.data(), big.size()), 2 * PIM_CODE_PAGE_MAX_CHARS);
    EXPECT_EQ(std::strlen(big.data()), 2 * PIM_CODE_PAGE_MAX_CHARS);

    // An invalid byte is kept, counting as one character.
    EXPECT_EQ(PimToSystemCodePage("a\xFF" "b", out, sizeof out), 3u);
    EXPECT_STREQ(out, "a\xFF" "b");
}
