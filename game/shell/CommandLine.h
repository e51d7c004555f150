#pragma once
// The options a person (or a test script) gives the marrowdale program. The
// engine itself interprets no option: these belong to the Linux front end.

#include <string>

struct ST_COMMAND_LINE
{
    bool help = false;
    bool version = false;
    std::string data;     // --data DIR|ZIP: the install path
    std::string cd;       // --cd DIR|ZIP: the disc path
    int fullScreen = -1;  // --fullscreen 1, --windowed 0, else the configuration decides
    bool headless = false;
    std::string replay;   // --replay FILE (implies --headless)
    long frames = 0;      // --frames N: stop after N frames (0: no limit)
    std::string screenshot; // --screenshot FILE: the last presented frame, written at the end (.png or .tga)
    int scale = 1;        // --scale N: the window is N times the game's size (accelerated screen)
    std::string audioOut; // --audio-out FILE: a headless run's mixed sound, as a .wav
    std::string error;    // empty when the arguments were understood
};

ST_COMMAND_LINE ParseCommandLine(int argc, const char* const* argv);

// Exit statuses of the program beyond 0, 1 (a failed expectation, a file not
// written) and 2 (the command line): the sysexits.h numbers for a missing
// input and an unavailable service, clear of the engine's error codes that
// a failed run returns.
constexpr int kExitNoData = 66;
constexpr int kExitNoDisplay = 69;

// The text --help prints.
std::string CommandLineHelp();
