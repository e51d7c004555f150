#include "PIM/core/PimSafeFormat.h"

#include <gtest/gtest.h>

#include <string>

TEST(SafeFormat, FillsIntConversionsInOrderAndKeepsTheRestLiteral)
{
    const int values[] = {3, 7};
    EXPECT_STREQ(PimSafeFormatted("Round %d", 4).GetText(), "Round 4");
    EXPECT_STREQ(PimSafeFormatted("%sLevel%02d", values, 2).GetText(), "%sLevel03");
    EXPECT_STREQ(PimSafeFormatted("%d of %d, 100%%", values, 2).GetText(), "3 of 7, 100%");
    // Conversions that would read anything but an int given here stay as written.
    EXPECT_STREQ(PimSafeFormatted("%n%s%p%ld%*d", values, 2).GetText(), "%n%s%p%ld%*d");
    // More conversions than numbers: the extra ones stay literal.
    EXPECT_STREQ(PimSafeFormatted("%d %d %d", values, 2).GetText(), "3 7 %d");
    EXPECT_STREQ(PimSafeFormatted("%x/%X/%o/%u", values, 2).GetText(), "3/7/%o/%u");
    EXPECT_STREQ(PimSafeFormatted("%-3d|", -1).GetText(), "-1 |");
    EXPECT_STREQ(PimSafeFormatted("trailing %", 1).GetText(), "trailing %");
    EXPECT_STREQ(PimSafeFormatted(nullptr, 1).GetText(), "");
}

TEST(SafeFormat, RefusesHugeWidthsAndStaysInItsBuffer)
{
    EXPECT_STREQ(PimSafeFormatted("%999999999d", 5).GetText(), "%999999999d");
    EXPECT_STREQ(PimSafeFormatted("%255d", 5).GetText(), std::string(254, ' ').append("5").c_str());

    char small[6];
    EXPECT_EQ(PimSafeFormat(small, sizeof small, "ab%dcd", nullptr, 0), 5u);
    EXPECT_STREQ(small, "ab%dc");
    const int big = 123456;
    EXPECT_EQ(PimSafeFormat(small, sizeof small, "%d", &big, 1), 5u);
    EXPECT_STREQ(small, "12345");
    EXPECT_EQ(PimSafeFormat(small, 0, "%d", &big, 1), 0u);
}
