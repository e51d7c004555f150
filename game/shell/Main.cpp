// The marrowdale program.
#include "PIM/core/PimBanner.h"
#include "game/shell/CommandLine.h"

#include <cstdio>

namespace {

const char kAppName[] = "Marrowdale";
const char kBuild[] = __DATE__ " " __TIME__;

} // namespace

int main(int argc, char** argv)
{
    ST_COMMAND_LINE options = ParseCommandLine(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "marrowdale: %s\nTry 'marrowdale --help'.\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CommandLineHelp(), stdout);
        return 0;
    }
    PrintBanner(kAppName, MARROWDALE_VERSION_MAJOR, MARROWDALE_VERSION_MINOR, kBuild);
    if (options.version)
        return 0;
    std::puts("The game window is not built yet; only --version and --help work.");
    return 0;
}
