#include "PIM/core/PimNumbers.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cstdlib>
#include <string>
#include <unistd.h>

TEST(NumbersInt, ReadsLikeAtolAndClampsTo32Bits)
{
    const struct
    {
        const char* text;
        int32_t expected;
    } cases[] = {
        {nullptr, 0},           {"", 0},
        {"abc", 0},             {"42", 42},
        {"  \t\n-12abc", -12},  {"+7", 7},
        {"- 5", 0},             {"+-1", 0},
        {"007", 7},             {"0x10", 0},
        {"12 34", 12},          {"2147483647", INT32_MAX},
        {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"-2147483649", INT32_MIN}, {"99999999999999999999999999", INT32_MAX},
        {"-000000000000000000000000000001", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PimParseInt(c.text), c.expected) << (c.text ? c.text : "(null)");

    // Within range it must agree with the C library it replaces.
    for (const char* text : {"0", "-1", " 123xyz", "\v\f+99", "-2147483647", "1e5"})
        EXPECT_EQ(PimParseInt(text), std::atol(text)) << text;
}

TEST(NumbersFloat, ReadsDecimalsAndRejectsWhatIsNotAFiniteNumber)
{
    const struct
    {
        const char* text;
        float expected;
    } cases[] = {
        {nullptr, 0.0f},  {"", 0.0f},       {"abc", 0.0f},     {"1.5abc", 1.5f},  {"  +2.5", 2.5f},
        {"-.5", -0.5f},   {"1e3", 1000.0f}, {"1e", 1.0f},      {"1,5", 1.0f},     {"+-1", 0.0f},
        {"inf", 0.0f},    {"-infinity", 0.0f}, {"nan", 0.0f},  {"NAN(1)", 0.0f},  {"0x1p3", 0.0f},
        {"1e39", 0.0f},   {"-1e39", 0.0f},  {"1e-60", 0.0f},   {"3.4028235e38", FLT_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PimParseFloat(c.text), c.expected) << (c.text ? c.text : "(null)");

    EXPECT_EQ(PimParseDouble("1e39"), 1e39);
    EXPECT_EQ(PimParseDouble("0.1"), 0.1);
    EXPECT_EQ(PimParseDouble("1e400"), 0.0);
    EXPECT_EQ(PimParseDouble("-inf"), 0.0);
}

// A German locale makes atof stop at "." ("1.5" -> 1). The parser must not
// care. Machines rarely have such a locale installed, so one is compiled into
// a private folder when the system's locale sources allow it.
TEST(NumbersFloat, IgnoresTheProcessLocale)
{
    char folder[] = "/tmp/pim-locale-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string compile = std::string("localedef -i de_DE -f UTF-8 ") + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
    const bool compiled = std::system(compile.c_str()) == 0;
    setenv("LOCPATH", folder, 1);
    const bool german = compiled && std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    if (german) {
        EXPECT_EQ(std::atof("1.5"), 1.0); // the locale really is in force
        EXPECT_EQ(PimParseFloat("1.5"), 1.5f);
        EXPECT_EQ(PimParseFloat("1,5"), 1.0f);
        EXPECT_EQ(PimParseDouble("-2.25e1"), -22.5);
    }
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    std::system((std::string("rm -rf ") + folder).c_str());
    if (!german)
        GTEST_SKIP() << "no locale with a decimal comma could be made here";
}
