#pragma once
// pimtool: the data authors' command-line tool. Everything it reads goes
// through the engine's file systems, so it sees data exactly as the game does.

#include <cstdio>

// Runs one command line (argv[0] is the program name). Output goes to `out`,
// messages to `err`. Returns the exit code: 0 on success, 1 when the command
// failed, 2 for a usage mistake.
int RunPimTool(int argc, const char* const* argv, FILE* out, FILE* err);
