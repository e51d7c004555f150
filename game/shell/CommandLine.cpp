#include "game/shell/CommandLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

ST_COMMAND_LINE ParseCommandLine(int argc, const char* const* argv)
{
    ST_COMMAND_LINE result;
    auto fail = [&result](const std::string& message) {
        result.error = message;
        return result;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        // Options with a value take it from the next argument.
        auto value = [&](std::string& out) {
            if (i + 1 >= argc || !argv[i + 1] || !*argv[i + 1])
                return false;
            out = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            result.help = true;
        } else if (arg == "--version") {
            result.version = true;
        } else if (arg == "--data") {
            if (!value(result.data))
                return fail("--data needs a folder or a .zip archive");
        } else if (arg == "--cd") {
            if (!value(result.cd))
                return fail("--cd needs a folder or a .zip archive");
        } else if (arg == "--fullscreen") {
            result.fullScreen = 1;
        } else if (arg == "--windowed") {
            result.fullScreen = 0;
        } else if (arg == "--headless") {
            result.headless = true;
        } else if (arg == "--replay") {
            if (!value(result.replay))
                return fail("--replay needs a file");
            result.headless = true;
        } else if (arg == "--frames") {
            std::string count;
            if (!value(count))
                return fail("--frames needs a number");
            errno = 0;
            char* end = nullptr;
            long n = std::strtol(count.c_str(), &end, 10);
            if (errno || !end || *end || n < 1)
                return fail("--frames needs a positive number, not " + count);
            result.frames = n;
        } else {
            return fail("unknown option: " + arg);
        }
    }
    return result;
}

const char* CommandLineHelp()
{
    return "Usage: marrowdale [OPTION]...\n"
           "Marrowdale, a children's activity game.\n"
           "\n"
           "  --data DIR|ZIP    the game's data (default: the demo data beside the program)\n"
           "  --cd DIR|ZIP      the disc's data, searched after the game's own\n"
           "  --fullscreen      play full screen\n"
           "  --windowed        play in a window\n"
           "  --headless        run without a window or sound (for machines)\n"
           "  --replay FILE     play a replay file headless; exit 1 when an expectation fails\n"
           "  --frames N        stop after N frames\n"
           "  --help            show this help and exit\n"
           "  --version         print the version banner and exit\n";
}
