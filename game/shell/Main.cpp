// The marrowdale program: the Linux front end around the game's application.
#include "PIM/app/CxReplayScript.h"
#include "PIM/backends/headless/CxHeadlessRunner.h"
#include "PIM/backends/headless/PimHeadlessBackend.h"
#include "PIM/backends/sdl/PimSdlBackend.h"
#include "PIM/core/CxError.h"
#include "PIM/core/PimBanner.h"
#include "PIM/files/CxBuffer.h"
#include "PIM/files/CxFile.h"
#include "PIM/files/PimMount.h"
#include "PIM/sound/PimSound.h"
#include "game/shell/CMarrowdaleApp.h"
#include "game/shell/CommandLine.h"
#include "game/shell/DataFolder.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kBuild[] = __DATE__ " " __TIME__;

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The configuration file sits in the data folder, or beside a data archive.
std::string ConfigFileFor(const std::string& data)
{
    std::string bare = data;
    while (bare.size() > 1 && bare.back() == '/')
        bare.pop_back();
    if (IsZipArchivePath(bare.c_str()))
        return FolderOf(bare) + "/Marrowdale.ini";
    return bare + "/Marrowdale.ini";
}

bool LoadReplay(const std::string& path, CxReplayScript& replay)
{
    CxBuffer bytes;
    if (LoadFile(("<DEFAULT>" + path).c_str(), bytes) != PIM_OK) {
        std::fprintf(stderr, "marrowdale: cannot read the replay %s\n", path.c_str());
        return false;
    }
    std::string error;
    if (!replay.Parse(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize(), error)) {
        std::fprintf(stderr, "marrowdale: replay %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    ST_COMMAND_LINE options = ParseCommandLine(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "marrowdale: %s\nTry 'marrowdale --help'.\n", options.error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(CommandLineHelp().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        PrintBanner("Marrowdale", MARROWDALE_VERSION_MAJOR, MARROWDALE_VERSION_MINOR, kBuild);
        return 0;
    }

    // A window nobody can see would leave a player waiting at a blank desk
    // and a machine running forever: say so and stop before anything starts.
    if (!options.headless) {
        std::string driver;
        if (!SdlFindsDisplay(driver)) {
            std::fprintf(stderr,
                         "marrowdale: no display found (no X11 or Wayland session%s%s%s); "
                         "to run without a window use --headless\n",
                         driver.empty() ? "" : ", only SDL's \"", driver.c_str(), driver.empty() ? "" : "\" driver");
            return kExitNoDisplay;
        }
    }

    RegisterMarrowdaleRooms();

    // Without --data: the demo data the build put beside the program, or the
    // data installed with it.
    std::string data = options.data;
    if (data.empty()) {
        const std::vector<std::string> candidates = DefaultDataFolderCandidates(argv[0]);
        data = FirstExistingFolder(candidates);
        if (data.empty()) {
            std::fprintf(stderr, "marrowdale: no game data found; looked in:\n");
            for (const std::string& folder : candidates)
                std::fprintf(stderr, "  %s\n", folder.c_str());
            std::fprintf(stderr, "Give the data with --data DIR|ZIP.\n");
            return kExitNoData;
        }
    }
    const std::string configFile = ConfigFileFor(data);

    CMarrowdaleApp app(CMarrowdaleApp::MakeInit(configFile.c_str(), kBuild));
    app.SetInstallPathOverride(data);
    if (!options.cd.empty())
        app.SetDiscPathOverride(options.cd);
    app.SetFullScreenOverride(options.fullScreen);
    app.SetWindowScale(options.scale);
    if (!options.screenshot.empty())
        app.SetExitScreenshot("<DEFAULT>" + options.screenshot);
    if (!options.audioOut.empty())
        SetSoundRecordFile(("<DEFAULT>" + options.audioOut).c_str());

    CxReplayScript replay;
    std::unique_ptr<CxHeadlessRunner> runner;
    // The one place that chooses the platform: the memory window and the
    // clock-paced sound for machines, SDL's window and sound card otherwise.
    app.SetBackend(options.headless ? HeadlessBackend() : SdlBackend());
    if (options.headless) {
        // Machines run side by side; only players need the single instance.
        app.SetSingleInstance(false);
        if (!options.replay.empty() && !LoadReplay(options.replay, replay))
            return 2;
        runner = std::make_unique<CxHeadlessRunner>(app, options.replay.empty() ? nullptr : &replay,
                                                    options.replay, options.frames);
    } else if (options.frames > 0) {
        runner = std::make_unique<CxHeadlessRunner>(app, nullptr, std::string(), options.frames, false);
    }

    int code = app.Main(argc, argv);
    // Machines reading a headless run see that the way out was taken whole.
    if (options.headless)
        std::printf("Stages: %s\n", app.GetStagesRun().c_str());
    if (runner && runner->GetExitCode() != 0) {
        std::fprintf(stderr, "%s\n", runner->GetFailure().c_str());
        return runner->GetExitCode();
    }
    if (!options.audioOut.empty() && GetSoundRecordResult() != PIM_OK) {
        std::fprintf(stderr, "marrowdale: could not write the sound to %s (%s)\n", options.audioOut.c_str(),
                     ErrorText(GetSoundRecordResult()));
        return 1;
    }
    if (!options.screenshot.empty() && app.GetExitScreenshotResult() != PIM_OK) {
        std::fprintf(stderr, "marrowdale: could not save the screenshot %s (%s)\n", options.screenshot.c_str(),
                     ErrorText(app.GetExitScreenshotResult()));
        return 1;
    }
    return code;
}
