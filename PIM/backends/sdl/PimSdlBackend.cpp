#include "PIM/backends/sdl/PimSdlBackend.h"

#include "PIM/backends/sdl/CxSdlAudioDevice.h"
#include "PIM/backends/sdl/CxSdlWindow.h"

#include <SDL.h>
#include <new>
#include <strings.h>

namespace {

CxPlatformWindow* MakeWindow()
{
    return new (std::nothrow) CxSdlWindow();
}

std::unique_ptr<CxAudioDevice> MakeAudioDevice()
{
    return CreateSdlAudioDevice();
}

} // namespace

const ST_PLATFORM_BACKEND& SdlBackend()
{
    static const ST_PLATFORM_BACKEND backend{"sdl", false, &MakeWindow, &MakeAudioDevice};
    return backend;
}

bool IsVisibleVideoDriver(const std::string& driver, const char* asked)
{
    if (driver.empty())
        return false;
    if (strcasecmp(driver.c_str(), "offscreen") != 0 && strcasecmp(driver.c_str(), "dummy") != 0)
        return true;
    // SDL matches driver names without regard to case; so do we.
    const std::string list = asked ? asked : "";
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos)
            comma = list.size();
        const std::string name = list.substr(start, comma - start);
        if (!name.empty() && strcasecmp(name.c_str(), driver.c_str()) == 0)
            return true;
        start = comma + 1;
    }
    return false;
}

bool SdlFindsDisplay(std::string& driver)
{
    driver.clear();
    // A display already open (the game's own window) answers at once.
    const bool wasUp = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    if (!wasUp && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    const char* chosen = SDL_GetCurrentVideoDriver();
    driver = chosen ? chosen : "";
    // The window starts video again with its own hints.
    if (!wasUp)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return IsVisibleVideoDriver(driver, SDL_GetHint(SDL_HINT_VIDEODRIVER));
}
