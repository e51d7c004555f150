#include "game/shell/CommandLine.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(CommandLine, KnownOptionsAndErrors)
{
    const char* none[] = {"marrowdale"};
    ST_COMMAND_LINE plain = ParseCommandLine(1, none);
    EXPECT_FALSE(plain.help);
    EXPECT_FALSE(plain.version);
    EXPECT_TRUE(plain.error.empty());

    const char* both[] = {"marrowdale", "--version", "--help"};
    ST_COMMAND_LINE b = ParseCommandLine(3, both);
    EXPECT_TRUE(b.help);
    EXPECT_TRUE(b.version);

    const char* bad[] = {"marrowdale", "--frobnicate"};
    EXPECT_EQ(ParseCommandLine(2, bad).error, "unknown option: --frobnicate");

    // Every option the parser takes is in the help text.
    for (const char* option : {"--help", "--version"})
        EXPECT_NE(std::strstr(CommandLineHelp(), option), nullptr) << option;
}
