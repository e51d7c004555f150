#pragma once
// Runs pimtool in-process, as its command line would, and captures what it
// prints and its exit code.

#include "tools/pimtool/PimTool.h"

#include <cstdio>
#include <string>
#include <vector>

struct ToolResult
{
    int code;
    std::string out;
    std::string err;
};

inline std::string DrainToolOutput(FILE* f)
{
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        text.append(chunk, n);
    std::fclose(f);
    return text;
}

// `args` without the program's name.
inline ToolResult RunTool(std::vector<std::string> args)
{
    args.insert(args.begin(), "pimtool");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    int code = RunPimTool(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, DrainToolOutput(out), DrainToolOutput(err)};
}
