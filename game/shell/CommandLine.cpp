#include "game/shell/CommandLine.h"

#include "game/shell/DataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

constexpr long kMaxFrames = 1000000000;
constexpr long kMaxScale = 8;

// A whole number from 1 to `most`, nothing else on the text.
bool PositiveNumber(const std::string& text, long most, long& out)
{
    errno = 0;
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (errno || !end || *end || text.empty() || n < 1 || n > most)
        return false;
    out = n;
    return true;
}

bool EndsWithIgnoringCase(const std::string& text, const char* ending)
{
    const size_t length = std::strlen(ending);
    return text.size() > length && strcasecmp(text.c_str() + text.size() - length, ending) == 0;
}

} // namespace

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
            if (!PositiveNumber(count, kMaxFrames, result.frames))
                return fail("--frames needs a positive number, not " + count);
        } else if (arg == "--screenshot") {
            if (!value(result.screenshot))
                return fail("--screenshot needs a file (.png or .tga)");
            if (!EndsWithIgnoringCase(result.screenshot, ".png") && !EndsWithIgnoringCase(result.screenshot, ".tga"))
                return fail("--screenshot writes .png or .tga files, not " + result.screenshot);
        } else if (arg == "--audio-out") {
            if (!value(result.audioOut))
                return fail("--audio-out needs a file (.wav)");
            if (!EndsWithIgnoringCase(result.audioOut, ".wav"))
                return fail("--audio-out writes .wav files, not " + result.audioOut);
        } else if (arg == "--scale") {
            std::string factor;
            long n = 0;
            if (!value(factor) || !PositiveNumber(factor, kMaxScale, n))
                return fail("--scale needs a whole number from 1 to 8");
            result.scale = static_cast<int>(n);
        } else {
            return fail("unknown option: " + arg);
        }
    }
    // A sound card plays as it likes; only the headless mixer's sound is ours to record.
    if (!result.audioOut.empty() && !result.headless)
        return fail("--audio-out records headless runs: add --headless or --replay");
    return result;
}

std::string CommandLineHelp()
{
    std::string installed = InstalledDataFolder();
    if (installed.empty())
        installed = "(none: this build is not installed)";
    return "Usage: marrowdale [OPTION]...\n"
           "Marrowdale, a children's activity game.\n"
           "\n"
           "  --data DIR|ZIP    the game's data (default: the folder \"data\" beside the\n"
           "                    program, else the installed data,\n"
           "                    " + installed + ")\n"
           "  --cd DIR|ZIP      the disc's data, searched after the game's own\n"
           "  --fullscreen      play full screen\n"
           "  --windowed        play in a window\n"
           "  --headless        run without a window or a sound card (for machines)\n"
           "  --replay FILE     play a replay file headless; exit 1 when an expectation fails\n"
           "  --frames N        stop after N frames\n"
           "  --screenshot FILE write the last frame shown to FILE (.png or .tga) when the run ends\n"
           "  --audio-out FILE  with --headless: write the sound the game mixed to FILE (.wav)\n"
           "  --scale N         make the window N times the game's size (1 to 8)\n"
           "  --help            show this help and exit\n"
           "  --version         print the version banner and exit\n"
           "\n"
           "Exit status: 0 when the game ended well; 1 when a replay's expectation failed\n"
           "or a file asked for could not be written; 2 for a wrong command line or an\n"
           "unreadable replay; " + std::to_string(kExitNoData) + " when no game data was found; " +
           std::to_string(kExitNoDisplay) + " when there is no display\n"
           "(no X11 or Wayland session: use --headless); another number is the error\n"
           "code of the engine's first failure.\n";
}
