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

    const char* shot[] = {"marrowdale", "--screenshot", "out/FRAME.PNG", "--scale", "2", "--frames", "30"};
    ST_COMMAND_LINE s = ParseCommandLine(7, shot);
    EXPECT_TRUE(s.error.empty()) << s.error;
    EXPECT_EQ(s.screenshot, "out/FRAME.PNG");
    EXPECT_EQ(s.scale, 2);
    EXPECT_EQ(s.frames, 30);
    // Values that cannot be right are refused rather than guessed at.
    const char* gif[] = {"marrowdale", "--screenshot", "a.gif"};
    EXPECT_FALSE(ParseCommandLine(3, gif).error.empty());
    for (const char* factor : {"0", "9", "2x", "", "-1"}) {
        const char* scale[] = {"marrowdale", "--scale", factor};
        EXPECT_FALSE(ParseCommandLine(3, scale).error.empty()) << factor;
    }
    const char* noFrames[] = {"marrowdale", "--frames", "0"};
    EXPECT_FALSE(ParseCommandLine(3, noFrames).error.empty());
    // Sound is recorded from headless runs only, and as a wave.
    const char* audio[] = {"marrowdale", "--replay", "r.rpl", "--audio-out", "out/run.WAV"};
    EXPECT_EQ(ParseCommandLine(5, audio).audioOut, "out/run.WAV");
    const char* audioWindowed[] = {"marrowdale", "--audio-out", "run.wav"};
    EXPECT_FALSE(ParseCommandLine(3, audioWindowed).error.empty());
    const char* audioMp3[] = {"marrowdale", "--headless", "--audio-out", "run.mp3"};
    EXPECT_FALSE(ParseCommandLine(4, audioMp3).error.empty());

    // Every option the parser takes is in the help text.
    for (const char* option : {"--help", "--version", "--data", "--cd", "--fullscreen", "--windowed", "--headless",
                               "--replay", "--frames", "--screenshot", "--scale", "--audio-out"})
        EXPECT_NE(std::strstr(CommandLineHelp().c_str(), option), nullptr) << option;
}
