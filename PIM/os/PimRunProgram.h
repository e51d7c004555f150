#pragma once
// Running another program and reading what it prints. The arguments go to
// the program as they are, one string each: nothing is ever handed to a
// shell, so a file or printer name from outside cannot become a command.

#include <string>
#include <vector>

// The full path of `name` found on $PATH (a name with a "/" is taken as it
// is), when it is there and executable; false otherwise.
bool PimFindProgram(const char* name, std::string& path);

struct ST_PROGRAM_RESULT
{
    bool started = false;  // false: the program could not be run at all
    bool timedOut = false; // it was stopped after the time allowed
    int exitCode = -1;     // its exit status; -1 when it did not exit by itself
    std::string output;    // what it wrote to its standard output (capped)
};

// Runs args[0] (looked up on $PATH) with the rest as its arguments, its
// standard input empty and its errors discarded, and waits at most
// `timeoutMs` for it; a program still running then is killed. At most
// `maxOutput` bytes of its output are kept (the rest is read and dropped,
// so it never blocks on a full pipe).
ST_PROGRAM_RESULT PimRunProgram(const std::vector<std::string>& args, int timeoutMs = 10000,
                                size_t maxOutput = 64 * 1024);
