#include "game/shell/CommandLine.h"

#include <cstring>

ST_COMMAND_LINE ParseCommandLine(int argc, const char* const* argv)
{
    ST_COMMAND_LINE result;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i] ? argv[i] : "";
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            result.help = true;
        } else if (!std::strcmp(arg, "--version")) {
            result.version = true;
        } else {
            result.error = std::string("unknown option: ") + arg;
            return result;
        }
    }
    return result;
}

const char* CommandLineHelp()
{
    return "Usage: marrowdale [OPTION]...\n"
           "Marrowdale, a children's activity game.\n"
           "\n"
           "  --help       show this help and exit\n"
           "  --version    print the version banner and exit\n";
}
