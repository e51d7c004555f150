#include "PIM/backends/sdl/PimSdlBackend.h"

#include "PIM/backends/sdl/CxSdlAudioDevice.h"
#include "PIM/backends/sdl/CxSdlWindow.h"

#include <new>

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
