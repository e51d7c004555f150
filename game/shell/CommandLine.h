#pragma once
// The options a person (or a test script) gives the marrowdale program.

#include <string>

struct ST_COMMAND_LINE
{
    bool help = false;
    bool version = false;
    std::string error; // empty when the arguments were understood
};

ST_COMMAND_LINE ParseCommandLine(int argc, const char* const* argv);

// The text --help prints.
const char* CommandLineHelp();
